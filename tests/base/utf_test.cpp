#include <gtest/gtest.h>

#include "base/Utf.h"

namespace vek {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
  const std::string text = "A\xC3\xB8\xE2\x82\xAC\xF0\x9F\x98\x80";  // A ø € 😀
  const std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, (std::u16string{u'A', u'\u00F8', u'\u20AC', 0xD83D, 0xDE00}));
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

struct BadUtf8 {
  const char* name;
  std::string bytes;
  std::u16string expected;
};

class InvalidUtf8 : public testing::TestWithParam<BadUtf8> {};

TEST_P(InvalidUtf8, BecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvalidUtf8,
    testing::Values(BadUtf8{"lone_continuation", "a\x80z", u"a\uFFFDz"},
                    BadUtf8{"truncated_at_end", "a\xE2\x82", u"a\uFFFD\uFFFD"},
                    BadUtf8{"overlong_slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
                    BadUtf8{"encoded_surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                    BadUtf8{"above_max", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                    BadUtf8{"invalid_lead", "\xFF", u"\uFFFD"}),
    [](const auto& aInfo) { return std::string(aInfo.param.name); });

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD800, u'b'}), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00}), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800}), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vek
