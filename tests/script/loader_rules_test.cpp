// The loader's small rules: rights, quoted folders, the language code and version-check lines.
#include <gtest/gtest.h>

#include "script/LoaderRules.h"

namespace vek {
namespace {

TEST(LoaderRules, RightsRequirement) {
  struct Case {
    const char* value;
    unsigned winMajor;
    std::uint8_t flags;
  };
  const Case cases[] = {
      {"", 10, 0},
      {"Administrator", 5, rfAdministrator},
      {"poweruser", 5, rfPowerUser},
      {"PowerUser", 6, rfAdministrator},  // no power users from NT 6.0 on
      {"PowerUser,Administrator", 5, rfPowerUser | rfAdministrator},
      {"user", 10, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseRightsRequirement(c.value, c.winMajor), c.flags) << c.value;
}

TEST(LoaderRules, OnePairOfQuotesIsRemoved) {
  EXPECT_EQ(Unquoted("\"Ws Root\""), "Ws Root");
  EXPECT_EQ(Unquoted("\"\"x\"\""), "\"x\"");
  EXPECT_EQ(Unquoted("\"open"), "\"open");
  EXPECT_EQ(Unquoted("\""), "\"");
  EXPECT_EQ(Unquoted(""), "");
}

TEST(LoaderRules, VersionCheckLineParts) {
  struct Case {
    const char* line;
    const char* file;
    const char* section;
    const char* test;
  };
  const Case cases[] = {
      {"prog.exe,FixedFileVersion,>=1.2", "prog.exe", "FixedFileVersion", ">=1.2"},
      {"a.ini,Sec,Key,=x,y", "a.ini", "Sec", "Key,=x,y"},
      {"a.ini,Sec", "a.ini", "Sec", ""},
      {"NoComma", "", "NoComma", ""},
  };
  for (const Case& c : cases) {
    const TVersionCheckLine line = SplitVersionCheckLine(c.line);
    EXPECT_EQ(line.file, c.file) << c.line;
    EXPECT_EQ(line.section, c.section) << c.line;
    EXPECT_EQ(line.test, c.test) << c.line;
  }
}

TEST(LoaderRules, InstallPrefix) {
  EXPECT_EQ(InstallPrefix(1), "I");
  EXPECT_EQ(InstallPrefix(2), "U");
}

TEST(LoaderRules, LanguageCodeFromLangCodeAndTheLocaleKey) {
  TScriptFile script;
  script.Open("x.ini", "[Language]\nLangCode=de\n1030=dk\n0009=uk\n", nullptr);
  script.SetLangCode("uk");
  EXPECT_EQ(ReadLanguageCode(script, false, 1030), "de");
  EXPECT_EQ(ReadLanguageCode(script, true, 1030), "dk");
  EXPECT_EQ(ReadLanguageCode(script, true, 9), "uk");     // at least four digits
  EXPECT_EQ(ReadLanguageCode(script, true, 1031), "de");  // no key: LangCode
  TScriptFile empty;  // no script: "uk"
  empty.SetLangCode("uk");
  EXPECT_EQ(ReadLanguageCode(empty, true, 1033), "uk");
}

}  // namespace
}  // namespace vek
