#include "ui/DialogWindow.h"

#include <cstring>
#include <vector>

#include "system/WinText.h"

namespace vek {

namespace {

// DLGTEMPLATE followed by three empty arrays (menu, class, title) or the title, all WORD-aligned.
std::vector<WORD> DialogTemplate(DWORD aStyle, DWORD aExStyle, const std::wstring& aTitle) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE header{};
  header.style = aStyle;
  header.dwExtendedStyle = aExStyle;
  std::memcpy(words.data(), &header, sizeof(header));
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  for (const wchar_t c : aTitle) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  return words;
}

}  // namespace

TDialogWindow::~TDialogWindow() {
  if (fWindow != nullptr && fOwnsWindow) {
    SetWindowLongPtrW(fWindow, GWLP_USERDATA, 0);
    DestroyWindow(fWindow);
  }
}

void TDialogWindow::CreateChildDialog(HWND aParent) {
  const std::vector<WORD> tmpl = DialogTemplate(WS_CHILD | DS_CONTROL, WS_EX_CONTROLPARENT, L"");
  fOwnsWindow = true;
  CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(tmpl.data()), aParent,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR TDialogWindow::RunModal(HWND aOwner, const std::string& aTitle) {
  const std::vector<WORD> tmpl =
      DialogTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME, Wide(aTitle));
  fOwnsWindow = false;  // EndDialog destroys it
  const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                                 reinterpret_cast<const DLGTEMPLATE*>(tmpl.data()), aOwner, DialogProc,
                                                 reinterpret_cast<LPARAM>(this));
  fWindow = nullptr;
  return result;
}

INT_PTR CALLBACK TDialogWindow::DialogProc(HWND aWindow, UINT aMsg, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    if (aMsg == WM_INITDIALOG) {
      auto* self = reinterpret_cast<TDialogWindow*>(lParam);
      SetWindowLongPtrW(aWindow, GWLP_USERDATA, lParam);
      self->fWindow = aWindow;
      return self->HandleMessage(aMsg, wParam, lParam);
    }
    auto* self = reinterpret_cast<TDialogWindow*>(GetWindowLongPtrW(aWindow, GWLP_USERDATA));
    if (self == nullptr) return FALSE;
    if (aMsg == WM_NCDESTROY) {
      SetWindowLongPtrW(aWindow, GWLP_USERDATA, 0);
      self->fWindow = nullptr;
      return FALSE;
    }
    return self->HandleMessage(aMsg, wParam, lParam);
  } catch (...) {
    // A failure inside one message must not unwind through the system's code; the dialog
    // stays as it was and the message counts as not handled.
    return FALSE;
  }
}

HWND CreateControl(HWND aParent, const wchar_t* aClass, const std::string& aText, DWORD aStyle, int aId,
                   DWORD aExStyle) {
  return CreateWindowExW(aExStyle, aClass, Wide(aText).c_str(), WS_CHILD | WS_VISIBLE | aStyle, 0, 0, 10, 10, aParent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(aId)), GetModuleHandleW(nullptr), nullptr);
}

void SetText(HWND aWindow, const std::string& aText) {
  const std::wstring text = Wide(aText);
  // Setting an equal text would only repaint the control and flicker.
  const int length = GetWindowTextLengthW(aWindow);
  if (length == static_cast<int>(text.size())) {
    std::wstring current(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(aWindow, current.data(), length + 1);
    current.resize(static_cast<std::size_t>(length));
    if (current == text) return;
  }
  SetWindowTextW(aWindow, text.c_str());
}

std::string GetText(HWND aWindow) {
  const int length = GetWindowTextLengthW(aWindow);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(aWindow, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return Narrow(text);
}

void PlaceControl(HWND aWindow, int aLeft, int aTop, int aWidth, int aHeight) {
  SetWindowPos(aWindow, nullptr, aLeft, aTop, aWidth < 0 ? 0 : aWidth, aHeight < 0 ? 0 : aHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetChildFonts(HWND aParent, HFONT aFont) {
  EnumChildWindows(
      aParent,
      [](HWND aChild, LPARAM aFontParam) -> BOOL {
        SendMessageW(aChild, WM_SETFONT, static_cast<WPARAM>(aFontParam), TRUE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(aFont));
}

int ButtonWidth(HWND aButton, HFONT aFont, int aMinimum, int aPadding) {
  std::wstring caption = Wide(GetText(aButton));
  std::erase(caption, L'&');
  SIZE extent{};
  if (HDC dc = GetDC(aButton)) {
    const HGDIOBJ old = SelectObject(dc, aFont);
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(aButton, dc);
  }
  const int needed = static_cast<int>(extent.cx) + aPadding;
  return needed > aMinimum ? needed : aMinimum;
}

int FontHeight(HWND aWindow, HFONT aFont) {
  TEXTMETRICW metrics{};
  if (HDC dc = GetDC(aWindow)) {
    const HGDIOBJ old = SelectObject(dc, aFont);
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(aWindow, dc);
  }
  return static_cast<int>(metrics.tmHeight);
}

}  // namespace vek
