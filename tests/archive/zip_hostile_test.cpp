// Packs built to mislead: every one must give a defined outcome quickly, write nothing outside
// the destination folder and allocate nothing in proportion to the numbers it claims.
#include <gtest/gtest.h>

#include <functional>

#include "ZipBuilder.h"
#include "ZipTestSupport.h"
#include "archive/MemoryZipFiles.h"
#include "archive/ZipFiles.h"

namespace vek::test {
namespace {

constexpr const char* kPack = "pack.zip";

// Opens aBytes from memory and extracts every entry one call at a time, as the installer does.
struct TMemoryRun {
  explicit TMemoryRun(std::string aBytes, bool aKeepData = true) : Files(aKeepData), Reader(Files) {
    Files.AddPack(kPack, std::move(aBytes));
    Reader.SetArchiveFileName(kPack);
    Reader.SetEvents(Recorder.Events());
    Reader.SetDestinationFolder("out");
    Reader.SetRecreateFolders(true);
    Reader.SetKeepArchiveOpen(true);
  }
  // Extracts each entry alone and checks the reader's promise: an entry that is not extracted
  // raised exactly one skipping-file or bad-CRC event.
  int ExtractEach() {
    int extracted = 0;
    for (std::size_t i = 0; i < Reader.Count(); ++i) {
      const std::size_t eventsBefore = Recorder.Skips.size() + Recorder.BadCrcs.size();
      Reader.ClearSelection();
      Reader.Select(i);
      const int count = Reader.ExtractSelected();
      const std::size_t events = Recorder.Skips.size() + Recorder.BadCrcs.size() - eventsBefore;
      EXPECT_EQ(events, count == 1 ? 0u : 1u) << "entry " << i;
      extracted += count;
    }
    return extracted;
  }

  TMemoryZipFiles Files;
  TEventRecorder Recorder;
  TZipReader Reader;
};

TEST(HostilePacks, EscapingNamesAreRefusedAndTheRestIsExtracted) {
  const std::vector<std::string> hostile = {
      "../x",      "..\\x",        "/abs",    "C:\\x",           "\\\\server\\share\\x",
      "a/../../x", "a\\..\\..\\x", "nul.txt", "//server/share/y"};
  std::vector<std::string> names = {"good.txt"};
  names.insert(names.end(), hostile.begin(), hostile.end());
  names.push_back("ok/inner.txt");
  TTempFolder root;
  WriteBytes(root.Path() / kPack, SimplePack(names));
  TEventRecorder recorder;
  TZipReader reader(NativeZipFiles());
  reader.SetArchiveFileName(Utf8Path(root.Path() / kPack));
  reader.SetEvents(recorder.Events());
  ASSERT_TRUE(reader.ReadDirectory()) << reader.ErrorMessage();
  reader.SetDestinationFolder(Utf8Path(root.Path() / "dest"));
  reader.SetRecreateFolders(true);
  for (std::size_t i = 0; i < reader.Count(); ++i) reader.Select(i);

  EXPECT_EQ(reader.ExtractSelected(), 2);
  ASSERT_EQ(recorder.Skips.size(), hostile.size());
  for (std::size_t i = 0; i < hostile.size(); ++i) {
    EXPECT_EQ(recorder.Skips[i].Reason, srUnsafeName);
    EXPECT_EQ(recorder.Skips[i].FileName, hostile[i]);
    EXPECT_EQ(recorder.Skips[i].Index, i + 1);
  }
  const std::vector<std::string> expected = {"dest/", "dest/good.txt", "dest/ok/", "dest/ok/inner.txt",
                                             kPack};
  EXPECT_EQ(TreeOf(root.Path()), expected);
  EXPECT_EQ(ReadBytes(root.Path() / "dest" / "ok" / "inner.txt"), "content of ok/inner.txt");
}

struct TDirectoryCase {
  const char* Title;
  std::function<std::string()> Make;
};

void PrintTo(const TDirectoryCase& aCase, std::ostream* aOut) { *aOut << aCase.Title; }

class DamagedDirectoryTest : public ::testing::TestWithParam<TDirectoryCase> {};

TEST_P(DamagedDirectoryTest, OpenFailsWithAMessage) {
  TMemoryRun run(GetParam().Make());
  EXPECT_FALSE(run.Reader.ReadDirectory());
  EXPECT_FALSE(run.Reader.ErrorMessage().empty());
  EXPECT_EQ(run.Reader.Count(), 0u);
  run.Reader.Select(0);
  EXPECT_EQ(run.Reader.ExtractSelected(), 0);
}

TTestPack TwoFiles() {
  TTestPack pack;
  pack.Entries.resize(2);
  pack.Entries[0].Name = "one.txt";
  pack.Entries[0].Data = std::string(1000, 'a');
  pack.Entries[1].Name = "two.txt";
  pack.Entries[1].Data = "second";
  return pack;
}

std::string Patched(std::string aBytes, std::size_t aFromEnd, std::string_view aWith) {
  aBytes.replace(aBytes.size() - aFromEnd, aWith.size(), aWith);
  return aBytes;
}

// Two files with one lie told about them, and optionally bytes overwritten at the end.
std::function<std::string()> TwoFilesWith(std::function<void(TTestPack&)> aLie, std::size_t aPatchFromEnd = 0,
                                          std::string aPatch = {}) {
  return [=] {
    TTestPack pack = TwoFiles();
    aLie(pack);
    const std::string bytes = BuildPack(pack);
    return aPatch.empty() ? bytes : Patched(bytes, aPatchFromEnd, aPatch);
  };
}

void Zip64(TTestPack& aPack) { aPack.Zip64 = true; }

const std::size_t kEndRecordSize = 22, kLocatorSize = 20, kZip64EndSize = 56;

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedDirectoryTest,
    ::testing::Values(
        TDirectoryCase{"Empty", [] { return std::string(); }},
        TDirectoryCase{"Text", [] { return std::string(5000, 'x'); }},
        TDirectoryCase{"MoreEntriesThanFit",
                       TwoFilesWith([](TTestPack& aPack) { aPack.EntryCount = 65000; })},
        TDirectoryCase{"Zip64MillionsOfEntries", TwoFilesWith([](TTestPack& aPack) {
                         Zip64(aPack);
                         aPack.EntryCount = 4'000'000'000ULL;
                       })},
        TDirectoryCase{"DirectoryLargerThanFile", TwoFilesWith([](TTestPack& aPack) {
                         Zip64(aPack);
                         aPack.DirectorySize = 1ULL << 40;
                       })},
        TDirectoryCase{"DirectoryOffsetAtEndRecord", TwoFilesWith([](TTestPack& aPack) {
                         aPack.DirectoryOffset = BuildPack(TwoFiles()).size() - kEndRecordSize;
                       })},
        TDirectoryCase{"EntriesShareTheirData",
                       TwoFilesWith([](TTestPack& aPack) { aPack.Entries[1].CentralOffset = 0; })},
        TDirectoryCase{"EntryDataRunsIntoDirectory", TwoFilesWith([](TTestPack& aPack) {
                         aPack.Entries[1].CentralCompressedSize = 1 << 20;
                       })},
        TDirectoryCase{"EntryOffsetBeyondFile",
                       TwoFilesWith([](TTestPack& aPack) { aPack.Entries[0].CentralOffset = 0xFFFFFF00; })},
        TDirectoryCase{"Zip64EndRecordDamaged",
                       TwoFilesWith(Zip64, kEndRecordSize + kLocatorSize + kZip64EndSize, "XXXX")},
        TDirectoryCase{"Zip64MissingLocator", TwoFilesWith(Zip64, kEndRecordSize + kLocatorSize, "XXXX")},
        TDirectoryCase{"SeveralDisks", TwoFilesWith([](TTestPack&) {}, kEndRecordSize - 4, "\x01")}),
    [](const ::testing::TestParamInfo<TDirectoryCase>& aInfo) { return std::string(aInfo.param.Title); });

TEST(HostilePacks, EveryPrefixOfAPackGivesAnOpenError) {
  TTestPack pack = TwoFiles();
  pack.Comment = "a comment";
  const std::string bytes = BuildPack(pack);
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    TMemoryRun run(bytes.substr(0, length));
    EXPECT_FALSE(run.Reader.ReadDirectory()) << "prefix of " << length << " bytes";
    EXPECT_FALSE(run.Reader.ErrorMessage().empty());
  }
  TMemoryRun whole(bytes);
  ASSERT_TRUE(whole.Reader.ReadDirectory()) << whole.Reader.ErrorMessage();
  EXPECT_EQ(whole.ExtractEach(), 2);
}

// Every byte of a small pack replaced in turn: the reader either refuses the pack or handles
// every entry with a result or an event, and never writes outside "out".
TEST(HostilePacks, EveryDamagedByteGivesADefinedOutcome) {
  TTestPack pack = TwoFiles();
  pack.Entries[0].Name = "dir/one.txt";
  pack.Entries[1].Deflated = false;
  const std::string bytes = BuildPack(pack);
  for (std::size_t pos = 0; pos < bytes.size(); ++pos) {
    for (const char value : {'\x00', '\xFF', static_cast<char>(bytes[pos] ^ 0x80)}) {
      std::string damaged = bytes;
      damaged[pos] = value;
      TMemoryRun run(damaged, false);
      if (!run.Reader.ReadDirectory()) continue;
      SCOPED_TRACE("byte " + std::to_string(pos));
      run.ExtractEach();
      for (const auto& [path, file] : run.Files.Files()) EXPECT_EQ(path.rfind("out/", 0), 0u) << path;
    }
  }
}

struct TEntryFault {
  const char* Title;
  std::function<void(TTestEntry&)> Damage;
  bool BadCrc;  // otherwise a damaged-entry skip
};

void PrintTo(const TEntryFault& aCase, std::ostream* aOut) { *aOut << aCase.Title; }

class DamagedEntryTest : public ::testing::TestWithParam<TEntryFault> {};

// The damaged entry sits between two good ones, which must still come out.
TEST_P(DamagedEntryTest, OnlyThatEntryIsRefused) {
  TTestPack pack;
  pack.Entries.resize(3);
  for (std::size_t i = 0; i < 3; ++i) {
    pack.Entries[i].Name = "file" + std::to_string(i) + ".txt";
    pack.Entries[i].Data = std::string(3000, static_cast<char>('a' + i)) + "tail";
  }
  GetParam().Damage(pack.Entries[1]);
  TMemoryRun run(BuildPack(pack));
  ASSERT_TRUE(run.Reader.ReadDirectory()) << run.Reader.ErrorMessage();
  EXPECT_EQ(run.ExtractEach(), 2);
  EXPECT_EQ(run.Files.Files().count("out/file0.txt"), 1u);
  EXPECT_EQ(run.Files.Files().count("out/file1.txt"), 0u);
  EXPECT_EQ(run.Files.Files().count("out/file2.txt"), 1u);
  if (GetParam().BadCrc) {
    ASSERT_EQ(run.Recorder.BadCrcs.size(), 1u);
    EXPECT_EQ(run.Recorder.BadCrcs[0].Index, 1u);
    EXPECT_EQ(run.Recorder.BadCrcs[0].Calculated, Crc32(pack.Entries[1].Data));
    EXPECT_EQ(run.Recorder.BadCrcs[0].Stored, 0x12345678u);
  } else {
    ASSERT_EQ(run.Recorder.Skips.size(), 1u);
    EXPECT_EQ(run.Recorder.Skips[0].Reason, srDamagedEntry);
    EXPECT_EQ(run.Recorder.Skips[0].Index, 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedEntryTest,
    ::testing::Values(
        TEntryFault{"WrongCrc",
                    [](TTestEntry& aEntry) {
                      aEntry.CentralCrc = 0x12345678;
                      aEntry.Descriptor = ddSigned;  // the local header then carries no CRC to compare
                    },
                    true},
        TEntryFault{"LocalSizeDisagrees", [](TTestEntry& aEntry) { aEntry.LocalSize = 17; }, false},
        TEntryFault{"DirectorySizeTooSmall", [](TTestEntry& aEntry) { aEntry.CentralSize = 100; }, false},
        TEntryFault{"DirectorySizeTooLarge",
                    [](TTestEntry& aEntry) {
                      aEntry.CentralSize = 1'000'000;
                      aEntry.Descriptor = ddSigned;  // so that the local header cannot disagree
                    },
                    false},
        TEntryFault{"NotDeflateData",
                    [](TTestEntry& aEntry) { aEntry.Compressed = std::string(200, '\xFF'); }, false},
        TEntryFault{"DeflateCutShort",
                    [](TTestEntry& aEntry) { aEntry.Compressed = RawDeflate(aEntry.Data).substr(0, 10); },
                    false},
        TEntryFault{"StoredSizesDiffer",
                    [](TTestEntry& aEntry) {
                      aEntry.Deflated = false;
                      aEntry.Descriptor = ddUnsigned;
                      aEntry.CentralSize = 10;
                    },
                    false},
        TEntryFault{"NoLocalHeader", [](TTestEntry& aEntry) { aEntry.BreakLocalSignature = true; }, false}),
    [](const ::testing::TestParamInfo<TEntryFault>& aInfo) { return std::string(aInfo.param.Title); });

// A kilobyte of deflate data that inflates to a megabyte of zeros while the directory claims
// a thousand bytes: no more than the claimed size is ever written, the entry is refused, and
// nothing of it stays on disk.
TEST(HostilePacks, InflationBeyondTheDeclaredSizeIsStopped) {
  TTestPack pack;
  pack.Entries.resize(1);
  pack.Entries[0].Name = "bomb.bin";
  pack.Entries[0].Data = std::string(1 << 20, '\0');
  pack.Entries[0].CentralSize = 1000;
  pack.Entries[0].LocalSize = 1000;
  const std::string bytes = BuildPack(pack);
  ASSERT_LT(bytes.size(), 2000u);

  TMemoryRun run(bytes);
  ASSERT_TRUE(run.Reader.ReadDirectory()) << run.Reader.ErrorMessage();
  EXPECT_EQ(run.ExtractEach(), 0);
  EXPECT_LE(run.Files.BytesWritten(), 1000u);
  ASSERT_EQ(run.Recorder.Skips.size(), 1u);
  EXPECT_EQ(run.Recorder.Skips[0].Reason, srDamagedEntry);

  TTempFolder root;
  WriteBytes(root.Path() / kPack, bytes);
  TZipReader reader(NativeZipFiles());
  reader.SetArchiveFileName(Utf8Path(root.Path() / kPack));
  ASSERT_TRUE(reader.ReadDirectory()) << reader.ErrorMessage();
  reader.SetDestinationFolder(Utf8Path(root.Path() / "out"));
  reader.Select(0);
  EXPECT_EQ(reader.ExtractSelected(), 0);
  const std::vector<std::string> expected = {"out/", kPack};
  EXPECT_EQ(TreeOf(root.Path()), expected);
}

// The other lie: ten gigabytes claimed for a kilobyte of data. Nothing is allocated for the
// claim, and the stream's early end refuses the entry.
TEST(HostilePacks, ClaimedHugeSizeWithLittleDataIsRefused) {
  TTestPack pack;
  pack.Zip64 = true;
  pack.Entries.resize(1);
  pack.Entries[0].Name = "huge.bin";
  pack.Entries[0].Data = std::string(1 << 20, '\0');
  pack.Entries[0].CentralSize = 10ULL << 30;
  pack.Entries[0].LocalSize = 10ULL << 30;
  TMemoryRun run(BuildPack(pack), false);
  ASSERT_TRUE(run.Reader.ReadDirectory()) << run.Reader.ErrorMessage();
  EXPECT_EQ(run.Reader.Entry(0).UncompressedSize, 10ULL << 30);
  EXPECT_EQ(run.ExtractEach(), 0);
  ASSERT_EQ(run.Recorder.Skips.size(), 1u);
  EXPECT_EQ(run.Recorder.Skips[0].Reason, srDamagedEntry);
  EXPECT_TRUE(run.Files.Files().empty());
}

}  // namespace
}  // namespace vek::test
