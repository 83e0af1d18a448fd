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

TEST(TargetSpaceTest, FoldersOfOneDriveAreCheckedTogether) {
  // 60 and 50 on C: do not fit together though each would alone; D: has room; a share whose
  // space cannot be read is left to the extraction.
  TMainOptionList options;
  options.Add(Main("C:\\APP", {{"PROG", "", 60, 1}, {"DOCS", "", 50, 1}}));
  options.Add(Main("d:\\data", {{"x", "", 900, 1}}));
  options.Add(Main("\\\\SRV\\SHARE\\APP", {{"y", "", 1 << 30, 1}}));
  const std::vector<TSpaceShortage> shortages = SpaceShortages(DriveSpaceNeeds(options), FreeSpaceOf);
  ASSERT_EQ(shortages.size(), 1u);
  EXPECT_EQ(shortages[0].Drive, "C:");
  EXPECT_EQ(shortages[0].Need, 110);
  EXPECT_EQ(shortages[0].Free, 100);
  EXPECT_EQ(ShortageLine(shortages[0]), "Not enough space on C:\\: needs 110 bytes, 100 bytes free");
}

TEST(TargetSpaceTest, ExactFitAndNothingSelectedPass) {
  EXPECT_TRUE(SpaceShortages({{"C:", 100}}, FreeSpaceOf).empty());
  EXPECT_TRUE(SpaceShortages({}, FreeSpaceOf).empty());
}

}  // namespace
}  // namespace vek
