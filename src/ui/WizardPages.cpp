#include "ui/WizardPages.h"

#include <commctrl.h>
#include <richedit.h>

#include <array>

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
    TControlSpec{idGrpLoadIni, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idInifileLabel, WC_STATICW, kLabel, {16, 32, 524, 60}},
};

constexpr std::array kInstUpd{
    TControlSpec{idGrpInstUpd, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idInstUpdLabel, WC_STATICW, kLabel, {16, 24, 524, 110}},
    TControlSpec{idInstallRadioBtn, WC_BUTTONW, kRadio | WS_GROUP, {40, 150, 400, 22}},
    TControlSpec{idUpdateRadioBtn, WC_BUTTONW, kRadio, {40, 178, 400, 22}},
};

constexpr std::array kWhereto{
    TControlSpec{idGrpWhereto, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idWhereToLabel, WC_STATICW, kLabel, {16, 24, 524, 48}},
    TControlSpec{idInstallPathEdit, WC_EDITW, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, {16, 84, 412, 24}},
    TControlSpec{idBrowseBtn, WC_BUTTONW, kPush, {440, 83, 100, 26}},
};

constexpr std::array kDeftCust{
    TControlSpec{idGrpDeftCust, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idDefaultBtn, WC_BUTTONW, kPush | WS_GROUP, {16, 32, 140, 28}},
    TControlSpec{idDefaultLabel, WC_STATICW, kLabel, {168, 32, 372, 72}},
    TControlSpec{idCustomBtn, WC_BUTTONW, kPush, {16, 128, 140, 28}},
    TControlSpec{idCustomLabel, WC_STATICW, kLabel, {168, 128, 372, 72}},
};

constexpr std::array kInstall{
    TControlSpec{idGrpInstall, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idUnpackText, WC_STATICW, kLabel, {16, 24, 524, 22}, 0, true},
    TControlSpec{idFromFileInfoText, WC_STATICW, kLabel, {16, 64, 72, 20}},
    TControlSpec{idFromFileLabel, WC_STATICW, kLabel, {92, 64, 448, 20}},
    TControlSpec{idToFileInfoText, WC_STATICW, kLabel, {16, 92, 72, 20}},
    TControlSpec{idToFileLabel, WC_STATICW, kLabel, {92, 92, 448, 20}},
    TControlSpec{idProgressBar1, PROGRESS_CLASSW, 0, {16, 140, 524, 22}},
};

constexpr std::array kInfopage{
    TControlSpec{idGrpInfoPage, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idInfoLabel1, WC_STATICW, kCentred, {16, 36, 524, 44}},
    TControlSpec{idInfoLabel2, WC_STATICW, kCentred, {16, 92, 524, 64}, 0, true},
    TControlSpec{idInfoLabel3, WC_STATICW, kCentred, {16, 168, 524, 60}},
};

constexpr std::array kErrorCleanup{
    TControlSpec{idGrpErrorCleanUp, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idMemo1, WC_EDITW, kReadOnlyMemo | WS_HSCROLL, {16, 24, 524, 224}},
};

constexpr std::array kRunExternals{
    TControlSpec{idGrpRunExtInsertGrpBox, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idInsertLabel, WC_STATICW, kLabel, {16, 24, 524, 22}, idGrpRunExtInsertGrpBox},
    TControlSpec{idDescribeLabel, WC_STATICW, kLabel, {16, 50, 524, 22}, idGrpRunExtInsertGrpBox},
    TControlSpec{idDiskIdLabel, WC_STATICW, kLabel, {16, 76, 524, 22}, idGrpRunExtInsertGrpBox},
    TControlSpec{idInlabel, WC_STATICW, kLabel, {16, 102, 524, 22}, idGrpRunExtInsertGrpBox},
    TControlSpec{idDiskDrivePanel, WC_STATICW, kLabel | SS_SUNKEN, {16, 140, 412, 24}, idGrpRunExtInsertGrpBox},
    TControlSpec{idBrowseExt, WC_BUTTONW, kPush, {440, 139, 100, 26}, idGrpRunExtInsertGrpBox},
    TControlSpec{idGrpRunExtInfoGrpBox, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idRunInfoLabel1, WC_STATICW, kCentred, {16, 24, 524, 22}, idGrpRunExtInfoGrpBox},
    TControlSpec{idRunInfoLabel2, WC_STATICW, kLabel, {16, 50, 524, 22}, idGrpRunExtInfoGrpBox},
    TControlSpec{idRunInfolabel3, WC_STATICW, kLabel, {16, 76, 524, 22}, idGrpRunExtInfoGrpBox},
    TControlSpec{idRunInfolabel4, WC_STATICW, kLabel, {16, 102, 524, 22}, idGrpRunExtInfoGrpBox},
    TControlSpec{idRB1, WC_BUTTONW, kRadio | WS_GROUP, {40, 134, 480, 22}, idGrpRunExtInfoGrpBox},
    TControlSpec{idRB2, WC_BUTTONW, kRadio, {40, 160, 480, 22}, idGrpRunExtInfoGrpBox},
    TControlSpec{idRB3, WC_BUTTONW, kRadio, {40, 186, 480, 22}, idGrpRunExtInfoGrpBox},
    TControlSpec{idRB4, WC_BUTTONW, kRadio, {40, 212, 480, 22}, idGrpRunExtInfoGrpBox},
};

constexpr std::array kFindProg{
    TControlSpec{idGrpFindProg, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idFindDescLabel, WC_STATICW, kLabel, {16, 24, 524, 44}},
    TControlSpec{idBevel1, WC_STATICW, SS_ETCHEDHORZ, {16, 76, 524, 2}},
    TControlSpec{idFindPathLabel, WC_STATICW, kLabel, {16, 88, 524, 22}},
};

constexpr std::array kInfoCleanUp{
    TControlSpec{idGrpInfoCleanUp, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idInfoCleanUpLabel, WC_STATICW, kLabel, {16, 24, 524, 22}},
    TControlSpec{idCleanupDirList, WC_LISTBOXW,
                 LBS_NOINTEGRALHEIGHT | LBS_NOSEL | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP,
                 {16, 52, 524, 196}},
};

constexpr std::array kLicensAgreement{
    TControlSpec{idGrpLicensAgreement, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idLicensLabel1, WC_STATICW, kLabel, {16, 20, 524, 22}},
    // Word wrap off: the agreement keeps its own lines.
    TControlSpec{idLicensMemo, WC_EDITW, kReadOnlyMemo | WS_HSCROLL | ES_AUTOHSCROLL, {16, 46, 524, 160}},
    TControlSpec{idLicensLabel2, WC_STATICW, kLabel, {16, 212, 524, 44}},
};

constexpr std::array kRichEditInfoPage{
    TControlSpec{idGrpRichEditInfoPage, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idReInfo, MSFTEDIT_CLASS, kReadOnlyMemo, {16, 20, 524, 232}},
};

constexpr std::array kChoicePage{
    TControlSpec{idChoiceGrpBox, WC_BUTTONW, kGroup, kWhole},
    TControlSpec{idChoiceInfo, WC_STATICW, kLabel, {16, 24, 524, 44}},
    TControlSpec{idRBChoice1, WC_BUTTONW, kRadio | WS_GROUP, {40, 80, 480, 22}},
    TControlSpec{idRBChoice2, WC_BUTTONW, kRadio, {40, 106, 480, 22}},
    TControlSpec{idRBChoice3, WC_BUTTONW, kRadio, {40, 132, 480, 22}},
    TControlSpec{idRBChoice4, WC_BUTTONW, kRadio, {40, 158, 480, 22}},
    TControlSpec{idChoiceComboBox, WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                 {40, 80, 150, 200}},
};

}  // namespace

std::span<const TControlSpec> PageControls(TWizardPageId aPage) {
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
  static const HMODULE library = ::LoadLibraryW(L"msftedit.dll");
  return library != nullptr;
}

}  // namespace vek
