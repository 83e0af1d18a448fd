#include "ui/ControlPage.h"

#include <commctrl.h>


namespace vek {
TControlPage::TControlPage(std::span<const TControlDef> aControls, TPageCommand aOnCommand)
    : fControls(aControls), fOnCommand(std::move(aOnCommand)) {}

void TControlPage::Create(HWND aParent, const TWizardHost&) {
  fDialog.Create(aParent);
  fHandle = fDialog.Window();
  for (const TControlDef& def : fControls) {
    ::CreateWindowExW(0, def.className, L"", WS_CHILD | WS_VISIBLE | def.style, 0, 0, 0, 0, fHandle,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)), ::GetModuleHandleW(nullptr), nullptr);
  }
}

void TControlPage::Layout(const RECT& aRect, const TUiScale& aScale, HFONT aFont, HFONT aBoldFont) {
  ::MoveWindow(fHandle, aRect.left, aRect.top, aRect.right - aRect.left, aRect.bottom - aRect.top, FALSE);
  for (const TControlDef& def : fControls) {
    const HWND control = Item(def.id);
    if (!control) continue;
    const RECT& r = def.at96;
    // A combo box's height is that of its drop-down list.
    ::MoveWindow(control, aScale.Px(r.left), aScale.Px(r.top), aScale.Px(r.right), aScale.Px(r.bottom), FALSE);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(def.bold ? aBoldFont : aFont), FALSE);
  }
  ::InvalidateRect(fHandle, nullptr, TRUE);
}

void TControlPage::ShowGroup(int aGroupId, bool aShow) const {
  for (const TControlDef& def : fControls) {
    if (def.id == aGroupId || def.group == aGroupId) ::ShowWindow(Item(def.id), aShow ? SW_SHOW : SW_HIDE);
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
