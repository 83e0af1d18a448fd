#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/CaseMap.h"
#include "base/Utf.h"
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
  ASSERT_TRUE(record.FindValue("LUM CLEANUP DIRECTORIES", "c:\\app"));
  EXPECT_EQ(*record.FindValue("LUM CLEANUP DIRECTORIES", "c:\\app"), "2");
  EXPECT_EQ(record.Serialize(),
            Utf16Le("[LuM CleanUp Directories]\r\nC:\\App=2\r\n\r\n[C:\\App]\r\na.txt=\r\n\r\n"));
}

TEST(CleanupScript, MergesAnEarlierRecordInAnyEncoding) {
  const std::string earlier = "[C:\\Old]\r\nold.txt=\r\n[LuM CleanUp Directories]\r\nC:\\Old=1\r\n";
  for (const std::string& bytes : {Utf16Le(earlier), earlier}) {
    TCleanupScript record("x");
    record.Merge(bytes);
    record.WriteKey("C:\\New", "new.txt");
    EXPECT_TRUE(record.FindValue("C:\\Old", "old.txt"));
    EXPECT_TRUE(record.FindValue("lum cleanup directories", "C:\\OLD"));
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

// The parts of a record: the program record, the folder list and a folder's section with the
// registration of another program.
const std::string kProgram = "[LuM CleanUp]\r\nSystem=Bad Record Product\r\nVersion=1.0\r\n";
const std::string kFolderList = "[LuM CleanUp Directories]\r\nC:\\App=1\r\n";
const std::string kAppFolder = "[C:\\App]\r\n*.*=\r\na.txt=\r\n[Uninstall]\r\nKey=OtherProgram\r\n";

// aSize bytes drawn from aAlphabet (any byte when it is empty), the same for every run.
std::string RandomBytes(std::size_t aSize, std::string_view aAlphabet, unsigned aSeed) {
  std::mt19937 random(aSeed);
  std::string bytes(aSize, '\0');
  for (char& c : bytes) {
    const std::uint32_t value = random();
    c = aAlphabet.empty() ? static_cast<char>(value & 0xFF) : aAlphabet[value % aAlphabet.size()];
  }
  return bytes;
}

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
      // Each of these would remove the folder C:\App and another program's registration if it
      // were taken for a record.
      {"random bytes", RandomBytes(4096, "", 1234), false},
      {"random text without NUL", RandomBytes(4096, "[]=\\:*.abcXYZ019 \r\n", 1234), false},
      {"byte-order mark only", "\xFF\xFE", false},
      {"folder entries only", Utf16Le(kAppFolder), false},
      {"no folder list", Utf16Le(kProgram + kAppFolder), false},
      {"empty folder list", Utf16Le(kProgram + "[LuM CleanUp Directories]\r\n" + kAppFolder), false},
      {"no program record", Utf16Le(kFolderList + kAppFolder), false},
      {"UTF-16 without byte-order mark", Utf16Le(kProgram + kFolderList + kAppFolder).substr(2), false},
      {"NUL inside a name", Utf16Le(kProgram + kFolderList + std::string("[C:\\App]\r\na\0.txt=\r\n", 19)),
       false},
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

// A record that names a.txt and then longname.txt, its UTF-16 bytes cut anywhere in that last
// line: "longn" may be a file of the user's, so the line goes whole, wherever the cut fell.
TEST(ParseCleanupRecord, DropsTheLastLineWhereverTheCutFalls) {
  const std::string whole = Utf16Le(std::string(kMinimalRecord) + "longname.txt=\r\n");
  const std::size_t start = whole.rfind(Utf16Le("longname.txt").substr(2));
  struct Case {
    const char* what;
    std::size_t size;
  };
  const Case cases[] = {
      {"inside the name", start + 10},
      {"inside a character", start + 11},
      {"before its =", start + 24},
      {"before its line end", start + 26},
  };
  for (const Case& c : cases) {
    const std::optional<TCleanupScript> record = ParseCleanupRecord("x", whole.substr(0, c.size));
    ASSERT_TRUE(record.has_value()) << c.what;
    EXPECT_EQ(record->SectionKeys("C:\\App"), (std::vector<std::string>{"a.txt"})) << c.what;
  }
}

// A record as large as an installation of many files: every key is found again in another
// case after the record went through its file, in the order it was written, and a key the file
// names twice keeps its first place and its last value.
TEST(ParseCleanupRecord, ALargeRecordSurvivesItsFile) {
  constexpr int kFiles = 20000;
  const auto name = [](int aIndex) {
    return "Group" + std::to_string(aIndex % 40) + "/Ø" + std::to_string(aIndex) + ".txt";
  };
  TCleanupScript written("x");
  written.WriteString("LuM CleanUp", "System", "Notes");
  written.WriteString("LuM CleanUp Directories", "C:\\App", "1");
  for (int i = 0; i < kFiles; ++i) written.WriteKey("C:\\App", name(i));
  std::string bytes = written.Serialize();
  for (const char16_t c : Utf8ToUtf16("[c:\\app]\r\nGROUP1/ø1.TXT=again\r\n")) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }

  const std::optional<TCleanupScript> read = ParseCleanupRecord("x", std::move(bytes));
  ASSERT_TRUE(read.has_value());
  const TRecordSection* section = read->FindSection("c:\\APP");
  ASSERT_NE(section, nullptr);
  ASSERT_EQ(section->Size(), static_cast<std::size_t>(kFiles));
  for (const int i : {0, 1, 2, 999, kFiles - 1})
    EXPECT_EQ(section->Key(static_cast<std::size_t>(i)), name(i));
  for (int i = 0; i < kFiles; i += 7) {
    ASSERT_EQ(section->Find(UpperCase(name(i))), std::optional<std::size_t>(i)) << name(i);
  }
  EXPECT_EQ(read->FindValue("C:\\App", "group1/Ø1.txt"), std::optional<std::string_view>("again"));
  EXPECT_EQ(read->FindValue("C:\\App", "group1/Ø1.txt.bak"), std::nullopt);
}

// A cleanup run's script store is the record without its file lists: the sections the folder
// and group lists name (in any case) are there but empty; every other section keeps its lines,
// including one whose name merely looks like a folder.
TEST(RecordFileListsLeftOut, EmptiesTheListedFileSectionsOnly) {
  const std::string text =
      "[LuM CleanUp]\r\nSystem=Notes\r\n"
      "[LuM CleanUp Directories]\r\nC:\\App=1\r\n%SYSDIR%\\Notes=1\r\n"
      "[LuM CleanUp Groups]\r\nC:\\Menu\\Notes=1\r\n"
      "[c:\\app]\r\nbin/notes.exe=\r\n"
      "[%SYSDIR%\\Notes]\r\nnotes.dll=\r\n"
      "[C:\\Menu\\Notes]\r\nNotes.lnk=\r\n"
      "[C:\\Other]\r\nkept.txt=\r\n"
      "[Language]\r\nLangCode=de\r\n";
  const TIniStore store = TIniStore::FromText(text, RecordFileListsLeftOut(text));
  for (const char* listed : {"C:\\APP", "%sysdir%\\notes", "C:\\Menu\\Notes"}) {
    ASSERT_TRUE(store.SectionExists(listed)) << listed;
    EXPECT_TRUE(store.SectionLines(listed).empty()) << listed;
  }
  EXPECT_EQ(store.SectionLines("C:\\Other"), std::vector<std::string>{"kept.txt="});
  EXPECT_EQ(store.ReadString("Language", "LangCode", ""), "de");
  EXPECT_EQ(store.ReadString("LuM CleanUp", "System", ""), "Notes");
  EXPECT_EQ(store.SectionLines("LuM CleanUp Directories").size(), 2u);
}

// A large record reaches its file in pieces that together are its bytes, and the writing stops
// at the first piece that cannot be written (a full drive).
TEST(CleanupScript, IsWrittenInPiecesAndStopsAtTheFirstFailure) {
  TCleanupScript record("x");
  record.WriteString("LuM CleanUp", "System", "Notes");
  record.WriteString("LuM CleanUp Directories", "C:\\App", "1");
  for (int i = 0; i < 20000; ++i) record.WriteKey("C:\\App", "group/file" + std::to_string(i) + ".txt");
  std::vector<std::string> pieces;
  ASSERT_TRUE(record.SerializeTo([&pieces](std::string_view aPiece) {
    pieces.emplace_back(aPiece);
    return true;
  }));
  ASSERT_GT(pieces.size(), 4u);
  std::string joined;
  for (const std::string& piece : pieces) joined += piece;
  EXPECT_EQ(joined, record.Serialize());
  const std::optional<TCleanupScript> read = ParseCleanupRecord("x", joined);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->SectionKeys("C:\\App").size(), 20000u);

  int calls = 0;
  EXPECT_FALSE(record.SerializeTo([&calls](std::string_view) { return ++calls < 2; }));
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace vek
