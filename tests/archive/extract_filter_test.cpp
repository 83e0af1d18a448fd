// Which entries of a pack are extracted: masks, newer-only dates, unpack modes, and what is
// recorded for the uninstall.
#include <algorithm>

#include "ExtractFixture.h"
#include "archive/ZipFiles.h"
#include "system/FileAttributes.h"

namespace vek::test {
namespace {

TTestPack ThreePack() {
  return PackOf({EntryOf("readme.txt", "readme"), EntryOf("bin/tool.exe", "tool tool tool tool"),
                 EntryOf("bin/notes.txt", "notes")});
}

struct TMaskCase {
  std::vector<std::string> Masks;
  std::vector<std::string> Extracted;  // files below the destination, recorded in this order
};

class MaskTest : public ExtractTest, public testing::WithParamInterface<TMaskCase> {};

TEST_P(MaskTest, ExtractsAndRecordsTheMatchingEntries) {
  TExtractCall call;
  call.Masks = GetParam().Masks;
  Extract(WritePack(ThreePack()), call);
  std::vector<std::string> files;
  for (const std::string& name : Files()) {
    if (fs::is_regular_file(Target(name))) files.push_back(name);
  }
  std::vector<std::string> expected = GetParam().Extracted;
  EXPECT_EQ(Recorded(), expected);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(files, expected);
  EXPECT_TRUE(fChannel.Questions.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskTest,
    testing::Values(TMaskCase{{"*.*"}, {"readme.txt", "bin/tool.exe", "bin/notes.txt"}},
                    TMaskCase{{"*.TXT"}, {"readme.txt", "bin/notes.txt"}},  // "*" crosses folders
                    TMaskCase{{"bin/*", "readme.?xt"}, {"readme.txt", "bin/tool.exe", "bin/notes.txt"}},
                    TMaskCase{{"bin/t*"}, {"bin/tool.exe"}},
                    TMaskCase{{}, {}},            // no mask matches nothing
                    TMaskCase{{"[z-a]*"}, {}}));  // a mask that cannot be evaluated

// The entries carry 2003-04-05 06:07:08 local time.
constexpr std::uint32_t kEntryTime = 0x2E8530E4;

struct TNewerCase {
  std::optional<int> TargetSecond;  // the target's time is 06:07:<second>; nothing: no target
  bool Replaced;
};

class NewerOnlyTest : public ExtractTest, public testing::WithParamInterface<TNewerCase> {};

TEST_P(NewerOnlyTest, ReplacesOnlyOlderTargets) {
  if (GetParam().TargetSecond) {
    WriteBytes(Target("a.txt"), "old");
    ASSERT_TRUE(SetLastWriteLocalTime(TargetUtf8("a.txt"), {2003, 4, 5, 6, 7, *GetParam().TargetSecond}).ok());
  }
  TExtractCall call;
  call.NewerOnly = true;
  Extract(WritePack(PackOf({EntryOf("a.txt", "new", kEntryTime)})), call);
  EXPECT_EQ(ReadBytes(Target("a.txt")), GetParam().Replaced ? "new" : "old");
  // The file is recorded once it is the installation's; a target that existed has the name of
  // its successor's temporary file recorded ahead, so that a killed run leaves nothing unknown.
  const std::vector<std::string> recorded = Recorded();
  EXPECT_EQ(std::count(recorded.begin(), recorded.end(), "a.txt"), GetParam().Replaced ? 1 : 0);
  EXPECT_EQ(std::count(recorded.begin(), recorded.end(), "a.txt" + std::string(kZipPartSuffix)),
            GetParam().TargetSecond ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Dates, NewerOnlyTest,
                         testing::Values(TNewerCase{6, true}, TNewerCase{8, false}, TNewerCase{10, false},
                                         TNewerCase{std::nullopt, true}));

// A target missing before the extraction exists once an entry has made it: a later, older entry
// of the same name (in other letter case) finds it and leaves it as it is.
TEST_F(ExtractTest, NewerOnlyComparesALaterEntryWithTheFileAnEarlierOneMade) {
  TExtractCall call;
  call.NewerOnly = true;
  Extract(WritePack(PackOf({EntryOf("c.txt", "first", 0x2E8530E4), EntryOf("C.TXT", "older", 0x2E8430E4)})), call);
  EXPECT_EQ(ReadBytes(Target("c.txt")), "first");
}

struct TUnpackCase {
  int Mode;
  std::string Installed, Fresh;  // contents of "old.txt" (present before) and "new.txt" after
};

class UnpackModeTest : public ExtractTest, public testing::WithParamInterface<TUnpackCase> {};

TEST_P(UnpackModeTest, FiltersByPresenceAndStillAdvancesTheBar) {
  TFakeBar bar;
  fMonitor.SetProgressBar(&bar);
  fMonitor.SetMax(1000);
  WriteBytes(Target("old.txt"), "before");
  TExtractCall call;
  call.UnpackMode = GetParam().Mode;
  Extract(WritePack(PackOf({EntryOf("old.txt", std::string(300, 'o')), EntryOf("new.txt", std::string(200, 'n'))})),
          call);
  EXPECT_EQ(ReadBytes(Target("old.txt")).substr(0, 6), GetParam().Installed);
  const fs::path fresh = Target("new.txt");
  EXPECT_EQ(fs::exists(fresh) ? ReadBytes(fresh).substr(0, 6) : "", GetParam().Fresh);
  EXPECT_EQ(fMonitor.Position(), 500);
}

INSTANTIATE_TEST_SUITE_P(Modes, UnpackModeTest,
                         testing::Values(TUnpackCase{umAll, "oooooo", "nnnnnn"},
                                         TUnpackCase{umExistingOnly, "oooooo", ""},
                                         TUnpackCase{umMissingOnly, "before", "nnnnnn"}));

TEST_F(ExtractTest, NoCleanupRecordOrSectionRecordsNothing) {
  const std::string pack = WritePack(ThreePack());
  ExtractPackFile(pack, fDest.Utf8(), {"*.*"}, false, "", fCleanupErrorShown, &fCleanup, fMonitor, 0, umAll);
  ExtractPackFile(pack, fDest.Utf8(), {"*.*"}, false, "Files", fCleanupErrorShown, nullptr, fMonitor, 0, umAll);
  EXPECT_TRUE(fCleanup.Sections.empty());
  EXPECT_TRUE(fs::exists(Target("bin/tool.exe")));
}

}  // namespace
}  // namespace vek::test
