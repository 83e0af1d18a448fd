#pragma once
// The message dialog: every question and message that is not part of a wizard page, with
// exactly the buttons the caller names. The result is the number of the button pressed, counted
// from 1, or 0 when the dialog was closed otherwise (Esc, the close box).
#include <cstdint>
#include <string>
#include <vector>

#include "base/UserChannel.h"
#include "ui/DialogFrame.h"  // SetDialogOwner: the wizard owns the dialogs

namespace vek {

// aChecked, when given with a check box caption, is the check box's state in and out; without
// either there is no check box. Buttons beyond the fourth are not shown.
std::uint16_t ShowMessageDialog(const std::string& aCaption, const std::string& aMessage, int aType,
                                const std::vector<std::string>& aButtons, const std::string& aCheckCaption,
                                bool* aChecked);

std::uint16_t MessageOk(const std::string& aCaption, const std::string& aMessage, int aType);
std::uint16_t MessageYesNo(const std::string& aCaption, const std::string& aMessage, int aType);
std::uint16_t MessageOkCancel(const std::string& aCaption, const std::string& aMessage, int aType);
std::uint16_t MessageRetryIgnoreAbort(const std::string& aCaption, const std::string& aMessage, int aType);

// The channel of a run with a user: the message dialog, and the same log lines as a silent run.
class TDialogChannel : public IUserChannel {
 public:
  explicit TDialogChannel(TLogSink aLog) : fLog(std::move(aLog)) {}
  bool Silent() const override { return false; }
  void ShowMessage(const std::string& aCaption, const std::string& aMessage, TMsgDlgType aType) override;
  int Ask(const TQuestion& aQuestion, bool* aChecked = nullptr) override;

 private:
  TLogSink fLog;
};

}  // namespace vek
