#pragma once
// The message dialog: every question and message that is not part of a wizard page.
// The result is the number of the button pressed, counted from 1, or 0 when the dialog was
// closed otherwise. Callers check for silent runs themselves: these functions always show.
#include <cstdint>
#include <functional>
#include <string>

namespace vek {

enum TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

struct MessageRequest {
  std::string caption;
  std::string message;
  TMsgDlgType type = mtInformation;
  int buttonCount = 0;
  std::string buttons[4];
  bool showCheckBox = false;
  std::string checkCaption;
};

std::uint16_t ShowMessageDialog(const std::string& aCaption, const std::string& aMessage, int aType,
                                int aButtonCount, const std::string& aButton1, const std::string& aButton2,
                                const std::string& aButton3, const std::string& aButton4, bool aShowCheckBox,
                                const std::string& aCheckCaption, bool& aChecked);

std::uint16_t MessageOk(const std::string& aCaption, const std::string& aMessage, int aType);
std::uint16_t MessageYesNo(const std::string& aCaption, const std::string& aMessage, int aType);
std::uint16_t MessageOkCancel(const std::string& aCaption, const std::string& aMessage, int aType);
std::uint16_t MessageRetryIgnoreAbort(const std::string& aCaption, const std::string& aMessage, int aType);

// Tests answer the dialogs instead of a person: while a handler is set, it receives every
// request and its return value is the result; no window is shown.
using MessageDialogHandler = std::function<std::uint16_t(const MessageRequest&, bool& aChecked)>;
void SetMessageDialogHandler(MessageDialogHandler aHandler);

}  // namespace vek
