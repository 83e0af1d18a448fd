#include "base/UserChannel.h"

namespace vek {

std::string WithoutAccelerator(const std::string& aCaption) {
  std::string out;
  for (std::size_t i = 0; i < aCaption.size(); ++i) {
    if (aCaption[i] == '&' && i + 1 < aCaption.size()) ++i;  // "&&" keeps one "&"
    else if (aCaption[i] == '&') continue;
    out += aCaption[i];
  }
  return out;
}

std::string QuestionLogLine(const TQuestion& aQuestion) {
  std::string buttons;
  for (const std::string& button : aQuestion.buttons) {
    buttons += (buttons.empty() ? "" : "/") + WithoutAccelerator(button);
  }
  return "Question \"" + aQuestion.caption + "\": " + aQuestion.message + " [" + buttons + "]";
}

std::string AnswerLogLine(const TQuestion& aQuestion, int aAnswer, bool aSilent) {
  std::string answer = "none";
  if (aAnswer >= 1 && static_cast<std::size_t>(aAnswer) <= aQuestion.buttons.size()) {
    answer = WithoutAccelerator(aQuestion.buttons[static_cast<std::size_t>(aAnswer) - 1]);
  }
  return "Answer: " + answer + (aSilent ? " (silent)" : "");
}

void TSilentChannel::ShowMessage(const std::string&, const std::string& aMessage, TMsgDlgType) {
  if (fLog) fLog(aMessage);
}

int TSilentChannel::Ask(const TQuestion& aQuestion, bool*) {
  const int answer =
      aQuestion.silentAnswer >= 0 && static_cast<std::size_t>(aQuestion.silentAnswer) <= aQuestion.buttons.size()
          ? aQuestion.silentAnswer
          : 0;
  if (fLog) {
    fLog(QuestionLogLine(aQuestion));
    fLog(AnswerLogLine(aQuestion, answer, true));
  }
  return answer;
}

}  // namespace vek
