#include "system/SysInfo.h"

#include <windows.h>

#include "system/UniqueResource.h"

namespace vek {
namespace {

constexpr int kSmallFontsDpi = 96;

void ReleaseScreenDc(HDC aDc) noexcept { ::ReleaseDC(nullptr, aDc); }
using UniqueScreenDc = UniqueResource<HDC, ReleaseScreenDc>;

}  // namespace

WinVersion GetWinVersion() {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return {};
  return {info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId == VER_PLATFORM_WIN32_NT,
          info.wSuiteMask};
}

bool IsTerminalServer() { return GetWinVersion().IsTerminalServer(); }

bool IsSmallFonts() {
  const UniqueScreenDc screen(::GetDC(nullptr));
  return screen && ::GetDeviceCaps(screen.get(), LOGPIXELSX) == kSmallFontsDpi;
}

unsigned GetThreadLocaleId() {
  const LCID locale = ::GetThreadLocale();
  return locale ? static_cast<unsigned>(locale) : 1033u;
}

}  // namespace vek
