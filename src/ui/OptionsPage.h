#pragma once
// The options page of the wizard (page "options", step stIoptions): the main options in an
// owner-drawn list with their state images and sizes, the total, the free space, the folder of
// the selected option, and the sub-option form for an option.
#include <memory>
#include <string>

#include "ui/DialogWindow.h"
#include "ui/WizardPage.h"

namespace vek {

class TMainOption;

// The ids of the page's controls, for the wizard's tests and automation.
enum TOptionsPageControl : int {
  idOptMainLabel = 1101,
  idOptMainMenuListBox,
  idOptDetailLabel,
  idOptSelectedLabel,
  idOptChangeOptionBtn,
  idOptGroupBox2,
  idOptPathEdit,
  idOptChDirBtn,
  idOptISLabel,
  idOptInstallSizeLabel,
  idOptISUnitLabel,
  idOptDSLabel,
  idOptFreeDiskSizeLabel,
  idOptDSUnitLabel,
};

class TOptionsPage : public TWizardPage {
 public:
  explicit TOptionsPage(TSetupEngine& aSetup);
  ~TOptionsPage() override;
  void Create(HWND aParent, const TWizardHost& aHost) override;
  void Layout(const RECT& aRect, const TUiScale& aScale, HFONT aFont, HFONT aBoldFont) override;
  // Prepares the page when the engine announces stIoptions; returns the wizard's
  // InstallToCaption (language text 42 for an install, 101 for an update).
  std::string Prepare();

 private:
  template <typename>
  friend class TChildDialog;

  void CreateControls();
  // Answers as a dialog procedure does.
  INT_PTR HandleMessage(UINT aMsg, WPARAM wParam, LPARAM lParam);
  bool OnCommand(int aId, int aCode);
  TMainOption* OptionAt(int aIndex) const;
  int SelectedIndex() const;
  void DrawOption(const DRAWITEMSTRUCT& aItem);
  void RefreshDetails();
  void Toggle(int aIndex);
  void EditSubOptions(int aIndex);
  void ChangePath(const std::string& aPath);
  void PathEditExit();
  void ChDirBtnClick();
  void SetInstallsize(long long aBytes);
  HWND Item(int aId) const;

  TSetupEngine& fSetup;
  TWizardHost fHost;
  TUiScale fScale;
  RECT fRect{};
  HFONT fFont = nullptr;
  HFONT fBoldFont = nullptr;
  std::string fDecimal = ".";
  std::unique_ptr<TDialogWindow> fWindow;
};

}  // namespace vek
