#include <gtest/gtest.h>

#include "engine/CleanupScript.h"

namespace vek {
namespace {

std::string Utf16Le(std::string_view aAscii) {
  std::string bytes = "\xFF\xFE";
  for (const char c : aAscii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

TEST(CleanupScript, KeepsFirstWrittenOrderAndComparesWithoutCase) {
  TCleanupScript record("C:\\App\\CLEANUP.INI");
  record.WriteString("LuM CleanUp Directories", "C:\\App", "1");
  EXPECT_TRUE(record.WriteKey("C:\\App", "a.txt"));
  EXPECT_TRUE(record.WriteKey("c:\\app", "A.TXT"));  // the same file: no second key
  record.WriteString("lum cleanup directories", "C:\\APP", "2");
  EXPECT_EQ(record.SectionNames(), (std::vector<std::string>{"LuM CleanUp Directories", "C:\\App"}));
  ASSERT_NE(record.FindValue("LUM CLEANUP DIRECTORIES", "c:\\app"), nullptr);
  EXPECT_EQ(*record.FindValue("LUM CLEANUP DIRECTORIES", "c:\\app"), "2");
  EXPECT_EQ(record.Serialize(), Utf16Le("[LuM CleanUp Directories]\r\nC:\\App=2\r\n\r\n[C:\\App]\r\na.txt=\r\n\r\n"));
}

TEST(CleanupScript, MergesAnEarlierRecordInAnyEncoding) {
  const std::string earlier = "[C:\\Old]\r\nold.txt=\r\n[LuM CleanUp Directories]\r\nC:\\Old=1\r\n";
  for (const std::string& bytes : {Utf16Le(earlier), earlier}) {
    TCleanupScript record("x");
    record.Merge(bytes);
    record.WriteKey("C:\\New", "new.txt");
    EXPECT_NE(record.FindValue("C:\\Old", "old.txt"), nullptr);
    EXPECT_NE(record.FindValue("lum cleanup directories", "C:\\OLD"), nullptr);
    EXPECT_EQ(record.SectionNames().size(), 3u);
  }
  TCleanupScript damaged("x");
  damaged.Merge(std::string("\xFF\xFE\x00\xD8[\x00", 6));  // an unpaired surrogate and a cut header
  EXPECT_TRUE(damaged.SectionNames().empty() || damaged.SectionNames().size() == 1u);
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

constexpr const char* kMinimalRecord =
    "[LuM CleanUp]\r\nSystem=Notes\r\n[LuM CleanUp Directories]\r\nC:\\App=1\r\n[C:\\App]\r\na.txt=\r\n";

TEST(ParseCleanupRecord, ReadsRecordsInEveryEncodingAndRefusesWhatIsNotOne) {
  struct Case {
    const char* what;
    std::string bytes;
    bool usable;
  };
  const Case cases[] = {
      {"UTF-16 as the installer writes it", Utf16Le(kMinimalRecord), true},
      {"ANSI, as an editor may save it", kMinimalRecord, true},
      {"empty file", "", false},
      {"binary bytes", std::string("MZ\x90\0\x03\0\0\0[LuM CleanUp]\r\n", 20), false},
      {"an INI file that is not a cleanup record", "[Settings]\r\nA=1\r\n", false},
      {"program record without folder list", "[LuM CleanUp]\r\nSystem=Notes\r\n", false},
      {"ANSI bytes read as UTF-16 (NULs after decoding)", std::string("\xFF\xFE[\0\0\0", 6), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseCleanupRecord("x", c.bytes).has_value(), c.usable) << c.what;
  }
}

TEST(ParseCleanupRecord, DropsALastLineThatWasCutShort) {
  // The file ends in the middle of "a.txt=": the cut name must not be taken for a file.
  const std::string cut = std::string(kMinimalRecord) + "notes.t";
  const std::optional<TCleanupScript> record = ParseCleanupRecord("x", Utf16Le(cut));
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->SectionKeys("C:\\App"), (std::vector<std::string>{"a.txt"}));
}

}  // namespace
}  // namespace vek
