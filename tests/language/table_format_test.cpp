#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "TableBytes.h"
#include "TableFiles.h"
#include "language/LanguageTable.h"
#include "language/LanguageTableFormat.h"

namespace vek {
namespace {

using test::EncodeTable;
using test::LanguageDataPath;
using test::ReadBinaryFile;
using test::RecomputeChecksum;

// The generated resource data holds exactly what veklang.tsv says, cell by cell, in file order.
TEST(LanguageTableFormat, GeneratedDataMatchesTheTsv) {
  TLanguageTableData table;
  ASSERT_TRUE(DecodeLanguageTable(ReadBinaryFile(LanguageDataPath("veklang.bin")), table));
  test::ExpectSameAsShippedTsv(table);
}

TLanguageTableData SmallTable() {
  return {{"UK", "DE"}, {{10, "contr_Cancel", {"&Cancel", "&Abbrechen"}}, {46, "LoadIniF_2", {"%s", ""}}}};
}

// Every shorter piece of a valid table is refused, and the table stays closed and empty.
TEST(LanguageTableFormat, TruncatedDataNeverOpens) {
  const std::string bytes = ReadBinaryFile(LanguageDataPath("veklang.bin"));
  ASSERT_FALSE(bytes.empty());
  TLanguageTable table;
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    ASSERT_FALSE(table.Open(std::string_view(bytes).substr(0, length))) << length;
    ASSERT_EQ(table.RowById(10), nullptr);
    ASSERT_TRUE(table.Data().fRows.empty());
  }
  EXPECT_TRUE(table.Open(bytes));
}

void PutU32(std::string& aBytes, std::size_t aAt, std::uint32_t aValue) {
  for (int i = 0; i < 4; ++i) aBytes[aAt + i] = static_cast<char>((aValue >> (8 * i)) & 0xFF);
}

// Damage in the header or the payload: each case changes one thing of a valid table.
TEST(LanguageTableFormat, DamagedDataIsRefused) {
  const struct {
    const char* what;
    void (*damage)(std::string&);
  } cases[] = {
      {"magic", [](std::string& b) { b[0] = 'X'; }},
      {"format version", [](std::string& b) { b[4] = 2; }},
      {"no language column", [](std::string& b) { b[6] = 0; }},
      {"payload byte (checksum)", [](std::string& b) { b[30] ^= 0x20; }},
      {"checksum", [](std::string& b) { b[16] ^= 1; }},
      {"payload longer than the data", [](std::string& b) { PutU32(b, 12, static_cast<std::uint32_t>(b.size())); }},
      {"one row more than stored", [](std::string& b) { PutU32(b, 8, 3); }},
      {"huge row count", [](std::string& b) { PutU32(b, 8, 0xFFFFFFFFu); }},
      {"one row less than stored", [](std::string& b) { PutU32(b, 8, 1); }},
      {"text length past the end", [](std::string& b) { b[b.size() - 2] = '\x7F'; RecomputeChecksum(b); }},
      {"empty column name", [](std::string& b) { b[20] = 0; RecomputeChecksum(b); }},
  };
  for (const auto& c : cases) {
    std::string bytes = EncodeTable(SmallTable());
    c.damage(bytes);
    TLanguageTable table;
    EXPECT_FALSE(table.Open(bytes)) << c.what;
    EXPECT_FALSE(table.IsOpen()) << c.what;
  }
}

// Resource compilers may pad the data; bytes after the stated payload do not matter.
TEST(LanguageTableFormat, PaddingAfterThePayloadIsIgnored) {
  TLanguageTable table;
  EXPECT_TRUE(table.Open(EncodeTable(SmallTable()) + std::string(3, '\0')));
  ASSERT_NE(table.RowById(10), nullptr);
  EXPECT_EQ(table.RowById(10)->fTexts[1], "&Abbrechen");
}

// The two indexes: ID unique, Name unique without regard to case; language codes likewise.
TEST(LanguageTableFormat, DuplicateKeysAreRefused) {
  const struct {
    const char* what;
    TLanguageTableData data;
  } cases[] = {
      {"ID", {{"UK"}, {{7, "contr_Next", {"a"}}, {7, "contr_Back", {"b"}}}}},
      {"Name", {{"UK"}, {{7, "contr_Next", {"a"}}, {8, "CONTR_NEXT", {"b"}}}}},
      {"language", {{"UK", "uk"}, {{7, "contr_Next", {"a", "b"}}}}},
  };
  for (const auto& c : cases) {
    TLanguageTable table;
    EXPECT_FALSE(table.Open(EncodeTable(c.data))) << c.what;
  }
}

TEST(LanguageTableFormat, KeepsRowOrderAndFindsByEitherIndex) {
  TLanguageTable table;
  ASSERT_TRUE(table.Open(EncodeTable(SmallTable())));
  EXPECT_EQ(table.Data().fRows[0].fID, 10);
  EXPECT_EQ(table.Data().fRows[1].fID, 46);
  EXPECT_EQ(table.RowByName("loadinif_2"), table.RowById(46));
  EXPECT_EQ(table.ColumnOf("de"), 1);
  EXPECT_EQ(table.ColumnOf("PL"), -1);
  table.Close();
  EXPECT_EQ(table.RowById(10), nullptr);
}

}  // namespace
}  // namespace vek
