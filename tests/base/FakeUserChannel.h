#pragma once
// The channel of a test: it records every message and question and answers the questions from
// a queue (the first button once the queue is empty). As silent or as interactive as the test
// says; a silent fake answers like TSilentChannel, so a test can hold both kinds of run.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/UserChannel.h"

namespace vek::test {

struct TShownMessage {
  std::string caption;
  std::string message;
  TMsgDlgType type;
};

class TFakeUserChannel : public IUserChannel {
 public:
  explicit TFakeUserChannel(bool aSilent = false) : fSilent(aSilent) {}

  bool Silent() const override { return fSilent; }
  void SetSilent(bool aSilent) { fSilent = aSilent; }
  void ShowMessage(const std::string& aCaption, const std::string& aMessage, TMsgDlgType aType) override {
    Messages.push_back({aCaption, aMessage, aType});
    if (Log) Log(aMessage);
  }
  int Ask(const TQuestion& aQuestion, bool* /*aChecked*/ = nullptr) override {
    Questions.push_back(aQuestion);
    int answer = aQuestion.silentAnswer;
    if (!fSilent) {
      answer = Answers.empty() ? 1 : Answers.front();
      if (!Answers.empty()) Answers.pop_front();
      if (OnAsk) OnAsk(aQuestion);
    }
    if (Log) {
      Log(QuestionLogLine(aQuestion));
      Log(AnswerLogLine(aQuestion, answer, fSilent));
    }
    return answer;
  }

  std::vector<TShownMessage> Messages;
  std::vector<TQuestion> Questions;
  std::deque<int> Answers;  // the answers of the next questions of an interactive fake
  std::function<void(const TQuestion&)> OnAsk;  // what the user does before answering
  TLogSink Log;                                 // where the lines a real channel logs go

 private:
  bool fSilent;
};

}  // namespace vek::test
