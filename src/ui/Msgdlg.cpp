// The message dialog over the system message box. The system box cannot carry our own button
// captions or a check box, so each button count maps to the system button set whose meaning
// matches; the result is still the number of the pressed button as the callers expect.
#include "ui/Msgdlg.h"

#include <windows.h>

#include "language/LanguageText.h"
#include "system/WinText.h"

namespace vek {
namespace {

MessageDialogHandler& Handler() {
  static MessageDialogHandler handler;
  return handler;
}

enum class ButtonSet { ok, yesNo, okCancel, yesNoCancel, retryIgnoreAbort };

UINT IconFlag(int aType) {
  switch (static_cast<TMsgDlgType>(aType & 0x7F)) {
    case mtWarning: return MB_ICONWARNING;
    case mtError: return MB_ICONERROR;
    case mtInformation: return MB_ICONINFORMATION;
    case mtConfirmation: return MB_ICONQUESTION;
    case mtCustom: return 0;
  }
  return 0;
}

// "&&" separates the message's lines.
std::string MessageLines(const std::string& aMessage) {
  std::string out;
  for (std::size_t i = 0; i < aMessage.size(); ++i) {
    if (aMessage[i] == '&' && i + 1 < aMessage.size() && aMessage[i + 1] == '&') {
      out += '\n';
      ++i;
    } else {
      out += aMessage[i];
    }
  }
  return out;
}

std::uint16_t ButtonNumber(int aPressed) {
  switch (aPressed) {
    case IDOK: case IDYES: case IDRETRY: return 1;
    case IDNO: case IDIGNORE: return 2;
    case IDCANCEL: case IDABORT: return 3;
    default: return 0;
  }
}

std::uint16_t Show(const MessageRequest& aRequest, ButtonSet aSet, bool& aChecked) {
  if (Handler()) return Handler()(aRequest, aChecked);
  UINT flags = IconFlag(aRequest.type) | MB_TASKMODAL | MB_SETFOREGROUND;
  switch (aSet) {
    case ButtonSet::ok: flags |= MB_OK; break;
    case ButtonSet::yesNo: flags |= MB_YESNO; break;
    case ButtonSet::okCancel: flags |= MB_OKCANCEL; break;
    case ButtonSet::yesNoCancel: flags |= MB_YESNOCANCEL; break;
    case ButtonSet::retryIgnoreAbort: flags |= MB_ABORTRETRYIGNORE; break;
  }
  const int pressed = ::MessageBoxW(nullptr, Wide(MessageLines(aRequest.message)).c_str(),
                                    Wide(aRequest.caption).c_str(), flags);
  std::uint16_t number = ButtonNumber(pressed);
  // OK/Cancel: Cancel is the second button; Esc on a box without Cancel closes it without one.
  if (aSet == ButtonSet::okCancel && pressed == IDCANCEL) number = 2;
  return number <= aRequest.buttonCount ? number : 0;
}

MessageRequest Request(const std::string& aCaption, const std::string& aMessage, int aType,
                       std::initializer_list<int> aButtonTexts) {
  MessageRequest request{aCaption, aMessage, static_cast<TMsgDlgType>(aType & 0x7F), 0, {}, false, {}};
  for (int id : aButtonTexts) request.buttons[request.buttonCount++] = LanguageText(id);
  return request;
}

std::uint16_t ShowWrapper(const MessageRequest& aRequest, ButtonSet aSet) {
  bool unused = false;
  return Show(aRequest, aSet, unused);
}

}  // namespace

void SetMessageDialogHandler(MessageDialogHandler aHandler) { Handler() = std::move(aHandler); }

std::uint16_t ShowMessageDialog(const std::string& aCaption, const std::string& aMessage, int aType,
                                int aButtonCount, const std::string& aButton1, const std::string& aButton2,
                                const std::string& aButton3, const std::string& aButton4, bool aShowCheckBox,
                                const std::string& aCheckCaption, bool& aChecked) {
  const int count = aButtonCount < 0 ? 0 : (aButtonCount > 4 ? 4 : aButtonCount);
  MessageRequest request{aCaption, aMessage, static_cast<TMsgDlgType>(aType & 0x7F), count,
                         {aButton1, aButton2, aButton3, aButton4}, aShowCheckBox, aCheckCaption};
  const ButtonSet set = count <= 1 ? ButtonSet::ok : (count == 2 ? ButtonSet::yesNo : ButtonSet::yesNoCancel);
  return Show(request, set, aChecked);
}

std::uint16_t MessageOk(const std::string& aCaption, const std::string& aMessage, int aType) {
  return ShowWrapper(Request(aCaption, aMessage, aType, {136}), ButtonSet::ok);
}

std::uint16_t MessageYesNo(const std::string& aCaption, const std::string& aMessage, int aType) {
  return ShowWrapper(Request(aCaption, aMessage, aType, {111, 112}), ButtonSet::yesNo);
}

std::uint16_t MessageOkCancel(const std::string& aCaption, const std::string& aMessage, int aType) {
  return ShowWrapper(Request(aCaption, aMessage, aType, {136, 164}), ButtonSet::okCancel);
}

std::uint16_t MessageRetryIgnoreAbort(const std::string& aCaption, const std::string& aMessage, int aType) {
  return ShowWrapper(Request(aCaption, aMessage, aType, {121, 119, 164}), ButtonSet::retryIgnoreAbort);
}

}  // namespace vek
