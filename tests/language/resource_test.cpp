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
  EXPECT_TRUE(SelectLanguage("tr"));
  EXPECT_EQ(LanguageText(10), "&İptal");
  EXPECT_FALSE(SelectLanguage("fr"));
  EXPECT_EQ(LanguageText(10), "&Cancel");
  CloseLanguageTable();
  SelectLanguage("uk");
}

}  // namespace
}  // namespace vek
