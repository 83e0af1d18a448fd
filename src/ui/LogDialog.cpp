// The log dialog: Memo1 (the lines), a button bar with okBtn and SaveBtn, and a status bar that
// tells where the log was saved. Resizable; the figures are for 96 DPI and scaled.
#include "ui/LogDialog.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <string>

#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/Files.h"
#include "system/SysResult.h"
#include "system/WinText.h"
#include "ui/DialogFrame.h"
#include "ui/LogText.h"
#include "ui/MessageLayout.h"
#include "ui/Msgdlg.h"

namespace vek {
namespace {

constexpr int kMemoId = 1001;
constexpr int kSaveId = 1002;
constexpr int kStatusId = 1003;
// At 96 DPI.
constexpr int kWidth = 560, kHeight = 380;
constexpr int kMinWidth = 300, kMinHeight = 200;
constexpr int kMargin = 8, kButtonWidth = 81, kButtonHeight = 25, kButtonGap = 8;

std::wstring WideText(int aId) { return Wide(LanguageText(aId)); }

class TLogDialog {
 public:
  void Execute(const std::vector<std::string>& aLog, const std::string& aCaption) {
    fText = Wide(LogText(aLog));
    fCaption = aCaption.empty() ? WideText(txt::LogDlg_Caption) : Wide(aCaption);
    RunModalDialog(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, &DialogProcOf<TLogDialog>,
                   reinterpret_cast<LPARAM>(this));
  }

 private:
  friend INT_PTR CALLBACK DialogProcOf<TLogDialog>(HWND, UINT, WPARAM, LPARAM) noexcept;

  INT_PTR Handle(HWND aDialog, UINT aMessage, WPARAM aW, LPARAM aL) {
    switch (aMessage) {
      case WM_INITDIALOG: return FormCreate(aDialog);
      case WM_SIZE: Layout(); return TRUE;
      case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(aL);
        const UINT dpi = WindowDpi(aDialog);
        limits->ptMinTrackSize = {ScaleTo(kMinWidth, static_cast<int>(dpi)), ScaleTo(kMinHeight, static_cast<int>(dpi))};
        return TRUE;
      }
      case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(aL);
        ::SetWindowPos(fDialog, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        Layout();
        return TRUE;
      }
      case WM_COMMAND:
        switch (LOWORD(aW)) {
          case IDOK:
          case IDCANCEL: ::EndDialog(fDialog, IDOK); return TRUE;
          case kSaveId: SaveBtnClick(); return TRUE;
          default: return FALSE;
        }
      default: return FALSE;
    }
  }

  BOOL FormCreate(HWND aDialog) {
    fDialog = aDialog;
    ::SetWindowTextW(fDialog, fCaption.c_str());
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    Memo1 = Create(WS_EX_CLIENTEDGE, L"EDIT", L"",
                   WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL, kMemoId, instance);
    ::SendMessageW(Memo1, EM_SETLIMITTEXT, 0, 0);
    ::SetWindowTextW(Memo1, fText.c_str());
    okBtn = Create(0, L"BUTTON", WideText(txt::MsgDlg_Ok).c_str(), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, instance);
    SaveBtn = Create(0, L"BUTTON", WideText(txt::LogDlg_Save).c_str(), WS_TABSTOP | BS_PUSHBUTTON, kSaveId, instance);
    StatusBar1 = Create(0, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, kStatusId, instance);
    CenterInWorkArea(fDialog, ::GetWindow(fDialog, GW_OWNER));
    const int dpi = static_cast<int>(WindowDpi(fDialog));
    const RECT work = WorkArea(fDialog);
    const int width = std::min<int>(ScaleTo(kWidth, dpi), work.right - work.left);
    const int height = std::min<int>(ScaleTo(kHeight, dpi), work.bottom - work.top);
    ::SetWindowPos(fDialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterInWorkArea(fDialog, ::GetWindow(fDialog, GW_OWNER));
    Layout();
    ::SetFocus(okBtn);
    return FALSE;
  }

  HWND Create(DWORD aExStyle, const wchar_t* aClass, const wchar_t* aText, DWORD aStyle, int aId, HINSTANCE aInstance) {
    return ::CreateWindowExW(aExStyle, aClass, aText, WS_CHILD | WS_VISIBLE | aStyle, 0, 0, 0, 0, fDialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(aId)), aInstance, nullptr);
  }

  // Memo1 fills the dialog above the button bar (Panel1: the buttons at the right) and the
  // status bar at the bottom.
  void Layout() {
    if (!Memo1) return;
    const int dpi = static_cast<int>(WindowDpi(fDialog));
    fFont = SystemFont(static_cast<UINT>(dpi));
    for (HWND control : {Memo1, okBtn, SaveBtn, StatusBar1}) {
      ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fFont.get()), TRUE);
    }
    ::SendMessageW(StatusBar1, WM_SIZE, 0, 0);
    RECT client{}, status{};
    ::GetClientRect(fDialog, &client);
    ::GetWindowRect(StatusBar1, &status);
    const int statusHeight = status.bottom - status.top;
    const int margin = ScaleTo(kMargin, dpi);
    const int buttonWidth = std::max(ScaleTo(kButtonWidth, dpi), ButtonTextWidth() + 2 * margin);
    const int buttonHeight = ScaleTo(kButtonHeight, dpi);
    const int buttonTop = client.bottom - statusHeight - margin - buttonHeight;
    int left = client.right - margin - buttonWidth;
    Move(okBtn, left, buttonTop, buttonWidth, buttonHeight);
    left -= ScaleTo(kButtonGap, dpi) + buttonWidth;
    Move(SaveBtn, left, buttonTop, buttonWidth, buttonHeight);
    Move(Memo1, margin, margin, client.right - 2 * margin, buttonTop - 2 * margin);
  }

  int ButtonTextWidth() const {
    HDC dc = ::GetDC(fDialog);
    const HGDIOBJ previous = ::SelectObject(dc, fFont.get());
    const int width = std::max(TextSize(dc, WideText(txt::MsgDlg_Ok), true).cx,
                               TextSize(dc, WideText(txt::LogDlg_Save), true).cx);
    ::SelectObject(dc, previous);
    ::ReleaseDC(fDialog, dc);
    return width;
  }

  static void Move(HWND aControl, int aLeft, int aTop, int aWidth, int aHeight) {
    ::SetWindowPos(aControl, nullptr, aLeft, aTop, std::max(aWidth, 0), std::max(aHeight, 0),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Saves the lines where the user says; a failure says why and the dialog stays open.
  void SaveBtnClick() {
    std::wstring file(MAX_PATH * 4, L'\0');
    const std::u16string filter = FileDialogFilter(std::u16string(
        reinterpret_cast<const char16_t*>(WideText(txt::LogDlg_Filter).c_str())));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = fDialog;
    dialog.lpstrFilter = reinterpret_cast<const wchar_t*>(filter.c_str());
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = L"txt";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetSaveFileNameW(&dialog)) return;
    file.resize(std::wcslen(file.c_str()));
    const std::string path = Narrow(file);
    const SysResult saved = WriteWholeFile(path, Narrow(fText));
    if (!saved) {
      MessageOk(Narrow(fCaption), FailureLine("Save", path, saved), mtError);
      return;
    }
    ::SetWindowTextW(StatusBar1, file.c_str());
  }

  std::wstring fText;
  std::wstring fCaption;
  HWND fDialog = nullptr;
  HWND Memo1 = nullptr;
  HWND okBtn = nullptr;
  HWND SaveBtn = nullptr;
  HWND StatusBar1 = nullptr;
  UniqueFont fFont;
};

}  // namespace

void ShowLogDialog(const std::vector<std::string>& aLog, const std::string& aCaption) {
  TLogDialog dialog;
  dialog.Execute(aLog, aCaption);
}

}  // namespace vek
