#include "system/SysInfo.h"

#include <windows.h>

namespace vek {
namespace {

bool QueryVersion(OSVERSIONINFOEXW& aInfo) {
  aInfo = {};
  aInfo.dwOSVersionInfoSize = sizeof aInfo;
  return ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&aInfo)) != FALSE;
}

}  // namespace

WinVersion GetWinVersion() {
  OSVERSIONINFOEXW info;
  if (!QueryVersion(info)) return {};
  return {info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId == VER_PLATFORM_WIN32_NT};
}

bool IsTerminalServer() {
  OSVERSIONINFOEXW info;
  if (!QueryVersion(info)) return false;
  constexpr WORD kTerminal = 0x0010;      // VER_SUITE_TERMINAL
  constexpr WORD kSingleUserTs = 0x0100;  // VER_SUITE_SINGLEUSERTS
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion > 4 &&
         (info.wSuiteMask & kTerminal) && !(info.wSuiteMask & kSingleUserTs);
}

}  // namespace vek
