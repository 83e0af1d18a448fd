#pragma once
// The sub-option form: the modal window, owned by the wizard, in which the user selects the
// sub-options of one main option and the file patterns of each. It works on a copy
// (TSubOptionSelection) and writes it back only on OK, so Cancel, Esc and the close box leave
// the option as it was.
#include <windows.h>

#include <memory>
#include <optional>

#include "ui/DialogWindow.h"
#include "ui/WizardPage.h"

namespace vek {

class TMainOption;
class TSubOptionSelection;

// The ids of the form's controls (OkBtn is IDOK, CancelBtn IDCANCEL), for tests and automation.
enum TSubOptionFormControl : int {
  idSubMainLabel = 1201,
  idSubMenuListBox,
  idSubOptionDetailLabel,
  idSubGroupBox1,
  idSubSelectFilesEdit,
  idSubSelectAllBtn,
  idSubClearAllBtn,
  idSubBevel1,
  idSubISLabel,
  idSubInstallSizeLabel,
  idSubISUnitLabel,
  idSubDSLabel,
  idSubFreeDiskSizeLabel,
  idSubDSUnitLabel,
};

class TIOptionsSubMenuForm : private TDialogWindow {
 public:
  // aOwner: the wizard, disabled while the form is open. aScale and aFont: the wizard's.
  TIOptionsSubMenuForm(HWND aOwner, const TUiScale& aScale, HFONT aFont);
  ~TIOptionsSubMenuForm() override;

  void SetSetup(TSetupEngine& aSetup) { FSetupEngine = &aSetup; }
  void SetMainOption(TMainOption& aOption);
  // Shows the form over the owner's client area until OK, Cancel or a close.
  void ShowModal();
  bool IsOptionChanged() const { return fIsOptionChanged; }

 private:
  INT_PTR HandleMessage(UINT aMsg, WPARAM wParam, LPARAM lParam) override;
  void FormCreate();
  void LayoutControls();
  void PlaceOverOwner();
  HWND Item(int aId) const { return GetDlgItem(Window(), aId); }
  int SelectedRow() const;
  void DrawRow(const DRAWITEMSTRUCT& aItem);
  void ShowSelectedRow();
  void ShowTotal();
  void Repaint();
  // The edit's patterns for the selected row; false (after the message) when they are refused.
  bool SelectFilesBtnClick();
  void OkBtnClick();

  HWND fOwner;
  TUiScale fScale;
  HFONT fFont;
  TSetupEngine* FSetupEngine = nullptr;
  TMainOption* FMainOption = nullptr;
  std::unique_ptr<TSubOptionSelection> fSelection;
  std::string fDecimal = ".";
  bool fIsOptionChanged = false;
  int fClientWidth = 0;  // set by LayoutControls
};

}  // namespace vek
