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

// Control ids. The button bar and the frame use 100..199, the pages 1000 and up.
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

  idGrpLoadIni = 1000,
  idInifileLabel,
  idGrpInstUpd = 1010,
  idInstUpdLabel,
  idInstallRadioBtn,
  idUpdateRadioBtn,
  idGrpWhereto = 1020,
  idWhereToLabel,
  idInstallPathEdit,
  idBrowseBtn,
  idGrpDeftCust = 1030,
  idDefaultLabel,
  idCustomLabel,
  idDefaultBtn,
  idCustomBtn,
  idGrpInstall = 1040,
  idFromFileInfoText,
  idFromFileLabel,
  idUnpackText,
  idToFileInfoText,
  idToFileLabel,
  idProgressBar1,
  idGrpInfoPage = 1050,
  idInfoLabel1,
  idInfoLabel2,
  idInfoLabel3,
  idGrpErrorCleanUp = 1060,
  idMemo1,
  idGrpRunExtInsertGrpBox = 1070,
  idInlabel,
  idDiskIdLabel,
  idDescribeLabel,
  idInsertLabel,
  idDiskDrivePanel,
  idBrowseExt,
  idGrpRunExtInfoGrpBox = 1080,
  idRunInfoLabel1,
  idRunInfoLabel2,
  idRunInfolabel3,
  idRunInfolabel4,
  idRB1,
  idRB2,
  idRB3,
  idRB4,
  idGrpFindProg = 1090,
  idBevel1,
  idFindPathLabel,
  idFindDescLabel,
  idGrpInfoCleanUp = 1100,
  idInfoCleanUpLabel,
  idCleanupDirList,
  idGrpLicensAgreement = 1110,
  idLicensLabel1,
  idLicensLabel2,
  idLicensMemo,
  idGrpRichEditInfoPage = 1120,
  idReInfo,
  idChoiceGrpBox = 1130,
  idChoiceInfo,
  idRBChoice1,
  idRBChoice2,
  idRBChoice3,
  idRBChoice4,
  idChoiceComboBox,
};

// The controls of one of the wizard's control pages (empty for the options and confirmation
// pages). The rich edit's class name needs its library loaded first (LoadRichEditLibrary).
std::span<const TControlSpec> PageControls(TWizardPageId aPage);

// Loads the rich edit control's library once; false when the system has none.
bool LoadRichEditLibrary();

}  // namespace vek
