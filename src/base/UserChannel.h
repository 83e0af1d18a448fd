#pragma once
// The one channel through which a run tells the user something or asks a question. It is owned
// by the run and handed to every part that needs it; nothing below the user interface opens a
// window or checks for a silent run itself.
//
// - TSilentChannel (this file): logs every message and question, and answers each question
//   with the answer that question prescribes for a run without a user.
// - The wizard's channel (src/ui): shows the message dialog with exactly the buttons the
//   question names, and logs the same lines.
// - Tests use a fake that records the questions and answers them.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vek {

// The kind of a message: its icon and how it is logged. Values as stored in dialog types.
enum TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// A question with named buttons. The answer is the number of the button chosen, counted from
// 1, or 0 when the dialog was closed without one (Esc, the close box).
struct TQuestion {
  std::string caption;
  std::string message;  // "&&" separates lines
  TMsgDlgType type = mtConfirmation;
  std::vector<std::string> buttons;  // captions in order, "&" before the accelerator
  int silentAnswer = 0;              // the button a run without a user takes; 0 for none
  std::string checkCaption;          // a check box under the message when not empty
};

class IUserChannel {
 public:
  virtual ~IUserChannel() = default;
  // True when nobody is there to answer: questions get their silent answers.
  virtual bool Silent() const = 0;
  // Shows the message with an OK button (when somebody is there) and logs it.
  virtual void ShowMessage(const std::string& aCaption, const std::string& aMessage, TMsgDlgType aType) = 0;
  // Asks and logs the question and its answer. aChecked, when given, carries the check box's
  // state in and out.
  virtual int Ask(const TQuestion& aQuestion, bool* aChecked = nullptr) = 0;
};

// Where a channel writes its lines: the setup log of the run.
using TLogSink = std::function<void(const std::string& aLine)>;

// The log lines of a question and of its answer, shared by every channel so that a silent and
// an interactive run explain themselves alike:
//   Question "Setup error": <message> [Continue/Retry/Abort]
//   Answer: Continue (silent)
std::string QuestionLogLine(const TQuestion& aQuestion);
std::string AnswerLogLine(const TQuestion& aQuestion, int aAnswer, bool aSilent);

// A caption without its accelerator marks: "&Retry" -> "Retry", "&&" -> "&".
std::string WithoutAccelerator(const std::string& aCaption);

class TSilentChannel : public IUserChannel {
 public:
  explicit TSilentChannel(TLogSink aLog) : fLog(std::move(aLog)) {}
  bool Silent() const override { return true; }
  void ShowMessage(const std::string& aCaption, const std::string& aMessage, TMsgDlgType aType) override;
  int Ask(const TQuestion& aQuestion, bool* aChecked = nullptr) override;

 private:
  TLogSink fLog;
};

}  // namespace vek
