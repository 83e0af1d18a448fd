#include "ui/ControlPage.h"

#include <commctrl.h>

#include <array>
#include <cstdint>

namespace vek {
namespace {

// The smallest dialog template: no controls, no menu, the standard dialog class, no title.
struct TEmptyDialogTemplate {
  DLGTEMPLATE header;
  std::array<WORD, 3> menuClassTitle;  // 0: no menu, 0: standard class, 0: empty title
};

}  // namespace

HWND CreatePageDialog(HWND aParent, DLGPROC aProc, LPARAM aParam) {
  TEmptyDialogTemplate dialog{};
  // DS_CONTROL: the page takes part in its parent's Tab order and accelerators.
  dialog.header.style = WS_CHILD | DS_CONTROL | WS_CLIPSIBLINGS;
  dialog.header.dwExtendedStyle = WS_EX_CONTROLPARENT;
  return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &dialog.header, aParent, aProc, aParam);
}

TControlPage::TControlPage(std::span<const TControlSpec> aControls, TPageCommand aOnCommand)
    : fControls(aControls), fOnCommand(std::move(aOnCommand)) {}

void TControlPage::Create(HWND aParent, const TWizardHost&) {
  fHandle = CreatePageDialog(aParent, &TControlPage::DialogProc, reinterpret_cast<LPARAM>(this));
  for (const TControlSpec& spec : fControls) {
    ::CreateWindowExW(0, spec.className, L"", WS_CHILD | WS_VISIBLE | spec.style, 0, 0, 0, 0, fHandle,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), ::GetModuleHandleW(nullptr), nullptr);
  }
}

void TControlPage::Layout(const RECT& aRect, const TUiScale& aScale, HFONT aFont, HFONT aBoldFont) {
  ::MoveWindow(fHandle, aRect.left, aRect.top, aRect.right - aRect.left, aRect.bottom - aRect.top, FALSE);
  for (const TControlSpec& spec : fControls) {
    const HWND control = Item(spec.id);
    if (!control) continue;
    const RECT& r = spec.at96;
    // A combo box's height is that of its drop-down list.
    ::MoveWindow(control, aScale.Px(r.left), aScale.Px(r.top), aScale.Px(r.right), aScale.Px(r.bottom), FALSE);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(spec.bold ? aBoldFont : aFont), FALSE);
  }
  ::InvalidateRect(fHandle, nullptr, TRUE);
}

void TControlPage::ShowGroup(int aGroupId, bool aShow) const {
  for (const TControlSpec& spec : fControls) {
    if (spec.id == aGroupId || spec.group == aGroupId) ::ShowWindow(Item(spec.id), aShow ? SW_SHOW : SW_HIDE);
  }
}

INT_PTR CALLBACK TControlPage::DialogProc(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam) noexcept {
  try {
    if (aMessage == WM_INITDIALOG) {
      ::SetWindowLongPtrW(aWindow, DWLP_USER, aLParam);
      return FALSE;
    }
    auto* page = reinterpret_cast<TControlPage*>(::GetWindowLongPtrW(aWindow, DWLP_USER));
    if (aMessage == WM_COMMAND && page && page->fOnCommand && aLParam != 0) {
      page->fOnCommand(LOWORD(aWParam), HIWORD(aWParam), reinterpret_cast<HWND>(aLParam));
      return TRUE;
    }
  } catch (...) {
    // A failure in a handler must not cross the window system's frame.
  }
  return FALSE;
}

}  // namespace vek
