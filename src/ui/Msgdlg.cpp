// The message dialog, built for each call: the message's lines as labels centred right of the
// type's system icon, an optional check box, and up to four buttons with the caller's captions
// in a centred row. Where each part goes is MessageLayout's arithmetic; this file measures the
// texts, creates the controls and runs the dialog.
#include "ui/Msgdlg.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/SystemLibrary.h"
#include "system/WinText.h"
#include "ui/DialogFrame.h"
#include "ui/MessageLayout.h"

namespace vek {
namespace {

constexpr int kMaxButtons = 4;
// Control ids. The buttons are not IDOK and IDCANCEL: Esc and the close box send IDCANCEL,
// which must end the dialog without a button.
constexpr int kImageId = 1000;
constexpr int kFirstButtonId = 1001;  // Button1 to Button4: 1001 to 1004
constexpr int kCheckBoxId = 1005;
constexpr int kTextAreaId = 1006;
constexpr int kFirstLineId = 1100;    // Line1, Line2...: 1101, 1102...

// The system icon of a dialog type: only the low seven bits of the type count.
LPCWSTR TypeIcon(int aType) {
  switch (aType & 0x7F) {
    case mtWarning: return IDI_WARNING;
    case mtError: return IDI_ERROR;
    case mtInformation: return IDI_INFORMATION;
    case mtConfirmation: return IDI_QUESTION;
    default: return nullptr;  // mtCustom and values beyond the table
  }
}

// The icon drawn for its size (the common controls of version 6 have the function; older ones
// get the standard icon scaled). The manifest's activation context redirects the system
// folder's comctl32.dll to version 6 as it does the bare name.
UniqueIcon LoadTypeIcon(LPCWSTR aIcon, int aSize) {
  using LoadScaledFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  static const auto loadScaled = reinterpret_cast<LoadScaledFn>(
      reinterpret_cast<void*>(::GetProcAddress(LoadSystemLibrary(L"comctl32.dll"), "LoadIconWithScaleDown")));
  HICON icon = nullptr;
  if (!loadScaled || FAILED(loadScaled(nullptr, aIcon, aSize, aSize, &icon))) {
    icon = static_cast<HICON>(::CopyImage(::LoadIconW(nullptr, aIcon), IMAGE_ICON, aSize, aSize, 0));
  }
  return UniqueIcon(icon);
}

struct TMessageRequest {
  std::wstring caption;
  std::vector<std::string> lines;
  int type = mtInformation;
  std::vector<std::wstring> buttons;
  bool showCheckBox = false;
  std::wstring checkCaption;
  bool checked = false;
};

class TMessageDialog {
 public:
  explicit TMessageDialog(TMessageRequest aRequest) : fRequest(std::move(aRequest)) {}

  // The number of the button that ended the dialog, or 0 (Esc, the close box).
  std::uint16_t Execute() {
    const INT_PTR result = RunModalDialog(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, &DialogProcOf<TMessageDialog>,
                                          reinterpret_cast<LPARAM>(this));
    return ButtonClicked && result > 0 ? static_cast<std::uint16_t>(result & 0xFFFF) : 0;
  }
  bool Checked() const { return fRequest.checked; }

 private:
  friend INT_PTR CALLBACK DialogProcOf<TMessageDialog>(HWND, UINT, WPARAM, LPARAM) noexcept;

  INT_PTR Handle(HWND aDialog, UINT aMessage, WPARAM aW, LPARAM aL) {
    switch (aMessage) {
      case WM_INITDIALOG: return FormCreate(aDialog);
      case WM_COMMAND: return Command(LOWORD(aW));
      case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(aL);
        ::SetWindowPos(fDialog, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
        Layout();
        return TRUE;
      }
      default: return FALSE;
    }
  }

  BOOL FormCreate(HWND aDialog) {
    fDialog = aDialog;
    ButtonClicked = false;
    ::SetWindowTextW(fDialog, fRequest.caption.c_str());
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (TypeIcon(fRequest.type)) {
      Image = Create(L"STATIC", L"", SS_ICON | SS_REALSIZECONTROL, kImageId, instance);
    }
    // Created in the order Tab visits them: the check box above the buttons.
    if (fRequest.showCheckBox) {
      CheckBox1 = Create(L"BUTTON", fRequest.checkCaption.c_str(), WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, kCheckBoxId,
                         instance);
      ::SendMessageW(CheckBox1, BM_SETCHECK, fRequest.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    const std::size_t count = std::min<std::size_t>(fRequest.buttons.size(), kMaxButtons);
    for (std::size_t i = 0; i < count; ++i) {
      const DWORD style = WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (i == 0 ? WS_GROUP : 0);
      fButtons[i] = Create(L"BUTTON", fRequest.buttons[i].c_str(), style, kFirstButtonId + static_cast<int>(i), instance);
    }
    // On the owner's monitor first, so that the layout takes that monitor's DPI.
    CenterInWorkArea(fDialog, ::GetWindow(fDialog, GW_OWNER));
    Layout();
    CenterInWorkArea(fDialog, ::GetWindow(fDialog, GW_OWNER));
    if (count > 0) {
      ::SendMessageW(fDialog, DM_SETDEFID, kFirstButtonId, 0);
      ::SetFocus(fButtons[0]);
      return FALSE;  // the focus is set
    }
    return TRUE;
  }

  HWND Create(const wchar_t* aClass, const wchar_t* aText, DWORD aStyle, int aId, HINSTANCE aInstance) {
    return ::CreateWindowExW(0, aClass, aText, WS_CHILD | WS_VISIBLE | aStyle, 0, 0, 0, 0, fDialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(aId)), aInstance, nullptr);
  }

  BOOL Command(int aId) {
    if (aId >= kFirstButtonId && aId < kFirstButtonId + kMaxButtons && fButtons[aId - kFirstButtonId]) {
      ButtonClick(aId - kFirstButtonId + 1);
    } else if (aId == IDCANCEL) {
      Finish(-1);
    } else {
      return FALSE;
    }
    return TRUE;
  }

  void ButtonClick(int aNumber) {
    ButtonClicked = true;
    Finish(aNumber);
  }

  void Finish(INT_PTR aResult) {
    if (CheckBox1) fRequest.checked = ::SendMessageW(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED;
    ::EndDialog(fDialog, aResult);
  }

  // Measures every text at the window's DPI, wraps the lines to the work area, and places the
  // controls; again whenever the dialog moves to a monitor of another DPI.
  void Layout() {
    const UINT dpi = WindowDpi(fDialog);
    fFont = SystemFont(dpi);
    const UniqueFont captionFont = SystemFont(dpi, true);
    HDC dc = ::GetDC(fDialog);
    const HGDIOBJ previous = ::SelectObject(dc, captionFont.get());

    TMessageMetrics metrics;
    metrics.dpi = static_cast<int>(dpi);
    RECT window{}, client{};
    ::GetWindowRect(fDialog, &window);
    ::GetClientRect(fDialog, &client);
    metrics.frameWidth = (window.right - window.left) - client.right;
    metrics.frameHeight = (window.bottom - window.top) - client.bottom;
    const RECT work = WorkArea(fDialog);
    metrics.workWidth = work.right - work.left;
    metrics.workHeight = work.bottom - work.top;
    metrics.captionWidth = TextSize(dc, fRequest.caption).cx + SystemMetric(SM_CXSIZE, dpi);
    ::SelectObject(dc, fFont.get());
    TEXTMETRICW text{};
    ::GetTextMetricsW(dc, &text);
    metrics.lineHeight = text.tmHeight;
    metrics.iconSize = Image ? SystemMetric(SM_CXICON, dpi) : 0;
    metrics.scrollBarWidth = SystemMetric(SM_CXVSCROLL, dpi);
    metrics.buttonCount = static_cast<int>(std::min<std::size_t>(fRequest.buttons.size(), kMaxButtons));
    metrics.showCheckBox = fRequest.showCheckBox;
    metrics.checkTextWidth = TextSize(dc, fRequest.checkCaption, true).cx;
    metrics.checkBoxSize = ScaleTo(17, metrics.dpi);

    bool complete = true;
    const std::vector<std::wstring> lines = WrappedLines(dc, metrics, &complete);
    std::vector<int> widths;
    for (const std::wstring& line : lines) {
      widths.push_back(TextSize(dc, line).cx);
      LongestLine = std::max(LongestLine, widths.back());
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(fDialog, dc);

    const TMessageLayout layout = LayoutMessageDialog(metrics, widths, !complete);
    ::SetWindowPos(fDialog, nullptr, 0, 0, layout.width, layout.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceMessage(layout, lines);
    if (Image) {
      fIcon = LoadTypeIcon(TypeIcon(fRequest.type), metrics.iconSize);
      ::SendMessageW(Image, STM_SETICON, reinterpret_cast<WPARAM>(fIcon.get()), 0);
      Place(Image, layout.icon);
    }
    if (CheckBox1) Place(CheckBox1, layout.checkBox);
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) Place(fButtons[i], layout.buttons[i]);
    ::InvalidateRect(fDialog, nullptr, TRUE);
  }

  // The message's lines, each cut to the widest a line may be; stops once more lines came than
  // the work area holds (*aComplete false: the message then scrolls).
  std::vector<std::wstring> WrappedLines(HDC aDc, const TMessageMetrics& aMetrics, bool* aComplete) const {
    const std::size_t maxLines = MaxLineCount(aMetrics);
    const TTextFit fit = [aDc](std::u16string_view aText, int aWidth) -> std::size_t {
      // Nothing narrower than a pixel is drawn: more units than pixels never fit.
      const int count = static_cast<int>(std::min<std::size_t>(aText.size(), static_cast<std::size_t>(aWidth) + 1));
      int fits = 0;
      SIZE size{};
      ::GetTextExtentExPointW(aDc, reinterpret_cast<const wchar_t*>(aText.data()), count, aWidth, &fits, nullptr,
                              &size);
      return static_cast<std::size_t>(std::max(fits, 0));
    };
    std::vector<std::wstring> lines;
    *aComplete = true;
    for (const std::string& line : fRequest.lines) {
      const std::wstring wide = Wide(line);
      bool whole = true;
      for (const std::u16string& piece :
           WrapLine(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()),
                    MaxLineWidth(aMetrics), fit, maxLines + 1 - lines.size(), &whole)) {
        lines.emplace_back(piece.begin(), piece.end());
      }
      if (!whole || lines.size() > maxLines) {
        *aComplete = false;
        break;
      }
    }
    return lines;
  }

  // The labels Line1, Line2..., or for a message taller than the work area one read-only text
  // area that scrolls and holds the whole message.
  void PlaceMessage(const TMessageLayout& aLayout, const std::vector<std::wstring>& aLines) {
    for (HWND label : fLines) ::DestroyWindow(label);
    fLines.clear();
    LineCount = 0;
    if (fTextArea) ::DestroyWindow(fTextArea);
    fTextArea = nullptr;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (aLayout.scrolling) {
      std::wstring text;
      for (const std::string& line : fRequest.lines) text += (text.empty() ? L"" : L"\r\n") + Wide(line);
      fTextArea = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
                                    0, 0, 0, 0, fDialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextAreaId)),
                                    instance, nullptr);
      ::SendMessageW(fTextArea, EM_SETLIMITTEXT, 0, 0);
      ::SetWindowTextW(fTextArea, text.c_str());
      Place(fTextArea, aLayout.textArea);
      // First in the tab order after nothing: the buttons keep the focus, Tab reaches the text.
      ::SetWindowPos(fTextArea, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return;
    }
    for (std::size_t i = 0; i < aLayout.lines.size(); ++i) {
      ++LineCount;
      HWND label = ::CreateWindowExW(0, L"STATIC", aLines[i].c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                     0, 0, 0, 0, fDialog,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstLineId + LineCount)),
                                     instance, nullptr);
      fLines.push_back(label);
      Place(label, aLayout.lines[i]);
    }
  }

  void Place(HWND aControl, const TBox& aBox) const {
    ::SendMessageW(aControl, WM_SETFONT, reinterpret_cast<WPARAM>(fFont.get()), TRUE);
    ::SetWindowPos(aControl, nullptr, aBox.left, aBox.top, aBox.width, aBox.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  TMessageRequest fRequest;
  HWND fDialog = nullptr;
  int LineCount = 0;
  bool ButtonClicked = false;
  int LongestLine = 0;
  HWND Image = nullptr;
  HWND CheckBox1 = nullptr;
  std::array<HWND, kMaxButtons> fButtons{};  // Button1 to Button4
  std::vector<HWND> fLines;
  HWND fTextArea = nullptr;
  UniqueFont fFont;
  UniqueIcon fIcon;
};

std::vector<std::string> Texts(std::initializer_list<int> aIds) {
  std::vector<std::string> texts;
  for (const int id : aIds) texts.push_back(LanguageText(id));
  return texts;
}

}  // namespace

std::uint16_t ShowMessageDialog(const std::string& aCaption, const std::string& aMessage, int aType,
                                const std::vector<std::string>& aButtons, const std::string& aCheckCaption,
                                bool* aChecked) {
  TMessageRequest request;
  request.caption = Wide(aCaption);
  request.lines = MessageLines(aMessage);
  request.type = aType;
  for (const std::string& button : aButtons) request.buttons.push_back(Wide(button));
  request.showCheckBox = aChecked != nullptr && !aCheckCaption.empty();
  request.checkCaption = Wide(aCheckCaption);
  request.checked = aChecked && *aChecked;
  TMessageDialog dialog(std::move(request));
  const std::uint16_t answer = dialog.Execute();
  if (aChecked && !aCheckCaption.empty()) *aChecked = dialog.Checked();
  return answer;
}

std::uint16_t MessageOk(const std::string& aCaption, const std::string& aMessage, int aType) {
  return ShowMessageDialog(aCaption, aMessage, aType, Texts({txt::MsgDlg_Ok}), {}, nullptr);
}

std::uint16_t MessageYesNo(const std::string& aCaption, const std::string& aMessage, int aType) {
  return ShowMessageDialog(aCaption, aMessage, aType, Texts({txt::MsgDlg_Yes, txt::MsgDlg_No}), {}, nullptr);
}

std::uint16_t MessageOkCancel(const std::string& aCaption, const std::string& aMessage, int aType) {
  return ShowMessageDialog(aCaption, aMessage, aType, Texts({txt::MsgDlg_Ok, txt::MsgDlg_Cancel}), {}, nullptr);
}

std::uint16_t MessageRetryIgnoreAbort(const std::string& aCaption, const std::string& aMessage, int aType) {
  return ShowMessageDialog(aCaption, aMessage, aType,
                           Texts({txt::MsgDlg_Retry, txt::MsgDlg_Ignore, txt::MsgDlg_Cancel}), {}, nullptr);
}

void TDialogChannel::ShowMessage(const std::string& aCaption, const std::string& aMessage, TMsgDlgType aType) {
  MessageOk(aCaption, aMessage, aType);
  if (fLog) fLog(aMessage);
}

int TDialogChannel::Ask(const TQuestion& aQuestion, bool* aChecked) {
  if (fLog) fLog(QuestionLogLine(aQuestion));
  const int answer =
      ShowMessageDialog(aQuestion.caption, aQuestion.message, aQuestion.type, aQuestion.buttons,
                        aQuestion.checkCaption, aChecked);
  if (fLog) fLog(AnswerLogLine(aQuestion, answer, false));
  return answer;
}

}  // namespace vek
