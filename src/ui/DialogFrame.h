#pragma once
// What the installer's own dialogs share: who owns them, running one modally, the DPI of a
// window, the system's message font at that DPI, and the monitor's work area.
//
// A dialog is a top-level window owned by the wizard (registered with SetDialogOwner) or, when
// another dialog is open, by that one; the owner is disabled while the dialog runs. Without a
// registered owner (before the wizard exists, in tests) a dialog has none.
#include <windows.h>

#include <string>

#include "system/UniqueResource.h"

namespace vek {

namespace detail {
inline void DeleteFontNoResult(HFONT aFont) noexcept { ::DeleteObject(aFont); }
inline void DestroyIconNoResult(HICON aIcon) noexcept { ::DestroyIcon(aIcon); }
}  // namespace detail
using UniqueFont = UniqueResource<HFONT, detail::DeleteFontNoResult>;
using UniqueIcon = UniqueResource<HICON, detail::DestroyIconNoResult>;

// The window that owns the dialogs from now on (the wizard); nullptr for none.
void SetDialogOwner(HWND aOwner);
// The owner of a dialog opened now: the innermost dialog still open, else the registered owner.
HWND CurrentDialogOwner();

// The dialog procedure of a dialog object of type T: WM_INITDIALOG's parameter is the object,
// whose Handle(dialog, message, wParam, lParam) answers every message from then on. No
// exception leaves the procedure: a dialog that fails ends with 0, as if nothing was chosen.
template <typename T>
INT_PTR CALLBACK DialogProcOf(HWND aDialog, UINT aMessage, WPARAM aW, LPARAM aL) noexcept {
  try {
    if (aMessage == WM_INITDIALOG) ::SetWindowLongPtrW(aDialog, GWLP_USERDATA, aL);
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(aDialog, GWLP_USERDATA));
    return self ? self->Handle(aDialog, aMessage, aW, aL) : FALSE;
  } catch (...) {
    ::EndDialog(aDialog, 0);
    return TRUE;
  }
}

// Runs a dialog modally with an empty template of aStyle: aProc creates and places its controls
// on WM_INITDIALOG (lParam: aParam). Returns what the dialog ended with (EndDialog), -1 when it
// could not be created.
INT_PTR RunModalDialog(DWORD aStyle, DLGPROC aProc, LPARAM aParam);

// The dialog's DPI: its monitor's for a DPI-aware program, 96 otherwise.
UINT WindowDpi(HWND aWindow);
int SystemMetric(int aIndex, UINT aDpi);
// The system's message font at aDpi; the caption font when aCaption.
UniqueFont SystemFont(UINT aDpi, bool aCaption = false);
RECT WorkArea(HWND aWindow);
// Places the window over the centre of its owner (or of the work area), inside the work area.
void CenterInWorkArea(HWND aWindow, HWND aOwner);

// Text measured with aFont: width and height of one line, "&" not taken as an accelerator
// unless aPrefix.
SIZE TextSize(HDC aDc, const std::wstring& aText, bool aPrefix = false);

}  // namespace vek
