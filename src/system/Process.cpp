#include "system/Process.h"

#include <windows.h>

#include <vector>

#include "system/MessagePump.h"
#include "system/UniqueResource.h"
#include "system/WinText.h"

namespace vek {

std::string GetProcessCommandLine() { return Narrow(::GetCommandLineW()); }

namespace {

SysResult CreateProcessFor(const std::string& aCommandLine, UniqueHandle& aProcess) {
  std::wstring command = Wide(aCommandLine);
  std::vector<wchar_t> writable(command.begin(), command.end());  // CreateProcessW edits it
  writable.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
    return SysResult{static_cast<std::uint32_t>(::GetLastError())};
  }
  aProcess.reset(info.hProcess);
  UniqueHandle thread(info.hThread);
  return SysResult::Ok();
}

}  // namespace

SysResult StartProcess(const std::string& aCommandLine) {
  UniqueHandle process;
  return CreateProcessFor(aCommandLine, process);
}

SysResult RunProcessAndWait(const std::string& aCommandLine, std::uint32_t& aExitCode) {
  UniqueHandle process;
  if (const SysResult started = CreateProcessFor(aCommandLine, process); !started) return started;
  HANDLE handle = process.get();
  // The window of the run stays responsive while the program runs.
  while (::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    ProcessPendingMessages();
  }
  DWORD code = 0;
  ::GetExitCodeProcess(handle, &code);
  aExitCode = code;
  return SysResult::Ok();
}

}  // namespace vek
