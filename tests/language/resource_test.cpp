// The program's own resource: this test program carries the same VEKLANG resource script as
// setup.exe, so what it reads here is what setup.exe reads at start-up.
#include <gtest/gtest.h>

#include <string>

#include "TableFiles.h"
#include "language/LanguageTable.h"
#include "language/LanguageText.h"
#include "system/Resource.h"

namespace vek {
namespace {

TEST(LanguageResource, ResourceHoldsTheTableOfTheTsv) {
  std::string bytes;
  ASSERT_TRUE(ReadRawResource("VEKLANG", bytes));
  TLanguageTable table;
  ASSERT_TRUE(table.Open(bytes));
  test::ExpectSameAsShippedTsv(table.Data());
}

TEST(LanguageResource, MissingResourceIsReported) {
  std::string bytes = "left over";
  EXPECT_FALSE(HasRawResource("NOSUCHTABLE"));
  EXPECT_FALSE(ReadRawResource("NOSUCHTABLE", bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_TRUE(HasRawResource("veklang"));  // resource names compare without regard to case
}

TEST(LanguageResource, StartUpOpensTheTableAndFollowsTheLanguage) {
  SelectLanguage("de");
  ASSERT_TRUE(OpenLanguageTable());
  EXPECT_EQ(LanguageText(10), "&Abbrechen");
  // The language of a run comes from /LANG:, from the script, or is "uk" (a script without a
  // language on an English system); a code without a column of its own gives English. Text 107
  // is the start-up's report of an unknown switch.
  const struct {
    const char* code;
    bool hasColumn;
    const char* cancel;
    const char* unknownSwitch;
  } cases[] = {
      {"tr", true, "&İptal", nullptr},
      {"fr", false, "&Cancel", "Unknown command-line switch \""},
      {"XX", false, "&Cancel", "Unknown command-line switch \""},
      {"uk", true, "&Cancel", "Unknown command-line switch \""},
      {"de", true, "&Abbrechen", "Unbekannter Befehlszeilenschalter \""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SelectLanguage(c.code), c.hasColumn) << c.code;
    EXPECT_EQ(LanguageText(10), c.cancel) << c.code;
    if (c.unknownSwitch) {
      EXPECT_EQ(LanguageText(107).rfind(c.unknownSwitch, 0), 0u) << c.code << ": " << LanguageText(107);
    }
  }
  CloseLanguageTable();
  SelectLanguage("uk");
}

}  // namespace
}  // namespace vek
