#pragma once
// One page of the wizard: a borderless child dialog of the standard dialog class that holds the
// page's controls. Tab, accelerators and notifications work as in any dialog, screen readers and
// automation tools find standard controls, and a page's own window procedure handles its own
// controls. The wizard creates every page once, shows one at a time and hides the others.
#include <windows.h>

#include <functional>

namespace vek {

class TSetupEngine;

// The scale of a window: layout figures are written for 96 DPI and scaled to the monitor's.
struct TUiScale {
  UINT dpi = USER_DEFAULT_SCREEN_DPI;
  int Px(int aAt96) const { return MulDiv(aAt96, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }
};

// What a page may ask of the wizard that holds it.
struct TWizardHost {
  HWND wizard = nullptr;                     // the owner of the page's dialogs
  std::function<void(bool)> enableNext;      // NextBtn's enabled state
};

class TWizardPage {
 public:
  virtual ~TWizardPage() = default;
  // Creates the page and its controls, hidden, as a child of aParent (the wizard's page area).
  virtual void Create(HWND aParent, const TWizardHost& aHost) = 0;
  // Places the controls inside aRect (client coordinates of the parent) at aScale and gives
  // them aFont, or aBoldFont where the page draws in bold.
  virtual void Layout(const RECT& aRect, const TUiScale& aScale, HFONT aFont, HFONT aBoldFont) = 0;
  HWND Handle() const { return fHandle; }

 protected:
  HWND fHandle = nullptr;
};

}  // namespace vek
