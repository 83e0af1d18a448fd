#pragma once
// A wizard page made from a table of standard controls: each row names the control's id, class,
// style and its place in 96-DPI page coordinates. The page is a borderless child dialog, so Tab,
// arrow keys between radio buttons and "&" accelerators work as in any dialog, and it hands the
// notifications of its controls to the wizard.
#include <windows.h>

#include <functional>
#include <span>

#include "ui/DialogWindow.h"
#include "ui/WizardPage.h"

namespace vek {

struct TControlDef {
  int id;
  const wchar_t* className;  // WC_BUTTON, WC_STATIC, ...
  DWORD style;               // besides WS_CHILD
  RECT at96;                 // left, top, width, height at 96 DPI, inside the page
  int group = 0;             // the id of the group box whose controls show and hide with it
  bool bold = false;
};

// The wizard's handler of a page's notifications: control id, notification code, control.
using TPageCommand = std::function<void(int aId, int aCode, HWND aControl)>;

class TControlPage : public TWizardPage {
 public:
  TControlPage(std::span<const TControlDef> aControls, TPageCommand aOnCommand);
  void Create(HWND aParent, const TWizardHost& aHost) override;
  void Layout(const RECT& aRect, const TUiScale& aScale, HFONT aFont, HFONT aBoldFont) override;
  HWND Item(int aId) const { return ::GetDlgItem(fHandle, aId); }
  // Shows or hides a group box and every control of its group.
  void ShowGroup(int aGroupId, bool aShow) const;

  // The page dialog's messages: notifications of its controls go to the wizard.
  INT_PTR HandleMessage(UINT aMessage, WPARAM aWParam, LPARAM aLParam);

 private:
  TChildDialog<TControlPage> fDialog{*this};
  std::span<const TControlDef> fControls;
  TPageCommand fOnCommand;
};

}  // namespace vek
