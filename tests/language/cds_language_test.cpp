#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "TableBytes.h"
#include "TableFiles.h"
#include "language/CDSLanguages.h"
#include "language/LanguageText.h"

namespace vek {
namespace {

// The shipped table, opened from the generated resource data, with the start-up's codes.
std::unique_ptr<TCommonCDSLanguage> ShippedTable() {
  auto table = std::make_unique<TCommonCDSLanguage>("VEKLANG", "UK");
  EXPECT_TRUE(table->OpenFromBytes(test::ReadBinaryFile(test::LanguageDataPath("veklang.bin"))));
  return table;
}

// A table with a German gap and a Polish column whose every text is missing.
std::unique_ptr<TCommonCDSLanguage> TableWithGaps() {
  const TLanguageTableData data{{"UK", "DE", "PL"},
                                {{10, "contr_Cancel", {"&Cancel", "&Abbrechen", ""}},
                                 {28, "finish_0", {"Finish", "", ""}},
                                 {44, "LoadInif_0", {"loading ini files", "Lade INI-Dateien", ""}}}};
  auto table = std::make_unique<TCommonCDSLanguage>("VEKLANG", "UK");
  EXPECT_TRUE(table->OpenFromBytes(test::EncodeTable(data)));
  return table;
}

struct TextCase {
  const char* code;
  int id;
  const char* expected;
};

void ExpectTexts(TCommonCDSLanguage& aTable, std::initializer_list<TextCase> aCases) {
  for (const TextCase& c : aCases) {
    aTable.load(c.code);
    EXPECT_EQ(aTable.ls(c.id), c.expected) << c.code << " " << c.id;
  }
}

TEST(CDSLanguage, TextsOfTheShippedTableByLanguage) {
  ExpectTexts(*ShippedTable(), {
      {"DE", 10, "&Abbrechen"},
      {"de", 10, "&Abbrechen"},  // codes compare without regard to case
      {"XX", 10, "&Cancel"},     // no such column: English
      {"", 10, "&Cancel"},
      {"UK", 7, "&Next >"},
      {"DE", 1000, ""},  // no such row, in every language
      {"UK", 1000, ""},
      {"XX", 1000, ""},
  });
}

TEST(CDSLanguage, MissingTranslationsFallBackToTheDefaultLanguage) {
  ExpectTexts(*TableWithGaps(), {
      {"DE", 28, "Finish"},            // empty DE cell
      {"DE", 10, "&Abbrechen"},
      {"PL", 44, "loading ini files"},  // a column without any text
  });
}

TEST(CDSLanguage, LoadTellsWhetherTheLanguageHasAColumn) {
  auto table = TableWithGaps();
  EXPECT_TRUE(table->load("pl"));
  EXPECT_FALSE(table->load("CZ"));
  EXPECT_EQ(table->langCode(), "UK");  // load selects a column; it does not change the code
}

TEST(CDSLanguage, NamesAreFoundWithoutRegardToCase) {
  auto table = ShippedTable();
  table->load("DE");
  EXPECT_EQ(table->ls("LoadInif_0"), table->ls(44));
  EXPECT_EQ(table->ls("LOADINIF_0"), table->ls(44));
  EXPECT_EQ(table->ls("loadinif_0"), table->ls(44));
  EXPECT_EQ(table->ls("NoSuchName"), "");
}

// A default code changes the fallback column at the next load.
TEST(CDSLanguage, DefaultLanguageIsTheFallbackColumn) {
  auto table = TableWithGaps();
  table->SetdefaultLangCode("DE");
  EXPECT_EQ(table->GetdefaultLangCode(), "DE");
  table->load("XX");
  EXPECT_EQ(table->ls(10), "&Abbrechen");
  table->SetdefaultLangCode("FR");  // no column for the default either: nothing to show
  table->load("XX");
  EXPECT_EQ(table->ls(10), "");
}

TEST(CDSLanguage, ClosedOrUnopenedTableGivesEmptyTexts) {
  TCommonCDSLanguage never("VEKLANG", "UK");
  EXPECT_FALSE(never.load("UK"));  // nothing to open from
  EXPECT_EQ(never.ls(10), "");
  EXPECT_EQ(never.ls("contr_Cancel"), "");

  auto table = TableWithGaps();
  table->close();
  EXPECT_FALSE(table->IsOpen());
  EXPECT_EQ(table->ls(10), "");
}

TEST(CDSLanguage, DamagedBytesLeaveTheTableClosed) {
  TCommonCDSLanguage table("VEKLANG", "UK");
  EXPECT_FALSE(table.OpenFromBytes("VKLT but not a table"));
  EXPECT_FALSE(table.IsOpen());
  EXPECT_EQ(table.ls(10), "");
}

// The process-wide entry point: English without a table, the selected column with one.
class LanguageTextTest : public ::testing::Test {
 protected:
  void TearDown() override {
    CloseLanguageTable();
    SelectLanguage("uk");
  }
};

TEST_F(LanguageTextTest, WithoutATableTextsAreEnglish) {
  SelectLanguage("de");
  EXPECT_EQ(LanguageText(10), "&Cancel");
  EXPECT_EQ(LanguageText(46), "Error: Can not find \"%s\"  !!!");
  EXPECT_EQ(LanguageText(1000), "");
  EXPECT_EQ(CurrentLanguageCode(), "de");
}

TEST_F(LanguageTextTest, SelectedLanguageComesFromTheInstalledTable) {
  SelectLanguage("de");
  InstallLanguageTable(ShippedTable());  // selects the current code at once
  EXPECT_EQ(LanguageText(10), "&Abbrechen");
  EXPECT_FALSE(SelectLanguage("xx"));
  EXPECT_EQ(LanguageText(10), "&Cancel");
  EXPECT_EQ(CurrentLanguageCode(), "xx");
  EXPECT_TRUE(SelectLanguage("Pl"));
  EXPECT_EQ(LanguageText(10), "&Anuluj");
  EXPECT_EQ(LanguageText(1000), "");
  CloseLanguageTable();
  EXPECT_EQ(LanguageText(10), "&Cancel");
}

}  // namespace
}  // namespace vek
