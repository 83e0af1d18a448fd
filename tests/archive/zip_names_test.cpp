#include <gtest/gtest.h>

#include "archive/DosDateTime.h"
#include "archive/ZipNames.h"
#include "archive/ZipSafeName.h"

namespace vek {
namespace {

struct TNameCase {
  const char* Name;
  const char* Parts;  // the safe parts joined by "|", or nullptr when the name is refused
};

void PrintTo(const TNameCase& aCase, std::ostream* aOut) { *aOut << '"' << aCase.Name << '"'; }

class SafeNameTest : public ::testing::TestWithParam<TNameCase> {};

TEST_P(SafeNameTest, SplitsOrRefuses) {
  const TNameCase& c = GetParam();
  std::vector<std::string> parts;
  const bool safe = SplitSafeEntryName(c.Name, parts);
  ASSERT_EQ(safe, c.Parts != nullptr) << c.Name;
  if (!safe) return;
  std::string joined;
  for (const std::string& part : parts) joined += (joined.empty() ? "" : "|") + part;
  EXPECT_EQ(joined, c.Parts) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, SafeNameTest,
    ::testing::Values(TNameCase{"a.txt", "a.txt"}, TNameCase{"bin/tool.dll", "bin|tool.dll"},
                      TNameCase{"bin\\tool.dll", "bin|tool.dll"}, TNameCase{"./bin//x", "bin|x"},
                      TNameCase{"a/../b", "b"}, TNameCase{"folder/", "folder"},
                      TNameCase{"..a/b..", "..a|b.."}, TNameCase{"console.txt", "console.txt"},
                      TNameCase{"com10.txt", "com10.txt"}, TNameCase{"grüße/€.txt", "grüße|€.txt"}));

INSTANTIATE_TEST_SUITE_P(
    Refused, SafeNameTest,
    ::testing::Values(TNameCase{"../x", nullptr}, TNameCase{"..\\x", nullptr},
                      TNameCase{"a/../../x", nullptr}, TNameCase{"a\\..\\..\\x", nullptr},
                      TNameCase{"/abs", nullptr}, TNameCase{"\\abs", nullptr}, TNameCase{"C:\\x", nullptr},
                      TNameCase{"C:x", nullptr}, TNameCase{"\\\\server\\share\\x", nullptr},
                      TNameCase{"//server/share/x", nullptr}, TNameCase{"file.txt:stream", nullptr},
                      TNameCase{"a/.../b", nullptr}, TNameCase{"a/. ./b", nullptr},
                      TNameCase{"a/.. /b", nullptr}, TNameCase{"", nullptr}, TNameCase{"nul", nullptr},
                      TNameCase{"bin/CON.txt", nullptr}, TNameCase{"aux .log", nullptr},
                      TNameCase{"LPT1", nullptr}, TNameCase{"com\xC2\xB9", nullptr},
                      TNameCase{"bad\x01name", nullptr}));

TEST(ZipNames, Cp437HighHalfBecomesUnicode) {
  EXPECT_EQ(Cp437ToUtf8("caf\x82 \x84\x94\x81 \xE1 \xB0\xFF"), "café äöü ß ░\xC2\xA0");
  EXPECT_EQ(Cp437ToUtf8("plain/ascii.txt"), "plain/ascii.txt");
}

TEST(ZipNames, IllFormedUtf8IsReplaced) {
  EXPECT_EQ(CleanUtf8("ok\xC3"), "ok\xEF\xBF\xBD");
  EXPECT_EQ(CleanUtf8("gr\xC3\xBC\xC3\x9F"), "grüß");
}

TEST(DosDateTime, SplitsAndPacks) {
  const std::uint32_t packed = 0x2E8530E4;  // 2003-04-05 06:07:08
  const TDosDateTime t = SplitDosDateTime(packed);
  EXPECT_EQ(t.Year, 2003);
  EXPECT_EQ(t.Month, 4);
  EXPECT_EQ(t.Day, 5);
  EXPECT_EQ(t.Hour, 6);
  EXPECT_EQ(t.Minute, 7);
  EXPECT_EQ(t.Second, 8);
  EXPECT_EQ(MakeDosDateTime(t), packed);
  // Packed values order like the times they stand for, so a newer-only test compares them.
  EXPECT_LT(MakeDosDateTime({2003, 4, 5, 6, 7, 8}), MakeDosDateTime({2003, 4, 5, 6, 7, 10}));
  EXPECT_LT(MakeDosDateTime({2003, 12, 31, 23, 59, 58}), MakeDosDateTime({2004, 1, 1, 0, 0, 0}));
  // Odd seconds round down to the two-second step the format keeps.
  EXPECT_EQ(MakeDosDateTime({2003, 4, 5, 6, 7, 9}), packed);
}

TEST(DosDateTime, RejectsImpossibleValues) {
  EXPECT_TRUE(IsValidDosDateTime(0x2E8530E4));
  EXPECT_FALSE(IsValidDosDateTime(0));                                        // month 0, day 0
  EXPECT_FALSE(IsValidDosDateTime(MakeDosDateTime({2003, 2, 30, 0, 0, 0})));  // 30 February
  EXPECT_FALSE(IsValidDosDateTime(MakeDosDateTime({2003, 4, 5, 25, 0, 0})));
}

}  // namespace
}  // namespace vek
