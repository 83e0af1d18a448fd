#include "PagesHost.h"

#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/WinText.h"
#include "ui/DialogWindow.h"

namespace vek {

namespace {

constexpr wchar_t kClassName[] = L"VekPagesHost";
constexpr int kClientWidth = 600;  // at 96 DPI
constexpr int kClientHeight = 440;

// The monitor's DPI of a window on systems that tell it per window, else the system's.
UINT WindowDpi(HWND aWindow) {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<TGetDpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi != nullptr) {
    const UINT dpi = getDpi(aWindow);
    if (dpi != 0) return dpi;
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

TPagesHost::TPagesHost(TSetupEngine& aSetup) : fSetup(aSetup), fOptions(aSetup), fConfirm(aSetup) {}

TPagesHost::~TPagesHost() {
  if (fWindow != nullptr) {
    SetWindowLongPtrW(fWindow, GWLP_USERDATA, 0);
    DestroyWindow(fWindow);
  }
  if (fFont != nullptr) DeleteObject(fFont);
  if (fBoldFont != nullptr) DeleteObject(fBoldFont);
}

bool TPagesHost::Create(const std::string& aTitle) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
  fWindow = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, Wide(aTitle).c_str(),
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 40, 40,
                            kClientWidth, kClientHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (fWindow == nullptr) return false;
  fScale.dpi = WindowDpi(fWindow);
  RECT frame{0, 0, fScale.Px(kClientWidth), fScale.Px(kClientHeight)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(fWindow, GWL_STYLE)), FALSE, WS_EX_CONTROLPARENT);
  SetWindowPos(fWindow, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
  CreateControl(fWindow, L"BUTTON", "< &Back", WS_TABSTOP | BS_PUSHBUTTON, idHostBackBtn);
  CreateControl(fWindow, L"BUTTON", "&Next >", WS_TABSTOP | BS_DEFPUSHBUTTON, idHostNextBtn);
  TWizardHost host;
  host.wizard = fWindow;
  host.enableNext = [this](bool aEnabled) { EnableWindow(NextButton(), aEnabled ? TRUE : FALSE); };
  fOptions.Create(fWindow, host);
  fConfirm.Create(fWindow, host);
  MakeFonts();
  LayoutAll();
  return fOptions.Handle() != nullptr && fConfirm.Handle() != nullptr;
}

void TPagesHost::MakeFonts() {
  if (fFont != nullptr) DeleteObject(fFont);
  if (fBoldFont != nullptr) DeleteObject(fBoldFont);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  font.lfHeight = -MulDiv(9, static_cast<int>(fScale.dpi), 72);
  fFont = CreateFontIndirectW(&font);
  font.lfWeight = FW_BOLD;
  fBoldFont = CreateFontIndirectW(&font);
}

void TPagesHost::LayoutAll() {
  RECT client{};
  GetClientRect(fWindow, &client);
  const int margin = fScale.Px(12);
  const int buttonWidth = fScale.Px(90);
  const int buttonHeight = fScale.Px(26);
  const RECT pageArea{margin, margin, client.right - margin, client.bottom - 2 * margin - buttonHeight};
  fOptions.Layout(pageArea, fScale, fFont, fBoldFont);
  fConfirm.Layout(pageArea, fScale, fFont, fBoldFont);
  const int buttonsTop = client.bottom - margin - buttonHeight;
  PlaceControl(GetDlgItem(fWindow, idHostBackBtn), client.right - margin - 2 * buttonWidth - fScale.Px(6), buttonsTop,
               buttonWidth, buttonHeight);
  PlaceControl(NextButton(), client.right - margin - buttonWidth, buttonsTop, buttonWidth, buttonHeight);
  SendMessageW(GetDlgItem(fWindow, idHostBackBtn), WM_SETFONT, reinterpret_cast<WPARAM>(fFont), TRUE);
  SendMessageW(NextButton(), WM_SETFONT, reinterpret_cast<WPARAM>(fFont), TRUE);
}

void TPagesHost::ShowOptions() {
  fInstallToCaption = fOptions.Prepare();
  ShowWindow(fConfirm.Handle(), SW_HIDE);
  ShowWindow(fOptions.Handle(), SW_SHOW);
  EnableWindow(GetDlgItem(fWindow, idHostBackBtn), FALSE);
}

void TPagesHost::ShowConfirm() {
  fConfirm.Prepare(LanguageText(txt::Iconfirm_0));
  ShowWindow(fOptions.Handle(), SW_HIDE);
  ShowWindow(fConfirm.Handle(), SW_SHOW);
  EnableWindow(GetDlgItem(fWindow, idHostBackBtn), TRUE);
  EnableWindow(NextButton(), FALSE);
}

int TPagesHost::Run() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(fWindow, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK TPagesHost::WindowProc(HWND aWindow, UINT aMsg, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    if (aMsg == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(aWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TPagesHost*>(GetWindowLongPtrW(aWindow, GWLP_USERDATA));
    if (self != nullptr && self->fWindow == aWindow) return self->HandleMessage(aMsg, wParam, lParam);
  } catch (...) {
    // The host shows what it can; a failed message leaves the window as it was.
  }
  return DefWindowProcW(aWindow, aMsg, wParam, lParam);
}

LRESULT TPagesHost::HandleMessage(UINT aMsg, WPARAM wParam, LPARAM lParam) {
  switch (aMsg) {
    case WM_COMMAND:
      if (LOWORD(wParam) == idHostNextBtn) ShowConfirm();
      if (LOWORD(wParam) == idHostBackBtn) ShowOptions();
      return 0;
    case WM_DPICHANGED: {
      fScale.dpi = HIWORD(wParam);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(fWindow, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      MakeFonts();
      LayoutAll();
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(fWindow);
      return 0;
    case WM_DESTROY:
      fWindow = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(fWindow, aMsg, wParam, lParam);
  }
}

}  // namespace vek
