#include "ui/LogText.h"

#include <gtest/gtest.h>

namespace vek {
namespace {

TEST(LogText, EveryLineEndsWithCrLfAndInnerBreaksBecomeCrLf) {
  const struct {
    std::vector<std::string> lines;
    std::string text;
  } cases[] = {
      {{}, ""},
      {{""}, "\r\n"},
      {{"one", "two"}, "one\r\ntwo\r\n"},
      {{"a\nb", "c\r\nd", "e\rf"}, "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n"},
      {{"Ошибка 5: 拒绝访问"}, "Ошибка 5: 拒绝访问\r\n"},  // UTF-8 passes as it is
  };
  for (const auto& c : cases) EXPECT_EQ(LogText(c.lines), c.text);
}

TEST(FileDialogFilter, BarsBecomeNulsAndTwoEndIt) {
  using namespace std::string_literals;
  EXPECT_EQ(FileDialogFilter(u"Text files (*.txt)|*.txt|All files (*.*)|*.*"),
            u"Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0\0"s);
  // A translation without its pattern still gives a usable filter.
  EXPECT_EQ(FileDialogFilter(u"Textdateien"), u"Textdateien\0*.*\0\0"s);
  EXPECT_EQ(FileDialogFilter(u""), u"\0*.*\0\0"s);
}

}  // namespace
}  // namespace vek
