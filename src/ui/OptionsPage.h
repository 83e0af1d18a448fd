#pragma once
// The options page of the wizard (page "options", step stIoptions): the main options in an
// owner-drawn list with their state images and sizes, the total, the free space, the folder of
// the selected option, and the sub-option form for an option.
#include <string>

#include "ui/WizardPage.h"

namespace vek {

class TOptionsPage : public TWizardPage {
 public:
  explicit TOptionsPage(TSetupEngine& aSetup);
  ~TOptionsPage() override;
  void Create(HWND aParent, const TWizardHost& aHost) override;
  void Layout(const RECT& aRect, const TUiScale& aScale, HFONT aFont, HFONT aBoldFont) override;
  // Prepares the page when the engine announces stIoptions; returns the wizard's
  // InstallToCaption (language text 42 for an install, 101 for an update).
  std::string Prepare();
};

}  // namespace vek
