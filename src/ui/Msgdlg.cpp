// The message dialog over the system's task dialog, which carries our own button captions (from
// the language table, with their accelerators) and a check box, so a question shows exactly the
// buttons it names. The wizard's own dialog replaces it once the wizard exists.
#include "ui/Msgdlg.h"

#include <windows.h>
#include <commctrl.h>

#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/WinText.h"

namespace vek {
namespace {

constexpr int kFirstButtonId = 1000;  // above IDOK..IDCONTINUE, which the dialog uses itself

PCWSTR Icon(int aType) {
  switch (static_cast<TMsgDlgType>(aType & 0x7F)) {
    case mtWarning: return TD_WARNING_ICON;
    case mtError: return TD_ERROR_ICON;
    case mtInformation:
    case mtConfirmation: return TD_INFORMATION_ICON;
    case mtCustom: return nullptr;
  }
  return nullptr;
}

// "&&" separates the message's lines.
std::string MessageLines(const std::string& aMessage) {
  std::string out;
  for (std::size_t i = 0; i < aMessage.size(); ++i) {
    if (aMessage[i] == '&' && i + 1 < aMessage.size() && aMessage[i + 1] == '&') {
      out += "\r\n";
      ++i;
    } else {
      out += aMessage[i];
    }
  }
  return out;
}

std::vector<std::string> Texts(std::initializer_list<int> aIds) {
  std::vector<std::string> texts;
  for (const int id : aIds) texts.push_back(LanguageText(id));
  return texts;
}

}  // namespace

std::uint16_t ShowMessageDialog(const std::string& aCaption, const std::string& aMessage, int aType,
                                const std::vector<std::string>& aButtons, const std::string& aCheckCaption,
                                bool* aChecked) {
  const std::size_t count = aButtons.size() > 4 ? 4 : aButtons.size();
  std::vector<std::wstring> captions;
  for (std::size_t i = 0; i < count; ++i) captions.push_back(Wide(aButtons[i]));
  std::vector<TASKDIALOG_BUTTON> buttons;
  for (std::size_t i = 0; i < count; ++i) {
    buttons.push_back({kFirstButtonId + static_cast<int>(i), captions[i].c_str()});
  }
  const std::wstring caption = Wide(aCaption);
  const std::wstring content = Wide(MessageLines(aMessage));
  const std::wstring check = Wide(aCheckCaption);

  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof(config);
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.hwndParent = ::GetActiveWindow();
  config.pszWindowTitle = caption.c_str();
  config.pszMainIcon = Icon(aType);
  config.pszContent = content.c_str();
  config.cButtons = static_cast<UINT>(buttons.size());
  config.pButtons = buttons.empty() ? nullptr : buttons.data();
  config.nDefaultButton = buttons.empty() ? 0 : kFirstButtonId;
  if (buttons.empty()) config.dwCommonButtons = TDCBF_OK_BUTTON;
  if (!check.empty()) {
    config.pszVerificationText = check.c_str();
    if (aChecked && *aChecked) config.dwFlags |= TDF_VERIFICATION_FLAG_CHECKED;
  }
  int pressed = 0;
  BOOL checked = FALSE;
  if (FAILED(::TaskDialogIndirect(&config, &pressed, nullptr, &checked))) return 0;
  if (aChecked && !check.empty()) *aChecked = checked != FALSE;
  if (pressed >= kFirstButtonId && pressed < kFirstButtonId + static_cast<int>(buttons.size())) {
    return static_cast<std::uint16_t>(pressed - kFirstButtonId + 1);
  }
  return buttons.empty() && pressed == IDOK ? 1 : 0;
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
