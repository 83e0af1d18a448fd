#include "ui/OptionsPage.h"

#include <windowsx.h>

#include "base/Format.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/OptionSelection.h"
#include "system/DecimalSeparator.h"
#include "system/Drives.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "ui/CheckList.h"
#include "ui/DialogWindow.h"
#include "ui/FolderPicker.h"
#include "ui/SubOptionForm.h"

namespace vek {


TOptionsPage::TOptionsPage(TSetupEngine& aSetup) : fSetup(aSetup) {}

TOptionsPage::~TOptionsPage() = default;

void TOptionsPage::Create(HWND aParent, const TWizardHost& aHost) {
  fHost = aHost;
  fDecimal = UserDecimalSeparator();
  auto window = std::make_unique<TChildDialog<TOptionsPage>>(*this);
  window->Create(aParent);
  fWindow = std::move(window);
  fHandle = fWindow->Window();
  if (fHandle != nullptr) CreateControls();
}

HWND TOptionsPage::Item(int aId) const { return GetDlgItem(fHandle, aId); }

void TOptionsPage::CreateControls() {
  const DWORD label = SS_LEFT | SS_NOPREFIX;
  CreateControl(fHandle, L"STATIC", "", label, idOptMainLabel);
  CreateCheckList(fHandle, idOptMainMenuListBox, fScale);
  CreateControl(fHandle, L"STATIC", "", label | SS_SUNKEN, idOptDetailLabel);
  CreateControl(fHandle, L"STATIC", "", label, idOptSelectedLabel);
  CreateControl(fHandle, L"BUTTON", LanguageText(txt::contr_ChangeOption), WS_TABSTOP | BS_PUSHBUTTON, idOptChangeOptionBtn);
  CreateControl(fHandle, L"BUTTON", "", BS_GROUPBOX, idOptGroupBox2);
  CreateControl(fHandle, L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, idOptPathEdit, WS_EX_CLIENTEDGE);
  CreateControl(fHandle, L"BUTTON", LanguageText(txt::contr_ChDir), WS_TABSTOP | BS_PUSHBUTTON, idOptChDirBtn);
  CreateControl(fHandle, L"STATIC", "", label, idOptISLabel);
  CreateControl(fHandle, L"STATIC", "", SS_RIGHT | SS_NOPREFIX, idOptInstallSizeLabel);
  CreateControl(fHandle, L"STATIC", "Kb", label, idOptISUnitLabel);
  CreateControl(fHandle, L"STATIC", "", label, idOptDSLabel);
  CreateControl(fHandle, L"STATIC", "", SS_RIGHT | SS_NOPREFIX, idOptFreeDiskSizeLabel);
  CreateControl(fHandle, L"STATIC", "Kb", label, idOptDSUnitLabel);
}

void TOptionsPage::Layout(const RECT& aRect, const TUiScale& aScale, HFONT aFont, HFONT aBoldFont) {
  if (fHandle == nullptr) return;
  fScale = aScale;
  fFont = aFont;
  fBoldFont = aBoldFont;
  fRect = aRect;
  const int width = aRect.right - aRect.left;
  const int height = aRect.bottom - aRect.top;
  PlaceControl(fHandle, aRect.left, aRect.top, width, height);
  SetChildFonts(fHandle, aFont);
  const HWND list = Item(idOptMainMenuListBox);
  SetCheckListScale(list, aScale);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, CheckListRowHeight(list, aFont, aScale));

  const auto px = [&](int a) { return aScale.Px(a); };
  const int gap = px(8);
  const int line = px(20);
  const int button = px(26);
  // Bottom up: the two size lines, the folder box, then the list and its details share the rest.
  const int sizesTop = height - 2 * line;
  const int folderHeight = px(56);
  const int folderTop = sizesTop - gap - folderHeight;
  const int listTop = line + px(4);
  const int listHeight = folderTop - gap - listTop;
  const int detailWidth = width * 2 / 5;
  const int listWidth = width - detailWidth - gap;
  const int detailLeft = listWidth + gap;

  PlaceControl(Item(idOptMainLabel), 0, 0, width, line);
  PlaceControl(list, 0, listTop, listWidth, listHeight);
  PlaceControl(Item(idOptDetailLabel), detailLeft, listTop, detailWidth, listHeight - 2 * gap - line - button);
  PlaceControl(Item(idOptSelectedLabel), detailLeft, listTop + listHeight - gap - line - button, detailWidth, line);
  PlaceControl(Item(idOptChangeOptionBtn), detailLeft, listTop + listHeight - button, detailWidth, button);

  PlaceControl(Item(idOptGroupBox2), 0, folderTop, width, folderHeight);
  const int chDirWidth = ButtonWidth(Item(idOptChDirBtn), aFont, px(150), px(16));
  PlaceControl(Item(idOptPathEdit), gap, folderTop + px(22), width - 3 * gap - chDirWidth, px(24));
  PlaceControl(Item(idOptChDirBtn), width - gap - chDirWidth, folderTop + px(21), chDirWidth, button);

  const int unitWidth = px(30);
  const int valueWidth = px(110);
  const int labelWidth = width - unitWidth - valueWidth - 2 * gap;
  for (int row = 0; row < 2; ++row) {
    const int top = sizesTop + row * line;
    const int first = row == 0 ? idOptISLabel : idOptDSLabel;
    PlaceControl(Item(first), 0, top, labelWidth, line);
    PlaceControl(Item(first + 1), labelWidth + gap, top, valueWidth, line);
    PlaceControl(Item(first + 2), width - unitWidth, top, unitWidth, line);
  }
  InvalidateRect(fHandle, nullptr, TRUE);
}

std::string TOptionsPage::Prepare() {
  const bool install = fSetup.InstallMode() == 1;
  const std::string installTo = LanguageText(install ? txt::Ioptions_4 : txt::Ioptions_UpdateIn);
  SetText(Item(idOptMainLabel), LanguageText(install ? txt::Ioptions_Install : txt::Ioptions_Update));
  SetText(Item(idOptGroupBox2), installTo);
  SetText(Item(idOptChangeOptionBtn), LanguageText(txt::contr_ChangeOption));
  SetText(Item(idOptChDirBtn), LanguageText(txt::contr_ChDir));
  SetText(Item(idOptISLabel), LanguageText(txt::Ioptions_1));
  // The button captions may have changed with the language: their widths follow.
  if (fFont != nullptr) Layout(fRect, fScale, fFont, fBoldFont);
  // The engine has changed into the install location when it checked it.
  const std::string currentDir = GetCurrentDir();
  SetText(Item(idOptDSLabel), LanguageText(txt::Ioptions_2) + " " + ExtractDriveOrShare(currentDir));

  const HWND list = Item(idOptMainMenuListBox);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  const std::size_t count = fSetup.MainOptionList != nullptr ? fSetup.MainOptionList->Count() : 0;
  for (std::size_t i = 0; i < count; ++i) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(i).c_str()));
  }
  if (fHost.enableNext) fHost.enableNext(fSetup.Installsize() > 0);
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);

  fSetup.SetFreeDiskSpace(GetDiskFreeSpace(currentDir));
  const std::int64_t free = fSetup.FreeDiskSpace();
  SetText(Item(idOptFreeDiskSizeLabel), free < 0 ? "???" : FormatKb(free, fDecimal));
  RefreshDetails();
  return installTo;
}

TMainOption* TOptionsPage::OptionAt(int aIndex) const {
  if (aIndex < 0 || fSetup.MainOptionList == nullptr) return nullptr;
  const auto index = static_cast<std::size_t>(aIndex);
  return index < fSetup.MainOptionList->Count() ? fSetup.MainOptionList->Option(index) : nullptr;
}

int TOptionsPage::SelectedIndex() const {
  return static_cast<int>(SendMessageW(Item(idOptMainMenuListBox), LB_GETCURSEL, 0, 0));
}

void TOptionsPage::DrawOption(const DRAWITEMSTRUCT& aItem) {
  const TMainOption* option = OptionAt(static_cast<int>(aItem.itemID));
  if (option == nullptr) {
    FillRect(aItem.hDC, &aItem.rcItem, GetSysColorBrush(COLOR_WINDOW));
    return;
  }
  DrawCheckRow(aItem, option->GetState(), fSetup.TranslateText(option->Caption, true),
               FormatKb(option->GetSize(), fDecimal) + " Kb", fScale);
}

void TOptionsPage::RefreshDetails() {
  SetText(Item(idOptInstallSizeLabel), FormatKb(fSetup.Installsize(), fDecimal));
  const TMainOption* option = OptionAt(SelectedIndex());
  if (option == nullptr) return;
  SetText(Item(idOptDetailLabel), fSetup.TranslateText(option->Describe, true));
  const HWND edit = Item(idOptPathEdit);
  if (GetFocus() != edit) {
    SetText(edit, option->Path);
    SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  }
  SetText(Item(idOptSelectedLabel),
          FormatText(LanguageText(txt::Ioptions_3), {option->GetSelectedOptions(), option->SubOption.Count()}));
}

void TOptionsPage::SetInstallsize(long long aBytes) {
  fSetup.SetInstallsize(aBytes);
  if (fHost.enableNext) fHost.enableNext(aBytes > 0);
}

void TOptionsPage::Toggle(int aIndex) {
  TMainOption* option = OptionAt(aIndex);
  if (option == nullptr) return;
  std::int64_t total = fSetup.Installsize();
  switch (ToggleMainOption(*option, total)) {
    case TToggleOutcome::None:
      return;
    case TToggleOutcome::OpenSubOptions:
      EditSubOptions(aIndex);
      return;
    case TToggleOutcome::Selected:
    case TToggleOutcome::Cleared:
      SetInstallsize(total);
      break;
  }
  InvalidateRect(Item(idOptMainMenuListBox), nullptr, TRUE);
  RefreshDetails();
}

void TOptionsPage::EditSubOptions(int aIndex) {
  TMainOption* option = OptionAt(aIndex);
  if (option == nullptr) return;
  const std::int64_t before = option->GetSize();
  TIOptionsSubMenuForm form(fHost.wizard != nullptr ? fHost.wizard : GetAncestor(fHandle, GA_ROOT), fScale, fFont);
  form.SetSetup(fSetup);
  form.SetMainOption(*option);
  form.ShowModal();
  if (form.IsOptionChanged()) SetInstallsize(ResizedTotal(fSetup.Installsize(), before, *option));
  InvalidateRect(Item(idOptMainMenuListBox), nullptr, TRUE);
  RefreshDetails();
  if (fHost.wizard != nullptr) RedrawWindow(fHost.wizard, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TOptionsPage::ChangePath(const std::string& aPath) {
  TMainOption* option = OptionAt(SelectedIndex());
  if (option != nullptr) ChangeOptionPath(*option, aPath);
}

void TOptionsPage::PathEditExit() {
  const HWND edit = Item(idOptPathEdit);
  if (SendMessageW(edit, EM_GETMODIFY, 0, 0) == 0) return;
  ChangePath(GetText(edit));
  SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
}

void TOptionsPage::ChDirBtnClick() {
  const std::optional<std::string> folder = PickFolder(fHost.wizard != nullptr ? fHost.wizard : fHandle,
                                                       LanguageText(txt::Browse_0), "");
  if (folder) ChangePath(*folder);
  // Back in the list, the selected row shows the option's folder, changed or not.
  SetFocus(Item(idOptMainMenuListBox));
  RefreshDetails();
}

INT_PTR TOptionsPage::HandleMessage(UINT aMsg, WPARAM wParam, LPARAM lParam) {
  switch (aMsg) {
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != idOptMainMenuListBox) return FALSE;
      DrawOption(*item);
      return TRUE;
    }
    case kCheckListToggle:
      Toggle(static_cast<int>(lParam));
      return TRUE;
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_SHOWWINDOW:
      // Leaving the page while the folder is being typed keeps what was typed.
      if (wParam == FALSE) PathEditExit();
      return FALSE;
    default:
      return FALSE;
  }
}

bool TOptionsPage::OnCommand(int aId, int aCode) {
  if (aId == idOptMainMenuListBox && (aCode == LBN_SELCHANGE || aCode == LBN_SETFOCUS)) {
    RefreshDetails();
  } else if ((aId == idOptMainMenuListBox && aCode == LBN_DBLCLK) ||
             (aId == idOptChangeOptionBtn && aCode == BN_CLICKED)) {
    EditSubOptions(SelectedIndex());
  } else if (aId == idOptChDirBtn && aCode == BN_CLICKED) {
    ChDirBtnClick();
  } else if (aId == idOptPathEdit && aCode == EN_KILLFOCUS) {
    PathEditExit();
  } else {
    return false;
  }
  return true;
}

}  // namespace vek
