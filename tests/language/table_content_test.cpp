// Rules for the texts themselves, checked on the shipped veklang.tsv: what a translator or a
// new row can get wrong without the build noticing.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "TableFiles.h"
#include "base/CaseMap.h"
#include "base/Utf.h"
#include "language/EnglishTexts.h"
#include "language/LanguageTextIds.h"

namespace vek {
namespace {

using test::LanguageDataPath;

constexpr std::size_t kFirstLanguage = 2;  // after ID and Name

class TableContent : public ::testing::Test {
 protected:
  static const test::TsvFile& Tsv() {
    static const test::TsvFile tsv = test::ReadTsv(LanguageDataPath("veklang.tsv"));
    return tsv;
  }
  static std::map<int, const std::vector<std::string>*> RowsById() {
    std::map<int, const std::vector<std::string>*> rows;
    for (const auto& row : Tsv().rows) rows[std::stoi(row[0])] = &row;
    return rows;
  }
  static std::string Cell(const std::vector<std::string>& aRow, std::size_t aColumn) {
    return aColumn < aRow.size() ? aRow[aColumn] : std::string();
  }
};

TEST_F(TableContent, HasTheTwelveLanguagesInOrder) {
  const std::vector<std::string> expected{"ID", "Name", "UK", "DK", "DE", "PL", "CZ", "NO",
                                          "SE", "CN", "RU", "HU", "BR", "TR"};
  EXPECT_EQ(Tsv().header, expected);
}

// Callers fill the placeholders in the English order and kind; a translation that differs
// would print a placeholder or the wrong value.
TEST_F(TableContent, EveryLanguageHasTheEnglishPlaceholders) {
  for (const auto& row : Tsv().rows) {
    const auto expected = test::Placeholders(row[kFirstLanguage]);
    for (std::size_t c = kFirstLanguage + 1; c < Tsv().header.size(); ++c) {
      if (Cell(row, c).empty()) continue;  // English is shown there
      EXPECT_EQ(test::Placeholders(Cell(row, c)), expected) << row[1] << " " << Tsv().header[c];
    }
  }
}

TEST_F(TableContent, EveryTextIsTranslatedWithinTheLengthLimit) {
  for (const auto& row : Tsv().rows) {
    ASSERT_EQ(row.size(), Tsv().header.size()) << row[0];
    for (std::size_t c = kFirstLanguage; c < row.size(); ++c) {
      EXPECT_FALSE(row[c].empty()) << row[1] << " " << Tsv().header[c];
      EXPECT_LE(Utf8ToUtf16(row[c]).size(), 255u) << row[1] << " " << Tsv().header[c];
    }
  }
}

// Message texts break lines at "&&"; a translation keeps the English number of lines.
TEST_F(TableContent, TranslationsKeepTheEnglishLineBreaks) {
  for (const auto& row : Tsv().rows) {
    for (std::size_t c = kFirstLanguage + 1; c < row.size(); ++c) {
      if (row[c].empty()) continue;
      EXPECT_EQ(test::LineBreaks(row[c]), test::LineBreaks(row[kFirstLanguage])) << row[1] << " " << Tsv().header[c];
    }
  }
}

TEST_F(TableContent, IdsAndNamesAreUnique) {
  std::set<int> ids;
  std::set<std::string, TextLess> names;
  for (const auto& row : Tsv().rows) {
    EXPECT_TRUE(ids.insert(std::stoi(row[0])).second) << row[0];
    EXPECT_TRUE(names.insert(row[1]).second) << row[1];
    EXPECT_LE(row[1].size(), 40u) << row[1];
  }
}

// Rows 2 to 47 come first, in their fixed order, where row 16 follows row 27.
TEST_F(TableContent, KeepsTheInsertionOrderOfTheFirstRows) {
  std::vector<int> order;
  for (const auto& row : Tsv().rows) {
    const int id = std::stoi(row[0]);
    if (id >= 2 && id <= 47) order.push_back(id);
  }
  std::vector<int> expected;
  for (int id = 2; id <= 47; ++id) {
    if (id != 16) expected.push_back(id);
    if (id == 27) expected.push_back(16);
  }
  EXPECT_EQ(order, expected);
}

// Buttons and captions shown together must not share an accelerator letter in any language.
TEST_F(TableContent, AcceleratorsDoNotCollideWithinADialog) {
  const std::vector<std::vector<int>> dialogs{
      // welcome page
      {txt::contr_Back, txt::contr_Next, txt::contr_Exit, txt::contr_Install, txt::contr_Update},
      // default or custom installation
      {txt::contr_Back, txt::contr_Next, txt::contr_Exit, txt::contr_Default, txt::contr_Custom},
      // options page
      {txt::contr_Back, txt::contr_Next, txt::contr_Exit, txt::contr_ChangeOption, txt::contr_ChDir},
      // location page
      {txt::contr_Back, txt::contr_Next, txt::contr_Exit, txt::contr_Browse},
      // wizard Yes/No with the external program's Browse
      {txt::contr_Yes, txt::contr_No, txt::contr_Browse},
      // wizard OK/Cancel
      {txt::contr_Ok, txt::contr_Cancel},
      // wizard OK/Abort on the external program's insert request
      {txt::contr_Ok, txt::contr_Abort, txt::contr_Browse},
      // sub-option form
      {txt::contr_Ok, txt::contr_Cancel, txt::contr_SelectAll, txt::contr_ClearAll},
      // shortcut dialog
      {txt::ShortCut_Name, txt::ShortCut_Folder, txt::ShortCut_StartMenu, txt::ShortCut_Desktop,
       txt::ShortCut_FileSystem, txt::contr_Reset, txt::contr_Yes, txt::contr_No, txt::contr_Browse},
      // found installation
      {txt::MsgDlg_Yes, txt::MsgDlg_No, txt::contr_Stop},
      // message boxes
      {txt::MsgDlg_Ok, txt::MsgDlg_Cancel},
      {txt::MsgDlg_Retry, txt::MsgDlg_Ignore, txt::MsgDlg_Cancel},
      {txt::MsgDlg_Retry, txt::MsgDlg_Abort},
      {txt::MsgDlg_Ok, txt::MsgDlg_Abort},
      // extraction
      {txt::contr_Continue, txt::contr_Retry, txt::contr_Abort},
      // file attributes
      {txt::FileAttr_Continue, txt::MsgDlg_Ok},
      // missing file of a program's disk
      {txt::contr_Ok, txt::contr_Browse, txt::contr_Abort},
      // running application
      {txt::contr_Continue, txt::contr_Exit},
      // log dialog
      {txt::MsgDlg_Ok, txt::LogDlg_Save},
  };
  const auto rows = RowsById();
  for (std::size_t c = kFirstLanguage; c < Tsv().header.size(); ++c) {
    for (const auto& dialog : dialogs) {
      std::map<char32_t, int> seen;
      for (int id : dialog) {
        ASSERT_TRUE(rows.count(id)) << id;
        const std::string text = Cell(*rows.at(id), c);
        const char32_t key = test::Accelerator(text);
        EXPECT_NE(key, 0u) << Tsv().header[c] << " text " << id << " has no accelerator: " << text;
        const auto [it, fresh] = seen.emplace(key, id);
        EXPECT_TRUE(fresh || key == 0) << Tsv().header[c] << " texts " << it->second << " and " << id
                                       << " share an accelerator";
      }
    }
  }
}

// text-uses.tsv names the place of every row, and only of rows that exist.
TEST_F(TableContent, UsesListAndTableAgree) {
  const test::TsvFile uses = test::ReadTsv(LanguageDataPath("text-uses.tsv"));
  std::set<int> table;
  for (const auto& row : Tsv().rows) table.insert(std::stoi(row[0]));
  std::set<int> listed;
  for (const auto& row : uses.rows) {
    ASSERT_EQ(row.size(), 2u) << "line for " << Cell(row, 0);
    EXPECT_FALSE(row[1].empty()) << row[0];
    listed.insert(std::stoi(row[0]));
  }
  EXPECT_EQ(listed, table);
}

// Every number that the program's sources ask for literally has a row.
TEST_F(TableContent, EveryNumberTheSourcesAskForHasARow) {
  const std::vector<std::string> used = test::ReadLines(LanguageDataPath("used-ids.txt"));
  const auto rows = RowsById();
  ASSERT_FALSE(used.empty());
  for (const std::string& id : used) EXPECT_TRUE(rows.count(std::stoi(id))) << id;
}

// The English compiled into the program is the table's English column.
TEST_F(TableContent, BuiltInEnglishIsTheUkColumn) {
  for (const auto& row : Tsv().rows) EXPECT_EQ(BuiltInEnglishText(std::stoi(row[0])), row[kFirstLanguage]) << row[1];
  EXPECT_EQ(BuiltInEnglishText(1000), "");
}

}  // namespace
}  // namespace vek
