#include "ui/SubOptionForm.h"

#include <commctrl.h>

#include <algorithm>

#include "base/Format.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/OptionSelection.h"
#include "script/SubOptionSelection.h"
#include "system/DecimalSeparator.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/WinText.h"
#include "ui/CheckList.h"
#include "ui/Msgdlg.h"

namespace vek {

namespace {

// The form's client area at 96 DPI.
constexpr int kFormWidth = 480;
constexpr int kFormHeight = 400;

std::string TextOf(TSetupEngine* aSetup, const std::string& aText) {
  return aSetup != nullptr ? aSetup->TranslateText(aText, true) : aText;
}

}  // namespace

TIOptionsSubMenuForm::TIOptionsSubMenuForm(HWND aOwner, const TUiScale& aScale, HFONT aFont)
    : fOwner(aOwner), fScale(aScale), fFont(aFont), fDecimal(UserDecimalSeparator()) {}

TIOptionsSubMenuForm::~TIOptionsSubMenuForm() = default;

void TIOptionsSubMenuForm::SetMainOption(TMainOption& aOption) {
  FMainOption = &aOption;
  fSelection = std::make_unique<TSubOptionSelection>(aOption, FSetupEngine != nullptr ? FSetupEngine->Installsize() : 0);
}

void TIOptionsSubMenuForm::ShowModal() {
  fIsOptionChanged = false;
  RunModal(fOwner, LanguageText(txt::IoptSubm_0));
}

void TIOptionsSubMenuForm::FormCreate() {
  const HWND form = Window();
  const bool update = FSetupEngine != nullptr && FSetupEngine->InstallMode() != 1;
  const DWORD label = SS_LEFT | SS_NOPREFIX;
  CreateControl(form, L"STATIC", LanguageText(update ? txt::IoptSubm_Update : txt::IoptSubm_1), label, idSubMainLabel);
  CreateCheckList(form, idSubMenuListBox, fScale);
  CreateControl(form, L"STATIC", "", label | SS_SUNKEN, idSubOptionDetailLabel);
  CreateControl(form, L"BUTTON", LanguageText(update ? txt::IoptSubm_UpdateGroup : txt::IoptSubm_InstallGroup), BS_GROUPBOX, idSubGroupBox1);
  const HWND edit = CreateControl(form, L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, idSubSelectFilesEdit, WS_EX_CLIENTEDGE);
  CreateControl(form, L"STATIC", LanguageText(txt::Ioptions_1), label, idSubISLabel);
  CreateControl(form, L"STATIC", "", SS_RIGHT | SS_NOPREFIX, idSubInstallSizeLabel);
  CreateControl(form, L"STATIC", "Kb", label, idSubISUnitLabel);
  CreateControl(form, L"STATIC", LanguageText(txt::Ioptions_2) + " " + ExtractDriveOrShare(GetCurrentDir()), label,
                idSubDSLabel);
  CreateControl(form, L"STATIC", "", SS_RIGHT | SS_NOPREFIX, idSubFreeDiskSizeLabel);
  CreateControl(form, L"STATIC", "Kb", label, idSubDSUnitLabel);
  CreateControl(form, L"STATIC", "", SS_ETCHEDHORZ, idSubBevel1);
  CreateControl(form, L"BUTTON", LanguageText(txt::contr_SelectAll), WS_TABSTOP | BS_PUSHBUTTON, idSubSelectAllBtn);
  CreateControl(form, L"BUTTON", LanguageText(txt::contr_ClearAll), WS_TABSTOP | BS_PUSHBUTTON, idSubClearAllBtn);
  CreateControl(form, L"BUTTON", LanguageText(txt::contr_Ok), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
  CreateControl(form, L"BUTTON", LanguageText(txt::contr_Cancel), WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);

  // The hint of the pattern edit: a tool tip, and the same text inside it while it is empty.
  const std::wstring hint = Wide(LanguageText(txt::IoptSubm_MaskHint));
  SendMessageW(edit, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(hint.c_str()));
  if (const HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, form, nullptr,
                                       GetModuleHandleW(nullptr), nullptr)) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(edit);
    tool.lpszText = const_cast<wchar_t*>(hint.c_str());
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }

  const HWND list = Item(idSubMenuListBox);
  const std::size_t count = fSelection != nullptr ? fSelection->Count() : 0;
  for (std::size_t k = 0; k < count; ++k) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(k).c_str()));
  }
  if (count > 0) SendMessageW(list, LB_SETCURSEL, 0, 0);
  const std::int64_t free = FSetupEngine != nullptr ? FSetupEngine->FreeDiskSpace() : -1;
  SetText(Item(idSubFreeDiskSizeLabel), free < 0 ? "???" : FormatKb(free, fDecimal));
  SetChildFonts(form, fFont);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, CheckListRowHeight(list, fFont, fScale));
  LayoutControls();
  PlaceOverOwner();
  ShowSelectedRow();
  ShowTotal();
  SetFocus(list);
}

void TIOptionsSubMenuForm::LayoutControls() {
  const auto px = [&](int a) { return fScale.Px(a); };
  const int gap = px(8);
  // One width for the four buttons, wide enough for the longest caption of the language; the
  // form grows when they need more room than it has.
  int buttonWidth = px(100);
  for (const int id : {static_cast<int>(idSubSelectAllBtn), static_cast<int>(idSubClearAllBtn), IDOK, IDCANCEL}) {
    buttonWidth = ButtonWidth(Item(id), fFont, buttonWidth, px(16));
  }
  const int width = std::max(px(kFormWidth), 4 * buttonWidth + 6 * gap);
  fClientWidth = width;
  const int inner = width - 2 * gap;
  const int line = px(20);
  const int button = px(26);
  const int height = px(kFormHeight);
  const int buttonsTop = height - gap - button;
  const int bevelTop = buttonsTop - gap;
  const int sizesTop = bevelTop - gap - 2 * line;
  const int groupHeight = px(56);
  const int groupTop = sizesTop - gap - groupHeight;
  const int detailHeight = px(48);
  const int detailTop = groupTop - gap - detailHeight;
  const int listTop = gap + line + px(4);

  PlaceControl(Item(idSubMainLabel), gap, gap, inner, line);
  PlaceControl(Item(idSubMenuListBox), gap, listTop, inner, detailTop - gap - listTop);
  PlaceControl(Item(idSubOptionDetailLabel), gap, detailTop, inner, detailHeight);
  PlaceControl(Item(idSubGroupBox1), gap, groupTop, inner, groupHeight);
  PlaceControl(Item(idSubSelectFilesEdit), 2 * gap, groupTop + px(22), inner - 2 * gap, px(24));
  const int unitWidth = px(30);
  const int valueWidth = px(110);
  const int labelWidth = inner - unitWidth - valueWidth - 2 * gap;
  for (int row = 0; row < 2; ++row) {
    const int top = sizesTop + row * line;
    const int first = row == 0 ? idSubISLabel : idSubDSLabel;
    PlaceControl(Item(first), gap, top, labelWidth, line);
    PlaceControl(Item(first + 1), gap + labelWidth + gap, top, valueWidth, line);
    PlaceControl(Item(first + 2), width - gap - unitWidth, top, unitWidth, line);
  }
  PlaceControl(Item(idSubBevel1), gap, bevelTop, inner, px(2));
  PlaceControl(Item(idSubSelectAllBtn), gap, buttonsTop, buttonWidth, button);
  PlaceControl(Item(idSubClearAllBtn), 2 * gap + buttonWidth, buttonsTop, buttonWidth, button);
  PlaceControl(Item(IDOK), width - 2 * (gap + buttonWidth), buttonsTop, buttonWidth, button);
  PlaceControl(Item(IDCANCEL), width - gap - buttonWidth, buttonsTop, buttonWidth, button);
}

void TIOptionsSubMenuForm::PlaceOverOwner() {
  const HWND form = Window();
  RECT frame{0, 0, fClientWidth, fScale.Px(kFormHeight)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(form, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(form, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  // The form's client area lies where the wizard's does: its frame starts one caption higher.
  POINT origin{0, 0};
  if (fOwner != nullptr) ClientToScreen(fOwner, &origin);
  int left = origin.x;
  int top = origin.y - GetSystemMetrics(SM_CYCAPTION);
  // Never outside the work area of the wizard's monitor.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromWindow(fOwner != nullptr ? fOwner : form, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    if (left + width > work.right) left = work.right - width;
    if (top + height > work.bottom) top = work.bottom - height;
    if (left < work.left) left = work.left;
    if (top < work.top) top = work.top;
  }
  SetWindowPos(form, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int TIOptionsSubMenuForm::SelectedRow() const {
  const auto row = static_cast<int>(SendMessageW(Item(idSubMenuListBox), LB_GETCURSEL, 0, 0));
  return fSelection != nullptr && row >= 0 && static_cast<std::size_t>(row) < fSelection->Count() ? row : -1;
}

void TIOptionsSubMenuForm::DrawRow(const DRAWITEMSTRUCT& aItem) {
  if (fSelection == nullptr || aItem.itemID >= fSelection->Count()) {
    FillRect(aItem.hDC, &aItem.rcItem, GetSysColorBrush(COLOR_WINDOW));
    return;
  }
  const TSubOption& sub = fSelection->Item(aItem.itemID);
  const TSubOptionRowText text = SubOptionRowText(sub, TextOf(FSetupEngine, sub.Caption), fDecimal);
  DrawCheckRow(aItem, sub.State, text.Caption, text.Size, fScale);
}

void TIOptionsSubMenuForm::ShowSelectedRow() {
  const int row = SelectedRow();
  if (row < 0) return;
  const TSubOption& sub = fSelection->Item(static_cast<std::size_t>(row));
  SetText(Item(idSubOptionDetailLabel), TextOf(FSetupEngine, sub.Describe));
  SetText(Item(idSubSelectFilesEdit), sub.Files);
}

void TIOptionsSubMenuForm::ShowTotal() {
  SetText(Item(idSubInstallSizeLabel), FormatKb(fSelection != nullptr ? fSelection->Total() : 0, fDecimal));
}

void TIOptionsSubMenuForm::Repaint() {
  InvalidateRect(Item(idSubMenuListBox), nullptr, TRUE);
  ShowTotal();
}

bool TIOptionsSubMenuForm::SelectFilesBtnClick() {
  const int row = SelectedRow();
  if (row < 0) return true;
  const HWND edit = Item(idSubSelectFilesEdit);
  const std::string patterns = GetText(edit);
  if (!fSelection->SetFiles(static_cast<std::size_t>(row), patterns)) {
    MessageOk(LanguageText(txt::Msg_SetupError), FormatText(LanguageText(txt::IoptSubm_BadMask), {patterns}), mtError);
    SetFocus(edit);
    return false;
  }
  Repaint();
  return true;
}

void TIOptionsSubMenuForm::OkBtnClick() {
  // Patterns typed but not yet applied with Enter count as well; refused ones keep the form open.
  const int row = SelectedRow();
  if (row >= 0 && GetText(Item(idSubSelectFilesEdit)) != fSelection->Item(static_cast<std::size_t>(row)).Files &&
      !SelectFilesBtnClick()) {
    return;
  }
  if (FMainOption != nullptr && fSelection != nullptr) fSelection->WriteBack(*FMainOption);
  fIsOptionChanged = true;
  EndDialog(Window(), IDOK);
}

INT_PTR TIOptionsSubMenuForm::HandleMessage(UINT aMsg, WPARAM wParam, LPARAM lParam) {
  switch (aMsg) {
    case WM_INITDIALOG:
      FormCreate();
      return FALSE;  // the focus is set
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != idSubMenuListBox) return FALSE;
      DrawRow(*item);
      return TRUE;
    }
    case kCheckListToggle:
      if (fSelection != nullptr && lParam >= 0 && static_cast<std::size_t>(lParam) < fSelection->Count()) {
        fSelection->Toggle(static_cast<std::size_t>(lParam));
        Repaint();
      }
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == idSubMenuListBox && code == LBN_SELCHANGE) {
        ShowSelectedRow();
      } else if (id == idSubMenuListBox && code == LBN_DBLCLK) {
        SetFocus(Item(idSubSelectFilesEdit));
      } else if (id == idSubSelectAllBtn && code == BN_CLICKED) {
        if (fSelection != nullptr) fSelection->SelectAll();
        Repaint();
      } else if (id == idSubClearAllBtn && code == BN_CLICKED) {
        if (fSelection != nullptr) fSelection->ClearAll();
        Repaint();
      } else if (id == IDOK) {
        // Enter in the pattern edit applies the patterns; everywhere else it is OK.
        if (GetFocus() == Item(idSubSelectFilesEdit)) {
          SelectFilesBtnClick();
        } else {
          OkBtnClick();
        }
      } else if (id == IDCANCEL) {
        fIsOptionChanged = false;
        EndDialog(Window(), IDCANCEL);
      } else {
        return FALSE;
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace vek
