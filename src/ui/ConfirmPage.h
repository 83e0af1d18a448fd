#pragma once
// The confirmation page of the wizard (page "confirm", step stIconfirm): the selected options and
// sub-options with their target folders and sizes, and the free-space check of every target.
#include <string>

#include "ui/WizardPage.h"

namespace vek {

class TConfirmPage : public TWizardPage {
 public:
  explicit TConfirmPage(TSetupEngine& aSetup);
  ~TConfirmPage() override;
  void Create(HWND aParent, const TWizardHost& aHost) override;
  void Layout(const RECT& aRect, const TUiScale& aScale, HFONT aFont, HFONT aBoldFont) override;
  // Rebuilds the rows from the option model and checks the free space of each target (with
  // its message dialogs) when the engine announces stIconfirm. aTitle is ConfirmTitle's text.
  void Prepare(const std::string& aTitle);
};

}  // namespace vek
