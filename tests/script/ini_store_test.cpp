// The script store: reading rules, duplicates, numbers and the encodings of script files.
#include <gtest/gtest.h>

#include <string>

#include "script/CodePage1252.h"
#include "script/IniStore.h"
#include "script/ScriptEncoding.h"

namespace vek {
namespace {

const char* const kScript =
    "top=before any section\r\n"
    "[System Info]\r\n"
    "; Name=commented out\r\n"
    "Name=First\r\n"
    "name=Second\r\n"
    "  Spaced Key  =  spaced value  \r\n"
    "Quoted=\"C:\\Program Files\"\r\n"
    "Equals=a=b=c\r\n"
    "Semicolon=a;b ; not a comment\r\n"
    "NoEquals\r\n"
    "=no name\r\n"
    "[Broken\r\n"
    "AfterBroken=still System Info\r\n"
    "[ system info ]\r\n"
    "Later=in the second section of that name\r\n"
    "[a]]b] ignored rest\r\n"
    "Weird=1\n"
    "[CR]\rOne=1\rTwo=2\r"
    "[Empty]\r\n";

class IniStoreTest : public ::testing::Test {
 protected:
  TIniStore store = TIniStore::FromText(kScript);
};

TEST_F(IniStoreTest, ReadsKeysByTheRulesOfTheProfileFunctions) {
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"System Info", "Name", "First"},                  // the first of a repeated key
      {"SYSTEM INFO", "NAME", "First"},                  // names without regard to case
      {"System Info", "Spaced Key", "spaced value"},     // name and value trimmed
      {"System Info", "Quoted", "\"C:\\Program Files\""},  // quotes are kept
      {"System Info", "Equals", "a=b=c"},                // split at the first "="
      {"System Info", "Semicolon", "a;b ; not a comment"},
      {"System Info", "", "no name"},
      {"System Info", "NoEquals", "<default>"},          // a line without "=" is no key
      {"System Info", "AfterBroken", "still System Info"},  // "[Broken" is no header
      {"System Info", "Later", "<default>"},             // the repeated section is not read
      {"System Info", "; Name", "<default>"},            // comments are skipped
      {"", "top", "before any section"},
      {"a]]b", "Weird", "1"},                            // the name ends at the last "]"
      {"CR", "Two", "2"},                                // a lone CR ends a line
      {"Missing", "Name", "<default>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(store.ReadString(c.section, c.key, "<default>"), c.expected) << c.section << "/" << c.key;
  }
}

TEST_F(IniStoreTest, SectionLinesKeepFileOrderAndLinesWithoutEquals) {
  const std::vector<std::string> expected = {
      "Name=First", "name=Second", "Spaced Key=spaced value", "Quoted=\"C:\\Program Files\"", "Equals=a=b=c",
      "Semicolon=a;b ; not a comment", "NoEquals", "=no name", "[Broken", "AfterBroken=still System Info"};
  EXPECT_EQ(store.SectionLines("system info"), expected);
  EXPECT_TRUE(store.SectionLines("Missing").empty());
  EXPECT_TRUE(store.SectionLines("Empty").empty());
  EXPECT_TRUE(store.SectionExists("Empty"));
}

TEST_F(IniStoreTest, SectionNamesOnceEachInFileOrder) {
  const std::vector<std::string> expected = {"System Info", "a]]b", "CR", "Empty"};
  EXPECT_EQ(store.SectionNames(), expected);
  EXPECT_EQ(store.Sections().size(), 6u);  // the unnamed one and the repeated one are kept
}

TEST(IniStoreNumbers, IntegersAndBooleans) {
  const TIniStore store = TIniStore::FromText(
      "[N]\ndec=42\nneg=-7\nhex=0x1F\nHEX=$ff\nbig=$FFFFFFFF\nover=2147483648\nmin=-2147483648\n"
      "word=12a\nempty=\nzero=0\nblank= 3 \n");
  struct Case {
    const char* key;
    int expected;
  };
  const Case cases[] = {{"dec", 42},  {"neg", -7},  {"hex", 31},   {"HEX", 31},          {"big", -1},
                        {"over", 99}, {"word", 99}, {"empty", 99}, {"min", INT32_MIN}, {"missing", 99},
                        {"blank", 3}};
  for (const Case& c : cases) EXPECT_EQ(store.ReadInteger("N", c.key, 99), c.expected) << c.key;

  EXPECT_FALSE(store.ReadBool("N", "zero", true));
  EXPECT_TRUE(store.ReadBool("N", "neg", false));
  EXPECT_TRUE(store.ReadBool("N", "word", true));  // unreadable: the default
  EXPECT_FALSE(store.ReadBool("N", "word", false));
}

TEST(IniStoreNames, NonAsciiNamesCompareWithoutRegardToCase) {
  const TIniStore store = TIniStore::FromText("[Ø\xC3\xA6]\nSTRASSE=1\n");  // "Øæ"
  EXPECT_EQ(store.ReadString("\xC3\xB8\xC3\x86", "strasse", ""), "1");   // "øÆ"
}

TEST(ScriptEncoding, ByteOrderMarksChooseTheEncoding) {
  struct Case {
    std::string bytes;
    TScriptEncoding encoding;
    std::string text;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBFk=\xC3\xA6", TScriptEncoding::Utf8, "k=\xC3\xA6"},
      {std::string("\xFF\xFEk\0=\0\xE6\0", 8), TScriptEncoding::Utf16LE, "k=\xC3\xA6"},
      {std::string("\xFE\xFF\0k\0=\0\xE6", 8), TScriptEncoding::Utf16BE, "k=\xC3\xA6"},
      {"k=\xE6\x80", TScriptEncoding::Ansi, "k=\xC3\xA6\xE2\x82\xAC"},  // 1252: æ €
      {"\xEF\xBB\xBF", TScriptEncoding::Utf8, ""},
      {"\xFF\xFE", TScriptEncoding::Utf16LE, ""},
      {"", TScriptEncoding::Ansi, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectScriptEncoding(c.bytes), c.encoding);
    EXPECT_EQ(DecodeScriptBytes(c.bytes, nullptr), c.text);
  }
}

TEST(ScriptEncoding, DamagedBytesBecomeReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  struct Case {
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF" "a\xFF" "b\xC3", "a" + replacement + "b" + replacement},  // invalid UTF-8
      {std::string("\xFF\xFE\x00\xD8x\0", 6), replacement + "x"},                // lone high surrogate
      {std::string("\xFF\xFEx\0\x00\xDC", 6), "x" + replacement},                // lone low surrogate
      {std::string("\xFF\xFEx\0y", 5), "x" + replacement},                       // odd byte at the end
      {std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6), "\xF0\x9F\x98\x80"},          // a pair stays one character
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeScriptBytes(c.bytes, nullptr), c.text);
}

// A large UTF-16 file is converted in pieces: a surrogate pair is one character wherever it
// falls, and a lone surrogate one replacement character.
TEST(ScriptEncoding, LargeUtf16TextDecodesAsAWhole) {
  const std::string pair = std::string("\x3D\xD8\x00\xDE", 4);  // U+1F600, little-endian
  const std::string lone = std::string("\x00\xD8", 2);
  for (std::size_t padding = 32760; padding < 32772; ++padding) {
    std::string bytes = "\xFF\xFE";
    std::string text;
    for (std::size_t i = 0; i < padding; ++i) bytes += std::string("a\0", 2), text += 'a';
    for (int i = 0; i < 8; ++i) bytes += pair, text += "\xF0\x9F\x98\x80";
    bytes += lone + std::string("b\0", 2), text += "\xEF\xBF\xBD" "b";
    ASSERT_EQ(DecodeScriptBytes(bytes, nullptr), text) << padding;
  }
}

TEST(ScriptEncoding, AnsiDecoderOutputIsValidated) {
  const auto broken = [](std::string_view) { return std::string("ok\xFF"); };
  EXPECT_EQ(DecodeScriptBytes("x", broken), "ok\xEF\xBF\xBD");
}

TEST(CodePage1252, HighRangeAndUndefinedBytes) {
  EXPECT_EQ(DecodeWindows1252("\x80\x8A\x9F\xA0\xFF"), "\xE2\x82\xAC\xC5\xA0\xC5\xB8\xC2\xA0\xC3\xBF");
  EXPECT_EQ(DecodeWindows1252("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

}  // namespace
}  // namespace vek
