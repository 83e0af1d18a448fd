#include <gtest/gtest.h>

#include <map>

#include "base/CaseMap.h"

namespace vek {
namespace {

struct UpperCase_ {
  const char* input;
  const char* expected;
};

TEST(CaseMap, UpperCasesLikeWindows) {
  const UpperCase_ cases[] = {
      {"setup.exe", "SETUP.EXE"},
      {"\xC3\xB8", "\xC3\x98"},                          // ø -> Ø
      {"\xC3\xA6\xC3\xA5", "\xC3\x86\xC3\x85"},          // æå -> ÆÅ
      {"\xC4\x8D\xC5\x99", "\xC4\x8C\xC5\x98"},          // čř -> ČŘ (alternating block)
      {"\xD0\xBF\xD1\x80\xD0\xB8", "\xD0\x9F\xD0\xA0\xD0\x98"},  // при -> ПРИ
      {"\xC3\x9F", "\xC3\x9F"},                          // ß has no single upper case
      {"\xE4\xB8\xAD", "\xE4\xB8\xAD"},                  // CJK unchanged
      {"a\xFF" "b", "A\xEF\xBF\xBD" "B"},                // invalid byte -> U+FFFD
  };
  for (const auto& c : cases) EXPECT_EQ(UpperCase(c.input), c.expected) << c.input;
}

TEST(CaseMap, LowerCaseIsTheInverseForLetters) {
  EXPECT_EQ(LowerCase("\xC3\x98STFOLD \xD0\x9F"), "\xC3\xB8stfold \xD0\xBF");
}

TEST(CaseMap, ComparesWithoutRegardToCase) {
  EXPECT_TRUE(SameText("System Info", "SYSTEM INFO"));
  EXPECT_TRUE(SameText("\xC3\xB8", "\xC3\x98"));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("abd", "ABC"), 0);
  EXPECT_TRUE(StartsWithText("/workstationupdate:c:\\x", "/WORKSTATIONUPDATE:"));
  EXPECT_FALSE(StartsWithText("/W", "/WORKSTATION"));
  EXPECT_TRUE(EndsWithText("C:\\A\\SETUP.exe", "setup.EXE"));
  EXPECT_EQ(FindText("C:\\Program Files\\App", "program"), 3u);
  EXPECT_EQ(FindText("abc", "x"), std::string::npos);
}

TEST(CaseMap, TextLessKeysAContainerWithoutRegardToCase) {
  std::map<std::string, int, TextLess> sections{{"System Info", 1}};
  EXPECT_EQ(sections.count("SYSTEM INFO"), 1u);
  EXPECT_TRUE(sections.find("system info") != sections.end());
}

}  // namespace
}  // namespace vek
