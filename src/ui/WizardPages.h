#pragma once
// The control pages of the wizard window: their control ids and the layout tables that
// TControlPage builds them from. Ids are unique over the whole window, so a test driver or a
// screen reader can find a control by its id whichever page it is on.
#include <span>

#include "ui/ControlPage.h"

namespace vek {

// The wizard's own pages; the options and confirmation pages have classes of their own.
enum TWizardPageId : int {
  pgLoadini,
  pgInstUpd,
  pgWhereto,
  pgDeftCust,
  pgOptions,
  pgConfirm,
  pgInstall,
  pgInfopage,
  pgErrorCleanup,
  pgRunExternals,
  pgFindProg,
  pgInfoCleanUp,
  pgLicensAgreement,
  pgRichEditInfoPage,
  pgChoicePage,
};
inline constexpr int kWizardPageCount = pgChoicePage + 1;

// Control ids. The button bar and the frame use 100..199, these pages 2000 and up (the options
// and confirmation pages and the sub-option form have ids of their own from 1100 to 1399).
enum TWizardControlId : int {
  idPrevBtn = 101,
  idNextBtn,
  idExitBtn,
  idCancelBtn,
  idOkBtn,
  idYesBtn,
  idNoBtn,
  idFlashTitle = 120,
  idCopyrightPanel,
  idWelcomeImage,

  idGrpLoadIni = 2000,
  idInifileLabel,
  idGrpInstUpd = 2010,
  idInstUpdLabel,
  idInstallRadioBtn,
  idUpdateRadioBtn,
  idGrpWhereto = 2020,
  idWhereToLabel,
  idInstallPathEdit,
  idBrowseBtn,
  idGrpDeftCust = 2030,
  idDefaultLabel,
  idCustomLabel,
  idDefaultBtn,
  idCustomBtn,
  idGrpInstall = 2040,
  idFromFileInfoText,
  idFromFileLabel,
  idUnpackText,
  idToFileInfoText,
  idToFileLabel,
  idProgressBar1,
  idGrpInfoPage = 2050,
  idInfoLabel1,
  idInfoLabel2,
  idInfoLabel3,
  idGrpErrorCleanUp = 2060,
  idMemo1,
  idGrpRunExtInsertGrpBox = 2070,
  idInlabel,
  idDiskIdLabel,
  idDescribeLabel,
  idInsertLabel,
  idDiskDrivePanel,
  idBrowseExt,
  idGrpRunExtInfoGrpBox = 2080,
  idRunInfoLabel1,
  idRunInfoLabel2,
  idRunInfolabel3,
  idRunInfolabel4,
  idRB1,
  idRB2,
  idRB3,
  idRB4,
  idGrpFindProg = 2090,
  idBevel1,
  idFindPathLabel,
  idFindDescLabel,
  idGrpInfoCleanUp = 2100,
  idInfoCleanUpLabel,
  idCleanupDirList,
  idGrpLicensAgreement = 2110,
  idLicensLabel1,
  idLicensLabel2,
  idLicensMemo,
  idGrpRichEditInfoPage = 2120,
  idReInfo,
  idChoiceGrpBox = 2130,
  idChoiceInfo,
  idRBChoice1,
  idRBChoice2,
  idRBChoice3,
  idRBChoice4,
  idChoiceComboBox,
};

// The controls of one of the wizard's control pages (empty for the options and confirmation
// pages). The rich edit's class name needs its library loaded first (LoadRichEditLibrary).
std::span<const TControlDef> PageControls(TWizardPageId aPage);

// Loads the rich edit control's library once; false when the system has none.
bool LoadRichEditLibrary();

}  // namespace vek
