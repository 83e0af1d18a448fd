// Space needed per target folder: what the confirmation page and a silent run check.
#include <gtest/gtest.h>

#include <limits>

#include "script/TargetSpace.h"

namespace vek {
namespace {

struct TSub {
  std::string LibName;
  std::string LibAlias;
  std::int64_t Size;
  int State;
};

std::unique_ptr<TMainOption> Main(const std::string& aPath, const std::vector<TSub>& aSubs) {
  auto main = std::make_unique<TMainOption>();
  main->Path = aPath;
  for (const TSub& s : aSubs) {
    auto sub = std::make_unique<TSubOption>();
    sub->LibName = s.LibName;
    sub->LibAlias = s.LibAlias;
    sub->Size = s.Size;
    sub->State = s.State;
    main->SubOption.Add(std::move(sub));
  }
  return main;
}

TEST(TargetSpaceTest, SumsSelectedSubOptionsPerFolderIgnoringCase) {
  TMainOptionList options;
  options.Add(Main("C:\\Apps\\Notes", {{"bin", "", 100, 1}, {"BIN", "", 50, 2}, {"help", "", 7, 0}}));
  options.Add(Main("C:\\Apps\\Other", {{"x", "", 1000, 0}}));  // nothing selected
  options.Add(Main("D:\\Data", {{"", "c:\\apps\\notes\\bin", 5, 1}, {"docs", "", 9, 1}}));

  const std::vector<Tdrivereg> needs = TargetSpaceNeeds(options);
  ASSERT_EQ(needs.size(), 2u);
  EXPECT_EQ(needs[0].Drive, "C:\\APPS\\NOTES\\BIN");
  EXPECT_EQ(needs[0].size, 155);
  EXPECT_EQ(needs[1].Drive, "D:\\DATA\\DOCS");
  EXPECT_EQ(needs[1].size, 9);
}

TEST(TargetSpaceTest, HugeSizesDoNotWrap) {
  const std::int64_t most = std::numeric_limits<std::int64_t>::max();
  TMainOptionList options;
  options.Add(Main("C:\\A", {{"b", "", most, 1}, {"b", "", most, 1}}));
  const std::vector<Tdrivereg> needs = TargetSpaceNeeds(options);
  ASSERT_EQ(needs.size(), 1u);
  EXPECT_EQ(needs[0].size, most);
}

std::int64_t FreeSpaceOf(const std::string& aRoot) {
  if (aRoot == "C:\\") return 100;
  if (aRoot == "D:\\") return 1000;
  return -1;  // the system cannot tell
}

TEST(TargetSpaceTest, ShortageLineNamesTheDriveRootAndBothSizes) {
  const std::vector<TSpaceShortage> shortages = SpaceShortages({{"C:", 110}, {"D:", 900}}, FreeSpaceOf);
  ASSERT_EQ(shortages.size(), 1u);
  EXPECT_EQ(ShortageLine(shortages[0]), "Not enough space on C:\\: needs 110 bytes, 100 bytes free");
}

TEST(TargetSpaceTest, ExactFitAndNothingSelectedPass) {
  EXPECT_TRUE(SpaceShortages({{"C:", 100}}, FreeSpaceOf).empty());
  EXPECT_TRUE(SpaceShortages({}, FreeSpaceOf).empty());
}

struct TVolumeCase {
  const char* Target;
  const char* Volume;
};

class TargetVolumeTest : public ::testing::TestWithParam<TVolumeCase> {};

TEST_P(TargetVolumeTest, DriveOrShareUpperCased) { EXPECT_EQ(TargetVolume(GetParam().Target), GetParam().Volume); }

INSTANTIATE_TEST_SUITE_P(Cases, TargetVolumeTest,
                         ::testing::Values(TVolumeCase{"c:\\Apps\\Notes", "C:"}, TVolumeCase{"D:", "D:"},
                                           TVolumeCase{"\\\\srv\\share\\apps", "\\\\SRV\\SHARE"},
                                           TVolumeCase{"\\\\srv\\share", "\\\\SRV\\SHARE"},
                                           TVolumeCase{"//srv/share/x", "//SRV/SHARE"},
                                           TVolumeCase{"\\\\srv", "\\\\SRV"},
                                           TVolumeCase{"\\", "\\"},  // a root without drive is its own volume
                                           TVolumeCase{"", ""}));

// Free space by root, for the checks below: C: has 1000 bytes, D: 50, the share 10; E: is unknown.
std::int64_t FakeFree(const std::string& aRoot) {
  if (aRoot == "C:\\") return 1000;
  if (aRoot == "D:\\") return 50;
  if (aRoot == "\\\\SRV\\SHARE\\") return 10;
  return -1;
}

TEST(DriveSpaceTest, FoldersOnOneDriveShareItsFreeSpace) {
  TMainOptionList options;
  // Two folders on C: that fit one at a time (600 and 500 of 1000) but not together.
  options.Add(Main("C:\\Apps", {{"bin", "", 600, 1}, {"doc", "", 500, 2}, {"x", "", 9999, 0}}));
  options.Add(Main("D:\\Data", {{"a", "", 30, 1}, {"", "d:\\other", 20, 1}}));  // 50 of 50: enough
  options.Add(Main("E:\\Unknown", {{"a", "", 5000, 1}}));                       // not checked
  options.Add(Main("\\\\srv\\share\\App", {{"a", "", 11, 1}}));

  const std::vector<Tdrivereg> needs = DriveSpaceNeeds(options);
  ASSERT_EQ(needs.size(), 4u);
  EXPECT_EQ(needs[0].Drive, "C:");
  EXPECT_EQ(needs[0].size, 1100);
  EXPECT_EQ(needs[1].Drive, "D:");
  EXPECT_EQ(needs[1].size, 50);

  const std::vector<TSpaceShortage> short_ = SpaceShortages(needs, FakeFree);
  ASSERT_EQ(short_.size(), 2u);
  EXPECT_EQ(short_[0].Drive, "C:");
  EXPECT_EQ(short_[0].Free, 1000);
  EXPECT_EQ(short_[0].Need, 1100);
  EXPECT_EQ(short_[1].Drive, "\\\\SRV\\SHARE");
  EXPECT_EQ(short_[1].Need, 11);
}

TEST(DriveSpaceTest, SizesAboveFourGigabytesAreCompared) {
  constexpr std::int64_t kGb = 1024LL * 1024 * 1024;
  TMainOptionList options;
  options.Add(Main("C:\\A", {{"b", "", 3 * kGb, 1}, {"c", "", 3 * kGb, 1}}));
  const std::vector<Tdrivereg> needs = DriveSpaceNeeds(options);
  ASSERT_EQ(needs.size(), 1u);
  EXPECT_EQ(needs[0].size, 6 * kGb);
  const auto fiveGb = [](const std::string&) -> std::int64_t { return 5 * kGb; };
  ASSERT_EQ(SpaceShortages(needs, fiveGb).size(), 1u);
}

}  // namespace
}  // namespace vek
