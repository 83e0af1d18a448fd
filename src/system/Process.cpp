#include "system/Process.h"

#include <windows.h>

#include <vector>

#include "system/MessagePump.h"
#include "system/UniqueResource.h"
#include "system/WinText.h"

namespace vek {

std::string GetProcessCommandLine() { return Narrow(::GetCommandLineW()); }

TProcess::~TProcess() {
  if (fProcess) ::CloseHandle(static_cast<HANDLE>(fProcess));
}

SysResult TProcess::Start(const TProgramCommand& aCommand) {
  const std::string commandLine = ProgramCommandLine(aCommand);
  if (!IsFullProgramPath(aCommand.program))
    return SysResult::Failure(ERROR_FILE_NOT_FOUND, "Start", commandLine);
  const std::wstring program = Wide(aCommand.program);
  std::wstring command = Wide(commandLine);
  std::vector<wchar_t> writable(command.begin(), command.end());  // CreateProcessW edits it
  writable.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return SysResult::Failure(static_cast<std::uint32_t>(::GetLastError()), "Start", commandLine);
  }
  const UniqueHandle thread(info.hThread);
  if (fProcess) ::CloseHandle(static_cast<HANDLE>(fProcess));  // an earlier start's handle
  fProcess = info.hProcess;
  return SysResult::Ok();
}

SysResult TProcess::Wait(std::uint32_t& aExitCode) {
  HANDLE handle = static_cast<HANDLE>(fProcess);
  if (!handle) return SysResult(ERROR_INVALID_HANDLE);
  // The window of the run stays responsive while the program runs.
  while (::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    ProcessPendingMessages();
  }
  DWORD code = 0;
  ::GetExitCodeProcess(handle, &code);
  aExitCode = code;
  return SysResult::Ok();
}

SysResult StartProcess(const TProgramCommand& aCommand) { return TProcess().Start(aCommand); }

SysResult RunProcessAndWait(const TProgramCommand& aCommand, std::uint32_t& aExitCode) {
  TProcess process;
  if (const SysResult started = process.Start(aCommand); !started) return started;
  return process.Wait(aExitCode);
}

}  // namespace vek
