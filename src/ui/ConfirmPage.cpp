#include "ui/ConfirmPage.h"

#include "base/Format.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/ConfirmRows.h"
#include "script/TargetSpace.h"
#include "system/Drives.h"
#include "system/PathText.h"
#include "system/WinText.h"
#include "ui/DialogWindow.h"
#include "ui/Msgdlg.h"

namespace vek {


namespace {

// Stops a list from repainting until the scope ends, also when it ends by an exception.
class TRedrawPause {
 public:
  explicit TRedrawPause(HWND aList) : fList(aList) { SendMessageW(fList, WM_SETREDRAW, FALSE, 0); }
  TRedrawPause(const TRedrawPause&) = delete;
  TRedrawPause& operator=(const TRedrawPause&) = delete;
  ~TRedrawPause() {
    SendMessageW(fList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(fList, nullptr, TRUE);
  }

 private:
  HWND fList;
};

long TextWidth(HDC aDc, const std::string& aText) {
  const std::wstring text = Wide(aText);
  SIZE extent{};
  GetTextExtentPoint32W(aDc, text.c_str(), static_cast<int>(text.size()), &extent);
  return extent.cx;
}

void DrawAt(HDC aDc, int aX, int aY, const std::string& aText) {
  const std::wstring text = Wide(aText);
  TextOutW(aDc, aX, aY, text.c_str(), static_cast<int>(text.size()));
}

std::string ItemText(HWND aList, UINT aItem) {
  const auto length = SendMessageW(aList, LB_GETTEXTLEN, aItem, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(aList, LB_GETTEXT, aItem, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return Narrow(text);
}

std::int64_t FreeSpaceOf(const std::string& aPath) { return GetDiskFreeSpace(aPath); }

}  // namespace

TConfirmPage::TConfirmPage(TSetupEngine& aSetup) : fSetup(aSetup) {}

TConfirmPage::~TConfirmPage() = default;

HWND TConfirmPage::Item(int aId) const { return GetDlgItem(fHandle, aId); }

void TConfirmPage::Create(HWND aParent, const TWizardHost& aHost) {
  fHost = aHost;
  auto window = std::make_unique<TChildDialog<TConfirmPage>>(*this);
  window->Create(aParent);
  fWindow = std::move(window);
  fHandle = fWindow->Window();
  if (fHandle == nullptr) return;
  CreateControl(fHandle, L"STATIC", "", SS_LEFT | SS_NOPREFIX, idConfirmTitle);
  CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                      LBS_NOINTEGRALHEIGHT,
                  0, 0, 10, 10, fHandle, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idConFirmListBox)),
                  GetModuleHandleW(nullptr), nullptr);
  const HWND error = CreateControl(fHandle, L"STATIC", "", SS_LEFT | SS_NOPREFIX, idConfirmErrorLabel);
  ShowWindow(error, SW_HIDE);
}

void TConfirmPage::Layout(const RECT& aRect, const TUiScale& aScale, HFONT aFont, HFONT aBoldFont) {
  if (fHandle == nullptr) return;
  fScale = aScale;
  fFont = aFont;
  fBoldFont = aBoldFont != nullptr ? aBoldFont : aFont;
  const int width = aRect.right - aRect.left;
  const int height = aRect.bottom - aRect.top;
  PlaceControl(fHandle, aRect.left, aRect.top, width, height);
  SetChildFonts(fHandle, aFont);
  SendMessageW(Item(idConfirmTitle), WM_SETFONT, reinterpret_cast<WPARAM>(fBoldFont), TRUE);
  const HWND list = Item(idConFirmListBox);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, FontHeight(list, fBoldFont) + aScale.Px(6));
  const int line = aScale.Px(20);
  const int errorHeight = aScale.Px(64);
  PlaceControl(Item(idConfirmTitle), 0, 0, width, line);
  PlaceControl(list, 0, line + aScale.Px(4), width, height - line - aScale.Px(12) - errorHeight);
  PlaceControl(Item(idConfirmErrorLabel), 0, height - errorHeight, width, errorHeight);
}

void TConfirmPage::Prepare(const std::string& aTitle) {
  SetText(Item(idConfirmTitle), aTitle);
  const HWND list = Item(idConFirmListBox);
  {
    const TRedrawPause pause(list);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    if (fSetup.MainOptionList != nullptr) {
      for (const std::string& row : ConfirmRowTexts(*fSetup.MainOptionList)) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(row).c_str()));
      }
    }
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
  CheckFreeSpace();
}

void TConfirmPage::CheckFreeSpace() {
  const HWND error = Item(idConfirmErrorLabel);
  std::string errorText = LanguageText(txt::Iconfirm_SpaceErr);
  ShowWindow(error, SW_HIDE);
  if (fSetup.MainOptionList == nullptr) return;
  // Folders on one drive share its free space: the needs are summed per drive or share.
  for (const TSpaceShortage& shortage : SpaceShortages(DriveSpaceNeeds(*fSetup.MainOptionList), FreeSpaceOf)) {
    const std::int64_t freeKb = shortage.Free / 1024;
    const std::int64_t needKb = shortage.Need / 1024;
    MessageOk(LanguageText(txt::Msg_Warning), FormatText(LanguageText(txt::Iconfirm_NoSpace), {freeKb, shortage.Drive, needKb}),
              mtWarning);
    errorText += FormatText(LanguageText(txt::Iconfirm_DriveSpace), {shortage.Drive + "\r\n", freeKb, needKb});
    SetText(error, errorText);
    ShowWindow(error, SW_SHOW);
  }
}

void TConfirmPage::DrawRow(const DRAWITEMSTRUCT& aItem) {
  const HDC dc = aItem.hDC;
  RECT row = aItem.rcItem;
  const bool selected = (aItem.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &row, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const std::optional<TConfirmRow> what = ParseConfirmRow(ItemText(aItem.hwndItem, aItem.itemID));
  if (!what || fSetup.MainOptionList == nullptr || what->Main >= fSetup.MainOptionList->Count()) return;
  const TMainOption* main = fSetup.MainOptionList->Option(what->Main);
  if (main == nullptr) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const int top = row.top + fScale.Px(3);
  const HGDIOBJ old = SelectObject(dc, fBoldFont);
  if (!what->Sub) {
    DrawAt(dc, row.left + fScale.Px(2), top, fSetup.TranslateText(main->Caption, true));
  } else if (*what->Sub < main->SubOption.Count()) {
    if (const TSubOption* sub = main->SubOptionAt(*what->Sub)) {
      SelectObject(dc, fFont);
      const std::string lead = FormatText(LanguageText(txt::Iconfirm_SubTo), {fSetup.TranslateText(sub->Caption, true)});
      DrawAt(dc, row.left + fScale.Px(16), top, lead);
      const long leadWidth = TextWidth(dc, lead);
      SelectObject(dc, fBoldFont);
      const std::int64_t sizeKb = sub->Size / 1024;
      const long sizeWidth = TextWidth(dc, FormatText("(%d)", {sizeKb}));
      const long room = (row.right - row.left) - (leadWidth + fScale.Px(16)) - sizeWidth;
      const long margin = fScale.Px(sub->LibAlias.empty() ? 18 : 2);
      const std::string folder = FitPathToWidth(
          SubOptionTarget(*main, *sub), [&](std::string_view aText) { return TextWidth(dc, std::string(aText)); },
          room - margin);
      DrawAt(dc, row.left + static_cast<int>(leadWidth) + fScale.Px(16), top,
             FormatText("%s (%dKb)", {folder, sizeKb}));
    }
  }
  SelectObject(dc, old);
}

INT_PTR TConfirmPage::HandleMessage(UINT aMsg, WPARAM wParam, LPARAM lParam) {
  switch (aMsg) {
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != idConFirmListBox) return FALSE;
      DrawRow(*item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      // The shortage stands out in red; the other labels keep the dialog's colours.
      if (reinterpret_cast<HWND>(lParam) != Item(idConfirmErrorLabel)) return FALSE;
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(192, 0, 0));
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    default:
      return FALSE;
  }
}

}  // namespace vek
