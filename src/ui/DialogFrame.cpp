#include "ui/DialogFrame.h"

#include <algorithm>
#include <vector>

namespace vek {
namespace {

HWND gRegisteredOwner = nullptr;
std::vector<HWND> gOpenDialogs;  // innermost last

// The per-monitor DPI functions exist from Windows 10 on; older systems get the system's DPI.
template <typename F>
F UserFunction(const char* aName) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), aName)));
}

// The dialog known to the stack from WM_INITDIALOG until it ends.
struct TOpenDialog {
  DLGPROC proc;
  LPARAM param;
};

INT_PTR CALLBACK TrackingProc(HWND aDialog, UINT aMessage, WPARAM aW, LPARAM aL) noexcept {
  if (aMessage == WM_INITDIALOG) {
    const auto* open = reinterpret_cast<const TOpenDialog*>(aL);
    gOpenDialogs.push_back(aDialog);
    ::SetWindowLongPtrW(aDialog, DWLP_USER, reinterpret_cast<LONG_PTR>(open->proc));
    return open->proc(aDialog, aMessage, aW, open->param);
  }
  const auto proc = reinterpret_cast<DLGPROC>(::GetWindowLongPtrW(aDialog, DWLP_USER));
  if (aMessage == WM_DESTROY) std::erase(gOpenDialogs, aDialog);
  return proc ? proc(aDialog, aMessage, aW, aL) : FALSE;
}

}  // namespace

void SetDialogOwner(HWND aOwner) { gRegisteredOwner = aOwner; }

HWND CurrentDialogOwner() {
  for (auto it = gOpenDialogs.rbegin(); it != gOpenDialogs.rend(); ++it) {
    if (::IsWindow(*it)) return *it;
  }
  return gRegisteredOwner && ::IsWindow(gRegisteredOwner) ? gRegisteredOwner : nullptr;
}

INT_PTR RunModalDialog(DWORD aStyle, DLGPROC aProc, LPARAM aParam) {
  // DLGTEMPLATE, then empty menu, class and title arrays; DWORD-aligned as the system wants.
  struct alignas(4) {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
  } dialogTemplate{};
  dialogTemplate.header.style = aStyle;
  TOpenDialog open{aProc, aParam};
  return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), &dialogTemplate.header, CurrentDialogOwner(),
                                   TrackingProc, reinterpret_cast<LPARAM>(&open));
}

UINT WindowDpi(HWND aWindow) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpi) {
    if (const UINT dpi = getDpi(aWindow)) return dpi;
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

int SystemMetric(int aIndex, UINT aDpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi = UserFunction<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  return forDpi ? forDpi(aIndex, aDpi) : ::GetSystemMetrics(aIndex);
}

UniqueFont SystemFont(UINT aDpi, bool aCaption) {
  using ParametersForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto forDpi = UserFunction<ParametersForDpiFn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!forDpi || !forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, aDpi)) {
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const UINT system = WindowDpi(nullptr);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(aDpi), static_cast<int>(system));
    metrics.lfCaptionFont.lfHeight = MulDiv(metrics.lfCaptionFont.lfHeight, static_cast<int>(aDpi), static_cast<int>(system));
  }
  return UniqueFont(::CreateFontIndirectW(aCaption ? &metrics.lfCaptionFont : &metrics.lfMessageFont));
}

RECT WorkArea(HWND aWindow) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(::MonitorFromWindow(aWindow, MONITOR_DEFAULTTOPRIMARY), &info);
  return info.rcWork;
}

void CenterInWorkArea(HWND aWindow, HWND aOwner) {
  const RECT work = WorkArea(aOwner ? aOwner : aWindow);
  RECT around = work;
  if (aOwner && ::IsWindowVisible(aOwner) && !::IsIconic(aOwner)) ::GetWindowRect(aOwner, &around);
  RECT rect{};
  ::GetWindowRect(aWindow, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  LONG left = (around.left + around.right - width) / 2;
  LONG top = (around.top + around.bottom - height) / 2;
  left = std::max(work.left, std::min(left, work.right - width));
  top = std::max(work.top, std::min(top, work.bottom - height));
  ::SetWindowPos(aWindow, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TextSize(HDC aDc, const std::wstring& aText, bool aPrefix) {
  RECT rect{0, 0, 0, 0};
  if (aText.empty()) {
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(aDc, &metrics);
    return {0, metrics.tmHeight};
  }
  ::DrawTextW(aDc, aText.c_str(), static_cast<int>(aText.size()), &rect,
              DT_CALCRECT | DT_SINGLELINE | (aPrefix ? 0 : DT_NOPREFIX));
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace vek
