#pragma once
// The confirmation page of the wizard (page "confirm", step stIconfirm): the selected options and
// sub-options with their target folders and sizes, and the free-space check of every target.
#include <memory>
#include <string>

#include "ui/DialogWindow.h"
#include "ui/WizardPage.h"

namespace vek {

// The ids of the page's controls, for the wizard's tests and automation.
enum TConfirmPageControl : int {
  idConfirmTitle = 1301,
  idConFirmListBox,
  idConfirmErrorLabel,
};

class TConfirmPage : public TWizardPage {
 public:
  explicit TConfirmPage(TSetupEngine& aSetup);
  ~TConfirmPage() override;
  void Create(HWND aParent, const TWizardHost& aHost) override;
  void Layout(const RECT& aRect, const TUiScale& aScale, HFONT aFont, HFONT aBoldFont) override;
  // Rebuilds the rows from the option model and checks the free space of each target (with
  // its message dialogs) when the engine announces stIconfirm. aTitle is ConfirmTitle's text.
  void Prepare(const std::string& aTitle);

 private:
  template <typename>
  friend class TChildDialog;

  // Answers as a dialog procedure does.
  INT_PTR HandleMessage(UINT aMsg, WPARAM wParam, LPARAM lParam);
  void DrawRow(const DRAWITEMSTRUCT& aItem);
  void CheckFreeSpace();
  HWND Item(int aId) const;

  TSetupEngine& fSetup;
  TWizardHost fHost;
  TUiScale fScale;
  HFONT fFont = nullptr;
  HFONT fBoldFont = nullptr;
  std::unique_ptr<TDialogWindow> fWindow;
};

}  // namespace vek
