// Text keys with their language override.
#include <gtest/gtest.h>

#include "script/ScriptFile.h"

namespace vek {
namespace {

TScriptFile ScriptOf(std::string_view aText, const char* aCode) {
  TScriptFile script;
  script.Open("C:\\setup.ini", aText, nullptr);
  script.SetLangCode(aCode);
  return script;
}

TEST(LanguageOverride, TheKeyOfTheCurrentCodeWins) {
  const char* const text =
      "[System Info]\nTitle=Product\ndk_Title=Produkt\nDK_Name=Navn\nde_Version=2\nVersion=1\n";
  struct Case {
    const char* code;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"dk", "Title", "Produkt"},
      {"uk", "Title", "Product"},
      {"dk", "Name", "Navn"},       // found although Name itself is missing
      {"uk", "Name", "<default>"},  // neither: the caller's default
      {"DK", "title", "Produkt"},   // key names without regard to case
      {"de", "Version", "2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScriptOf(text, c.code).ReadText("System Info", c.key, "<default>"), c.expected)
        << c.code << " " << c.key;
  }
}

TEST(LanguageOverride, IntegerAndBooleanKeysHaveNone) {
  const TScriptFile script = ScriptOf("[S]\nInstallmode=1\ndk_Installmode=2\nOemGui=0\ndk_OemGui=1\n", "dk");
  EXPECT_EQ(script.ReadInteger("S", "Installmode", 0), 1);
  EXPECT_FALSE(script.ReadBool("S", "OemGui", true));
}

TEST(LanguageOverride, KeyNameIsCodeUnderscoreKey) {
  EXPECT_EQ(LanguageKeyName("dk", "Title"), "dk_Title");
  EXPECT_EQ(LanguageKeyName("", "Title"), "_Title");
}

TEST(ScriptFileTest, ClosedScriptReadsDefaults) {
  TScriptFile script = ScriptOf("[S]\nk=v\n", "uk");
  script.Close();
  EXPECT_EQ(script.ReadText("S", "k", "d"), "d");
  EXPECT_EQ(script.FileName(), "C:\\setup.ini");
}

}  // namespace
}  // namespace vek
