// The reader's operations and events, on packs built by the tests.
#include <gtest/gtest.h>

#include "ZipBuilder.h"
#include "ZipTestSupport.h"
#include "archive/MemoryZipFiles.h"
#include "archive/ZipFiles.h"

namespace vek::test {
namespace {

constexpr const char* kPack = "pack.zip";

TTestEntry Entry(std::string aName, std::string aData, bool aDeflated = true) {
  TTestEntry entry;
  entry.Name = std::move(aName);
  entry.Data = std::move(aData);
  entry.Deflated = aDeflated;
  return entry;
}

class MemoryReader : public ::testing::Test {
 protected:
  MemoryReader() : fReader(fFiles) {}

  bool Open(const std::string& aBytes) {
    fFiles.AddPack(kPack, aBytes);
    fReader.SetArchiveFileName(kPack);
    fReader.SetEvents(fRecorder.Events());
    fReader.SetDestinationFolder("out");
    fReader.SetRecreateFolders(true);
    return fReader.ReadDirectory();
  }
  int ExtractAll() {
    for (std::size_t i = 0; i < fReader.Count(); ++i) fReader.Select(i);
    return fReader.ExtractSelected();
  }
  std::string Extracted(const std::string& aPath) const {
    const auto file = fFiles.Files().find(aPath);
    return file == fFiles.Files().end() ? "<missing>" : file->second.Data;
  }

  TMemoryZipFiles fFiles;
  TEventRecorder fRecorder;
  TZipReader fReader;
};

TEST_F(MemoryReader, NamesAreDecodedByTheirMarks) {
  TTestPack pack;
  pack.Entries.push_back(Entry("caf\x82 \x84\x94\x81.txt", "cp437"));
  TTestEntry utf8 = Entry("caf\xC3\xA9-utf8.txt", "utf8");
  utf8.Flags = 0x0800;
  pack.Entries.push_back(utf8);
  // Info-ZIP's Unicode path field counts only when its CRC is that of the stored name.
  const std::string raw = "caf\x82-x.txt";
  for (const std::uint32_t nameCrc : {Crc32(raw), Crc32(raw) ^ 1u}) {
    TTestEntry unicode = Entry(raw, "field");
    const std::string utf8Name = "café-unicode.txt";
    std::string field = "\x75\x70";
    field += static_cast<char>(5 + utf8Name.size());
    field += '\0';
    field += '\x01';
    for (int shift = 0; shift < 32; shift += 8) field += static_cast<char>((nameCrc >> shift) & 0xFF);
    unicode.CentralExtra = field + utf8Name;
    pack.Entries.push_back(unicode);
  }
  ASSERT_TRUE(Open(BuildPack(pack))) << fReader.ErrorMessage();
  ASSERT_EQ(fReader.Count(), 4u);
  EXPECT_EQ(fReader.Entry(0).FullName, "café äöü.txt");
  EXPECT_EQ(fReader.Entry(1).FullName, "café-utf8.txt");
  EXPECT_EQ(fReader.Entry(2).FullName, "café-unicode.txt");
  EXPECT_EQ(fReader.Entry(3).FullName, "café-x.txt");
  EXPECT_EQ(ExtractAll(), 4);
}

TEST_F(MemoryReader, EntriesTellNameSizeAndTime) {
  TTestPack pack;
  pack.Entries.push_back(Entry("bin/", ""));
  pack.Entries.push_back(Entry("bin/tool.exe", std::string(70000, 'x')));
  pack.Entries.back().DosDateTime = 0x5A2B3C4D;
  ASSERT_TRUE(Open(BuildPack(pack))) << fReader.ErrorMessage();
  ASSERT_EQ(fReader.Count(), 2u);
  EXPECT_TRUE(fReader.Entry(0).IsFolder);
  EXPECT_EQ(fReader.Entry(0).FileName(), "");
  EXPECT_FALSE(fReader.Entry(1).IsFolder);
  EXPECT_EQ(fReader.Entry(1).FullName, "bin/tool.exe");
  EXPECT_EQ(fReader.Entry(1).FileName(), "tool.exe");
  EXPECT_EQ(fReader.Entry(1).UncompressedSize, 70000u);
  EXPECT_EQ(fReader.Entry(1).DosDateTime, 0x5A2B3C4Du);
}

// Real archivers write these forms; each must read back the same files.
struct TLayoutCase {
  const char* Title;
  bool Zip64;
  TDescriptor Descriptor;
  const char* Comment;
  const char* Stub;  // bytes in front of the archive, offsets not adjusted (self-extractors)
};

void PrintTo(const TLayoutCase& aCase, std::ostream* aOut) { *aOut << aCase.Title; }

class LayoutTest : public MemoryReader, public ::testing::WithParamInterface<TLayoutCase> {};

TEST_P(LayoutTest, ReadsBackTheFiles) {
  const TLayoutCase& c = GetParam();
  TTestPack pack;
  pack.Zip64 = c.Zip64;
  pack.Comment = c.Comment;
  pack.Entries.push_back(Entry("a/deflated.txt", std::string(100000, 'd')));
  pack.Entries.push_back(Entry("a/stored.txt", "stored bytes", false));
  pack.Entries.push_back(Entry("empty.txt", ""));
  pack.Entries.push_back(Entry("empty-folder/", ""));
  for (TTestEntry& entry : pack.Entries) entry.Descriptor = c.Descriptor;
  ASSERT_TRUE(Open(c.Stub + BuildPack(pack))) << fReader.ErrorMessage();
  EXPECT_EQ(ExtractAll(), 4);
  EXPECT_TRUE(fRecorder.Skips.empty());
  EXPECT_EQ(Extracted("out/a/deflated.txt"), std::string(100000, 'd'));
  EXPECT_EQ(Extracted("out/a/stored.txt"), "stored bytes");
  EXPECT_EQ(Extracted("out/empty.txt"), "");
  EXPECT_EQ(fFiles.Folders().count("out/empty-folder"), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutTest,
    ::testing::Values(TLayoutCase{"Plain", false, ddNone, "", ""}, TLayoutCase{"Zip64", true, ddNone, "", ""},
                      TLayoutCase{"DescriptorWithSignature", false, ddSigned, "", ""},
                      TLayoutCase{"DescriptorWithoutSignature", false, ddUnsigned, "", ""},
                      TLayoutCase{"Zip64Descriptors", true, ddUnsigned, "", ""},
                      // A comment that holds an end record's signature must not be taken for one.
                      TLayoutCase{"CommentWithFakeRecord", false, ddNone, "PK\x05\x06 fake", ""},
                      TLayoutCase{"Stub", false, ddNone, "", "MZ stub of a self-extractor"},
                      TLayoutCase{"Zip64Stub", true, ddNone, "comment", "MZ stub"}),
    [](const ::testing::TestParamInfo<TLayoutCase>& aInfo) { return std::string(aInfo.param.Title); });

TEST_F(MemoryReader, EmptyArchiveHasNoEntries) {
  ASSERT_TRUE(Open(BuildPack(PackOf({})))) << fReader.ErrorMessage();
  EXPECT_EQ(fReader.Count(), 0u);
}

TEST_F(MemoryReader, MissingPackGivesTheOpenError) {
  fReader.SetArchiveFileName("absent.zip");
  EXPECT_FALSE(fReader.ReadDirectory());
  EXPECT_EQ(fReader.ErrorMessage(), "The file does not exist");
}

TEST_F(MemoryReader, EventsFollowOneFile) {
  ASSERT_TRUE(Open(BuildPack(PackOf({Entry("dir/big.bin", std::string(3 << 20, 'b'))}))));
  fReader.Select(0);
  EXPECT_EQ(fReader.ExtractSelected(), 1);
  EXPECT_EQ(fRecorder.Started, std::vector<std::string>{"dir/big.bin"});
  ASSERT_GE(fRecorder.Percents.size(), 3u);
  EXPECT_EQ(fRecorder.Percents.front(), 0);
  EXPECT_EQ(fRecorder.Percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(fRecorder.Percents.begin(), fRecorder.Percents.end()));
  EXPECT_EQ(std::adjacent_find(fRecorder.Percents.begin(), fRecorder.Percents.end()),
            fRecorder.Percents.end());
}

TEST_F(MemoryReader, WithoutRecreatedFoldersFilesLandInTheDestination) {
  ASSERT_TRUE(Open(SimplePack({"a/b/one.txt", "c/", "two.txt"})));
  fReader.SetRecreateFolders(false);
  EXPECT_EQ(ExtractAll(), 3);
  EXPECT_EQ(Extracted("out/one.txt"), "content of a/b/one.txt");
  EXPECT_EQ(Extracted("out/two.txt"), "content of two.txt");
  EXPECT_EQ(fFiles.Folders().count("out/a"), 0u);
  EXPECT_EQ(fFiles.Folders().count("out/c"), 0u);
}

TEST_F(MemoryReader, SelectionIsASet) {
  ASSERT_TRUE(Open(SimplePack({"one.txt", "two.txt"})));
  fReader.Select(1);
  fReader.Select(1);
  fReader.Select(7);  // no such entry
  EXPECT_EQ(fReader.ExtractSelected(), 1);
  EXPECT_EQ(fRecorder.Started, std::vector<std::string>{"two.txt"});
  fReader.ClearSelection();
  EXPECT_EQ(fReader.ExtractSelected(), 0);
  EXPECT_TRUE(fRecorder.Skips.empty());
}

TEST_F(MemoryReader, OverwriteNeverKeepsTheExistingFile) {
  ASSERT_TRUE(Open(SimplePack({"one.txt", "two.txt"})));
  fFiles.AddFile("out/one.txt", "old");
  fReader.SetOverwriteMode(omNever);
  EXPECT_EQ(ExtractAll(), 1);
  ASSERT_EQ(fRecorder.Skips.size(), 1u);
  EXPECT_EQ(fRecorder.Skips[0].Reason, srNoOverwrite);
  EXPECT_EQ(Extracted("out/one.txt"), "old");
  fReader.SetOverwriteMode(omAlways);
  EXPECT_EQ(ExtractAll(), 2);
  EXPECT_EQ(Extracted("out/one.txt"), "content of one.txt");
}

// Each refusal raises its event once, and the handler's wish to retry comes back to the caller.
struct TRefusalCase {
  const char* Title;
  TTestEntry Entry;
  TZipSkipReason Reason;
};

void PrintTo(const TRefusalCase& aCase, std::ostream* aOut) { *aOut << aCase.Title; }

class RefusalTest : public MemoryReader, public ::testing::WithParamInterface<TRefusalCase> {};

TEST_P(RefusalTest, RaisesItsReasonAndPassesTheRetryWish) {
  ASSERT_TRUE(Open(BuildPack(PackOf({GetParam().Entry}))));
  fFiles.ForceFolders("out/taken.txt");  // a folder where a file should go
  for (const bool retry : {false, true}) {
    fRecorder.AnswerRetry = retry;
    fReader.ClearSelection();
    fReader.Select(0);
    EXPECT_EQ(fReader.ExtractSelected(), 0);
    EXPECT_EQ(fReader.RetryRequested(), retry);
  }
  ASSERT_EQ(fRecorder.Skips.size(), 2u);
  EXPECT_EQ(fRecorder.Skips[0].Reason, GetParam().Reason);
  EXPECT_EQ(fFiles.Files().size(), 0u);
}

TTestEntry WithMethod(std::uint16_t aMethod) {
  TTestEntry entry = Entry("packed.bin", "data", false);
  entry.Method = aMethod;
  return entry;
}

TTestEntry Encrypted() {
  TTestEntry entry = Entry("secret.txt", "data");
  entry.Flags = 0x0001;
  return entry;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusalTest,
    ::testing::Values(TRefusalCase{"Encrypted", Encrypted(), srBadPassword},
                      TRefusalCase{"Bzip2", WithMethod(12), srUnsupportedMethod},
                      TRefusalCase{"UnsafeName", Entry("../evil.txt", "x"), srUnsafeName},
                      TRefusalCase{"TargetIsAFolder", Entry("taken.txt", "x"), srCreateError}),
    [](const ::testing::TestParamInfo<TRefusalCase>& aInfo) { return std::string(aInfo.param.Title); });

// On disk: a file is replaced only by a complete, intact new one, and nothing is left behind.
class DiskReader : public ::testing::Test {
 protected:
  DiskReader() : fReader(NativeZipFiles()) {}

  void Open(const TTestPack& aPack) {
    WriteBytes(fRoot.Path() / kPack, BuildPack(aPack));
    fReader.SetArchiveFileName(Utf8Path(fRoot.Path() / kPack));
    fReader.SetEvents(fRecorder.Events());
    ASSERT_TRUE(fReader.ReadDirectory()) << fReader.ErrorMessage();
    fReader.SetDestinationFolder(Utf8Path(fRoot.Path() / "out"));
    fReader.SetRecreateFolders(true);
  }
  int Extract(std::size_t aIndex) {
    fReader.ClearSelection();
    fReader.Select(aIndex);
    return fReader.ExtractSelected();
  }

  TTempFolder fRoot;
  TEventRecorder fRecorder;
  TZipReader fReader;
};

TEST_F(DiskReader, FailedExtractionKeepsTheOldFile) {
  TTestPack pack;
  pack.Entries.push_back(Entry("keep.txt", "new but damaged"));
  pack.Entries[0].CentralCrc = 0xBAD;
  pack.Entries[0].Descriptor = ddSigned;
  pack.Entries.push_back(Entry("keep2.txt", "new and cut short"));
  pack.Entries[1].Compressed = RawDeflate("new and cut short").substr(0, 5);
  Open(pack);
  fs::create_directories(fRoot.Path() / "out");
  WriteBytes(fRoot.Path() / "out" / "keep.txt", "old");
  WriteBytes(fRoot.Path() / "out" / "keep2.txt", "old2");
  EXPECT_EQ(Extract(0), 0);
  EXPECT_EQ(Extract(1), 0);
  EXPECT_EQ(fRecorder.BadCrcs.size(), 1u);
  EXPECT_EQ(fRecorder.Skips.size(), 1u);
  EXPECT_EQ(ReadBytes(fRoot.Path() / "out" / "keep.txt"), "old");
  EXPECT_EQ(ReadBytes(fRoot.Path() / "out" / "keep2.txt"), "old2");
  const std::vector<std::string> expected = {"out/", "out/keep.txt", "out/keep2.txt", kPack};
  EXPECT_EQ(TreeOf(fRoot.Path()), expected);
}

TEST_F(DiskReader, GoodExtractionReplacesTheFile) {
  Open(PackOf({Entry("sub/replace.txt", "new")}));
  fs::create_directories(fRoot.Path() / "out" / "sub");
  WriteBytes(fRoot.Path() / "out" / "sub" / "replace.txt", "old content");
  EXPECT_EQ(Extract(0), 1);
  EXPECT_EQ(ReadBytes(fRoot.Path() / "out" / "sub" / "replace.txt"), "new");
  EXPECT_EQ(fRecorder.Started,
            std::vector<std::string>{PathFromUtf8("sub/replace.txt").make_preferred().string()});
}

// Kept open, the pack is read through the handle opened with the directory; otherwise it is
// opened anew for each call, and a pack that went away meanwhile gives a skip, not a crash.
TEST_F(DiskReader, KeepArchiveOpenDecidesWhenThePackIsOpened) {
  Open(PackOf({Entry("one.txt", "1"), Entry("two.txt", "2")}));
  for (const bool keepOpen : {true, false}) {
    SCOPED_TRACE(keepOpen);
    fReader.SetKeepArchiveOpen(keepOpen);
    ASSERT_TRUE(fReader.ReadDirectory());
    EXPECT_EQ(Extract(0), 1);
    fs::rename(fRoot.Path() / kPack, fRoot.Path() / "moved.zip");
    EXPECT_EQ(Extract(1), keepOpen ? 1 : 0);
    fs::rename(fRoot.Path() / "moved.zip", fRoot.Path() / kPack);
  }
  ASSERT_EQ(fRecorder.Skips.size(), 1u);
  EXPECT_EQ(fRecorder.Skips[0].Reason, srDamagedEntry);
}

}  // namespace
}  // namespace vek::test
