#include "ui/WizardPages.h"

#include <commctrl.h>
#include <richedit.h>

#include <array>

#include "system/SystemLibrary.h"

namespace vek {
namespace {

// Styles of the controls the pages are made of.
constexpr DWORD kGroup = BS_GROUPBOX;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kCentred = SS_CENTER | SS_NOPREFIX;
constexpr DWORD kRadio = BS_AUTORADIOBUTTON | WS_TABSTOP;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kReadOnlyMemo = ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
// The page area is 556 x 264 at 96 DPI; every group box fills it.
constexpr RECT kWhole{0, 0, 556, 264};

constexpr std::array kLoadini{
    TControlDef{idGrpLoadIni, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idInifileLabel, WC_STATICW, kLabel, {16, 32, 524, 60}},
};

constexpr std::array kInstUpd{
    TControlDef{idGrpInstUpd, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idInstUpdLabel, WC_STATICW, kLabel, {16, 24, 524, 110}},
    TControlDef{idInstallRadioBtn, WC_BUTTONW, kRadio | WS_GROUP, {40, 150, 400, 22}},
    TControlDef{idUpdateRadioBtn, WC_BUTTONW, kRadio, {40, 178, 400, 22}},
};

constexpr std::array kWhereto{
    TControlDef{idGrpWhereto, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idWhereToLabel, WC_STATICW, kLabel, {16, 24, 524, 48}},
    TControlDef{idInstallPathEdit, WC_EDITW, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, {16, 84, 412, 24}},
    TControlDef{idBrowseBtn, WC_BUTTONW, kPush, {440, 83, 100, 26}},
};

constexpr std::array kDeftCust{
    TControlDef{idGrpDeftCust, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idDefaultBtn, WC_BUTTONW, kPush | WS_GROUP, {16, 32, 140, 28}},
    TControlDef{idDefaultLabel, WC_STATICW, kLabel, {168, 32, 372, 72}},
    TControlDef{idCustomBtn, WC_BUTTONW, kPush, {16, 128, 140, 28}},
    TControlDef{idCustomLabel, WC_STATICW, kLabel, {168, 128, 372, 72}},
};

constexpr std::array kInstall{
    TControlDef{idGrpInstall, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idUnpackText, WC_STATICW, kLabel, {16, 24, 524, 22}, 0, true},
    TControlDef{idFromFileInfoText, WC_STATICW, kLabel, {16, 64, 72, 20}},
    TControlDef{idFromFileLabel, WC_STATICW, kLabel, {92, 64, 448, 20}},
    TControlDef{idToFileInfoText, WC_STATICW, kLabel, {16, 92, 72, 20}},
    TControlDef{idToFileLabel, WC_STATICW, kLabel, {92, 92, 448, 20}},
    TControlDef{idProgressBar1, PROGRESS_CLASSW, 0, {16, 140, 524, 22}},
};

constexpr std::array kInfopage{
    TControlDef{idGrpInfoPage, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idInfoLabel1, WC_STATICW, kCentred, {16, 36, 524, 44}},
    TControlDef{idInfoLabel2, WC_STATICW, kCentred, {16, 92, 524, 64}, 0, true},
    TControlDef{idInfoLabel3, WC_STATICW, kCentred, {16, 168, 524, 60}},
};

constexpr std::array kErrorCleanup{
    TControlDef{idGrpErrorCleanUp, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idMemo1, WC_EDITW, kReadOnlyMemo | WS_HSCROLL, {16, 24, 524, 224}},
};

constexpr std::array kRunExternals{
    TControlDef{idGrpRunExtInsertGrpBox, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idInsertLabel, WC_STATICW, kLabel, {16, 24, 524, 22}, idGrpRunExtInsertGrpBox},
    TControlDef{idDescribeLabel, WC_STATICW, kLabel, {16, 50, 524, 22}, idGrpRunExtInsertGrpBox},
    TControlDef{idDiskIdLabel, WC_STATICW, kLabel, {16, 76, 524, 22}, idGrpRunExtInsertGrpBox},
    TControlDef{idInlabel, WC_STATICW, kLabel, {16, 102, 524, 22}, idGrpRunExtInsertGrpBox},
    TControlDef{idDiskDrivePanel, WC_STATICW, kLabel | SS_SUNKEN, {16, 140, 412, 24}, idGrpRunExtInsertGrpBox},
    TControlDef{idBrowseExt, WC_BUTTONW, kPush, {440, 139, 100, 26}, idGrpRunExtInsertGrpBox},
    TControlDef{idGrpRunExtInfoGrpBox, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idRunInfoLabel1, WC_STATICW, kCentred, {16, 24, 524, 22}, idGrpRunExtInfoGrpBox},
    TControlDef{idRunInfoLabel2, WC_STATICW, kLabel, {16, 50, 524, 22}, idGrpRunExtInfoGrpBox},
    TControlDef{idRunInfolabel3, WC_STATICW, kLabel, {16, 76, 524, 22}, idGrpRunExtInfoGrpBox},
    TControlDef{idRunInfolabel4, WC_STATICW, kLabel, {16, 102, 524, 22}, idGrpRunExtInfoGrpBox},
    TControlDef{idRB1, WC_BUTTONW, kRadio | WS_GROUP, {40, 134, 480, 22}, idGrpRunExtInfoGrpBox},
    TControlDef{idRB2, WC_BUTTONW, kRadio, {40, 160, 480, 22}, idGrpRunExtInfoGrpBox},
    TControlDef{idRB3, WC_BUTTONW, kRadio, {40, 186, 480, 22}, idGrpRunExtInfoGrpBox},
    TControlDef{idRB4, WC_BUTTONW, kRadio, {40, 212, 480, 22}, idGrpRunExtInfoGrpBox},
};

constexpr std::array kFindProg{
    TControlDef{idGrpFindProg, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idFindDescLabel, WC_STATICW, kLabel, {16, 24, 524, 44}},
    TControlDef{idBevel1, WC_STATICW, SS_ETCHEDHORZ, {16, 76, 524, 2}},
    TControlDef{idFindPathLabel, WC_STATICW, kLabel, {16, 88, 524, 22}},
};

constexpr std::array kInfoCleanUp{
    TControlDef{idGrpInfoCleanUp, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idInfoCleanUpLabel, WC_STATICW, kLabel, {16, 24, 524, 22}},
    TControlDef{idCleanupDirList, WC_LISTBOXW,
                 LBS_NOINTEGRALHEIGHT | LBS_NOSEL | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP,
                 {16, 52, 524, 196}},
};

constexpr std::array kLicensAgreement{
    TControlDef{idGrpLicensAgreement, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idLicensLabel1, WC_STATICW, kLabel, {16, 20, 524, 22}},
    // Word wrap off: the agreement keeps its own lines.
    TControlDef{idLicensMemo, WC_EDITW, kReadOnlyMemo | WS_HSCROLL | ES_AUTOHSCROLL, {16, 46, 524, 160}},
    TControlDef{idLicensLabel2, WC_STATICW, kLabel, {16, 212, 524, 44}},
};

constexpr std::array kRichEditInfoPage{
    TControlDef{idGrpRichEditInfoPage, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idReInfo, MSFTEDIT_CLASS, kReadOnlyMemo, {16, 20, 524, 232}},
};

constexpr std::array kChoicePage{
    TControlDef{idChoiceGrpBox, WC_BUTTONW, kGroup, kWhole},
    TControlDef{idChoiceInfo, WC_STATICW, kLabel, {16, 24, 524, 44}},
    TControlDef{idRBChoice1, WC_BUTTONW, kRadio | WS_GROUP, {40, 80, 480, 22}},
    TControlDef{idRBChoice2, WC_BUTTONW, kRadio, {40, 106, 480, 22}},
    TControlDef{idRBChoice3, WC_BUTTONW, kRadio, {40, 132, 480, 22}},
    TControlDef{idRBChoice4, WC_BUTTONW, kRadio, {40, 158, 480, 22}},
    TControlDef{idChoiceComboBox, WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                 {40, 80, 150, 200}},
};

}  // namespace

std::span<const TControlDef> PageControls(TWizardPageId aPage) {
  switch (aPage) {
    case pgLoadini: return kLoadini;
    case pgInstUpd: return kInstUpd;
    case pgWhereto: return kWhereto;
    case pgDeftCust: return kDeftCust;
    case pgInstall: return kInstall;
    case pgInfopage: return kInfopage;
    case pgErrorCleanup: return kErrorCleanup;
    case pgRunExternals: return kRunExternals;
    case pgFindProg: return kFindProg;
    case pgInfoCleanUp: return kInfoCleanUp;
    case pgLicensAgreement: return kLicensAgreement;
    case pgRichEditInfoPage: return kRichEditInfoPage;
    case pgChoicePage: return kChoicePage;
    case pgOptions:
    case pgConfirm: break;
  }
  return {};
}

bool LoadRichEditLibrary() {
  static const HMODULE library = LoadSystemLibrary(L"msftedit.dll");
  return library != nullptr;
}

}  // namespace vek
