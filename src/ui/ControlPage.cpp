#include "ui/ControlPage.h"

#include <commctrl.h>


namespace vek {
TControlPage::TControlPage(std::span<const TControlSpec> aControls, TPageCommand aOnCommand)
    : fControls(aControls), fOnCommand(std::move(aOnCommand)) {}

void TControlPage::Create(HWND aParent, const TWizardHost&) {
  fDialog.Create(aParent);
  fHandle = fDialog.Window();
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

INT_PTR TControlPage::HandleMessage(UINT aMessage, WPARAM aWParam, LPARAM aLParam) {
  if (aMessage == WM_COMMAND && fOnCommand && aLParam != 0) {
    fOnCommand(LOWORD(aWParam), HIWORD(aWParam), reinterpret_cast<HWND>(aLParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace vek
