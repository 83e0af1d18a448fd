#pragma once
// A dialog of the standard dialog class built from an in-memory template without controls:
// the owner adds its controls itself when the dialog starts, so positions follow the monitor's
// DPI instead of dialog units. The dialog manager still gives Tab, accelerators, Enter and Esc.
// Messages reach the virtual HandleMessage; no exception leaves the dialog procedure.
#include <windows.h>

#include <string>

namespace vek {

class TDialogWindow {
 public:
  TDialogWindow() = default;
  TDialogWindow(const TDialogWindow&) = delete;
  TDialogWindow& operator=(const TDialogWindow&) = delete;
  virtual ~TDialogWindow();

  HWND Window() const { return fWindow; }

 protected:
  // A borderless child of aParent, created hidden, that takes part in its parent's Tab order.
  void CreateChildDialog(HWND aParent);
  // A modal dialog owned by aOwner; returns the code given to EndDialog, or -1 when it could
  // not be created.
  INT_PTR RunModal(HWND aOwner, const std::string& aTitle);

  // Called for every message after WM_INITDIALOG has attached the window; the result is that
  // of a dialog procedure (TRUE: handled, with SetWindowLongPtr(DWLP_MSGRESULT) for a value).
  virtual INT_PTR HandleMessage(UINT aMsg, WPARAM wParam, LPARAM lParam) = 0;

 private:
  static INT_PTR CALLBACK DialogProc(HWND aWindow, UINT aMsg, WPARAM wParam, LPARAM lParam) noexcept;

  HWND fWindow = nullptr;
  bool fOwnsWindow = false;
};

// A child dialog whose messages go to aOwner.HandleMessage: the pages keep their window in one.
template <typename TOwner>
class TChildDialog : public TDialogWindow {
 public:
  explicit TChildDialog(TOwner& aOwner) : fOwner(aOwner) {}
  void Create(HWND aParent) { CreateChildDialog(aParent); }

 protected:
  INT_PTR HandleMessage(UINT aMsg, WPARAM wParam, LPARAM lParam) override {
    return fOwner.HandleMessage(aMsg, wParam, lParam);
  }

 private:
  TOwner& fOwner;
};

// A control of a standard class, a child of aParent with id aId; visible and tab stop unless
// aStyle says otherwise.
HWND CreateControl(HWND aParent, const wchar_t* aClass, const std::string& aText, DWORD aStyle, int aId,
                   DWORD aExStyle = 0);
void SetText(HWND aWindow, const std::string& aText);
std::string GetText(HWND aWindow);
void PlaceControl(HWND aWindow, int aLeft, int aTop, int aWidth, int aHeight);
// Gives every child of aParent the font aFont.
void SetChildFonts(HWND aParent, HFONT aFont);
// The height of a line of aFont on aWindow's screen.
int FontHeight(HWND aWindow, HFONT aFont);
// The width a push button needs for its own caption (without the "&" marks) in aFont: at
// least aMinimum, so that buttons of one row keep one size where their captions allow.
int ButtonWidth(HWND aButton, HFONT aFont, int aMinimum, int aPadding);

}  // namespace vek
