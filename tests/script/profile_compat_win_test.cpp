// The script store reads a file as the system's profile-string functions read the same file:
// each key below is looked up both ways and must agree. Where the store differs on purpose
// (it keeps surrounding quotes; it folds non-ASCII case), the expectation says so.
#include <gtest/gtest.h>

#include <string>

#include "script/IniStore.h"
#include "script/ScriptEncoding.h"
#include "system/AnsiCodePage.h"
#include "system/Files.h"
#include "system/ProfileString.h"
#include "utf16_bytes.h"

namespace vek {
namespace {

const char* const kScript =
    "top=before any section\r\n"
    "[A]\r\n"
    "k1=first\r\n"
    "K1=second\r\n"
    "  spaced key  =  spaced value  \r\n"
    "\ttab\t=\tv\t\r\n"
    "equals=a=b=c\r\n"
    "semi=a;b\r\n"
    "; c=comment\r\n"
    "#h=hash\r\n"
    "noequals\r\n"
    "=no name\r\n"
    "[B\r\n"
    "inb=1\r\n"
    "[ a ]\r\n"
    "k2=from the second A\r\n"
    "k1=third\r\n"
    "[x]]y] trailing\r\n"
    "xy=1\r\n"
    "  [D]\r\n"
    "d=1\rd2=2\nd3=3\r\n"
    "[]\r\n"
    "e=empty name\r\n"
    "[Q]\r\n"
    "q=\"quoted\"\r\n"
    "half=\"half\r\n";

struct Query {
  const char* section;
  const char* key;
};

const Query kQueries[] = {
    {"A", "k1"},    {"a", "K1"},          {"A", "spaced key"}, {"A", "tab"},   {"A", "equals"},
    {"A", "semi"},  {"A", "#h"},          {"A", "noequals"},   {"A", ""},      {"A", "[B"},
    {"A", "inb"},   {"B", "inb"},         {"A", "k2"},         {"x]]y", "xy"}, {"x", "xy"},
    {"D", "d"},     {"D", "d2"},          {"D", "d3"},         {"", "top"},    {"", "e"},
    {"Q", "half"},  {"Missing", "k1"},
};

std::string WriteScript(const std::string& aName, const std::string& aBytes) {
  const std::string path = GetTempDir() + aName;
  (void)DeleteFileAt(path);
  EXPECT_TRUE(AppendToFile(path, aBytes).ok());
  return path;
}

class ProfileCompatTest : public ::testing::TestWithParam<bool> {};

TEST_P(ProfileCompatTest, StoreAgreesWithTheProfileFunctions) {
  const bool utf16 = GetParam();
  const std::string bytes = utf16 ? Utf16Bytes(kScript, false) : std::string(kScript);
  const std::string path = WriteScript(utf16 ? "vek_compat16.ini" : "vek_compat8.ini", bytes);
  const TIniStore store = TIniStore::FromText(DecodeScriptBytes(bytes, AnsiToUtf8));
  for (const Query& q : kQueries) {
    EXPECT_EQ(store.ReadString(q.section, q.key, "<default>"), ReadProfileString(path, q.section, q.key, "<default>"))
        << "[" << q.section << "] " << q.key;
  }
  // The one chosen difference: the store keeps quotes around a value.
  EXPECT_EQ(ReadProfileString(path, "Q", "q", ""), "quoted");
  EXPECT_EQ(store.ReadString("Q", "q", ""), "\"quoted\"");
  // Lines of a section, repeated sections not merged; the profile functions list a comment
  // line nowhere, and neither does the store.
  const ProfileEntries entries = ReadProfileSection(path, "A");
  const std::vector<std::string> lines = store.SectionLines("A");
  ASSERT_EQ(lines.size(), entries.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool hasValue = lines[i].find('=') != std::string::npos;
    EXPECT_EQ(lines[i], hasValue ? entries[i].first + "=" + entries[i].second : entries[i].first);
  }
  (void)DeleteFileAt(path);
}

INSTANTIATE_TEST_SUITE_P(AnsiAndUtf16, ProfileCompatTest, ::testing::Values(false, true));

TEST(ProfileCompat, NonAsciiTextInEveryEncoding) {
  const std::string text = "[Sektion \xC3\x86\xC3\x98\xC3\x85]\r\nName=\xC3\xA6\xC3\xB8\xC3\xA5 \xE2\x82\xAC\r\n";
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"vek_u8.ini", "\xEF\xBB\xBF" + text},
      {"vek_u16le.ini", Utf16Bytes(text, false)},
      {"vek_u16be.ini", Utf16Bytes(text, true)},
      {"vek_ansi.ini", "[Sektion \xC6\xD8\xC5]\r\nName=\xE6\xF8\xE5 \x80\r\n"},  // code page 1252
  };
  for (const Case& c : cases) {
    const std::string path = WriteScript(c.name, c.bytes);
    const TIniStore store = TIniStore::FromText(DecodeScriptBytes(c.bytes, AnsiToUtf8));
    EXPECT_EQ(store.ReadString("Sektion \xC3\x86\xC3\x98\xC3\x85", "Name", ""), "\xC3\xA6\xC3\xB8\xC3\xA5 \xE2\x82\xAC")
        << c.name;
    EXPECT_EQ(ReadProfileString(path, "Sektion \xC3\x86\xC3\x98\xC3\x85", "Name", ""),
              "\xC3\xA6\xC3\xB8\xC3\xA5 \xE2\x82\xAC")
        << c.name;
    (void)DeleteFileAt(path);
  }
}

}  // namespace
}  // namespace vek
