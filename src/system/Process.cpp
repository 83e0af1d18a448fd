#include "system/Process.h"

#include <windows.h>

#include <vector>

#include "system/UniqueResource.h"
#include "system/WinText.h"

namespace vek {

std::string GetProcessCommandLine() { return Narrow(::GetCommandLineW()); }

SysResult StartProcess(const std::string& aCommandLine) {
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
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  return SysResult::Ok();
}

}  // namespace vek
