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
  ASSERT_NE(record.ReadString("LUM CLEANUP DIRECTORIES", "c:\\app"), nullptr);
  EXPECT_EQ(*record.ReadString("LUM CLEANUP DIRECTORIES", "c:\\app"), "2");
  EXPECT_EQ(record.Serialize(), Utf16Le("[LuM CleanUp Directories]\r\nC:\\App=2\r\n\r\n[C:\\App]\r\na.txt=\r\n\r\n"));
}

TEST(CleanupScript, MergesAnEarlierRecordInAnyEncoding) {
  const std::string earlier = "[C:\\Old]\r\nold.txt=\r\n[LuM CleanUp Directories]\r\nC:\\Old=1\r\n";
  for (const std::string& bytes : {Utf16Le(earlier), earlier}) {
    TCleanupScript record("x");
    record.Merge(bytes);
    record.WriteKey("C:\\New", "new.txt");
    EXPECT_NE(record.ReadString("C:\\Old", "old.txt"), nullptr);
    EXPECT_NE(record.ReadString("lum cleanup directories", "C:\\OLD"), nullptr);
    EXPECT_EQ(record.SectionNames().size(), 3u);
  }
  TCleanupScript damaged("x");
  damaged.Merge(std::string("\xFF\xFE\x00\xD8[\x00", 6));  // an unpaired surrogate and a cut header
  EXPECT_TRUE(damaged.SectionNames().empty() || damaged.SectionNames().size() == 1u);
}

}  // namespace
}  // namespace vek
