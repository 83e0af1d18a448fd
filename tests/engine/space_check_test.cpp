// The free-space check of a silent run: needs summed per drive, compared with the free space.
#include <gtest/gtest.h>

#include <map>

#include "engine/SpaceCheck.h"

namespace vek {
namespace {

TEST(SpaceCheck, NeedsOfOneDriveAreCheckedTogether) {
  const std::map<std::string, std::int64_t> free{{"C:\\", 100}, {"D:\\", 1000}};
  const auto freeOf = [&free](const std::string& aDrive) {
    const auto found = free.find(aDrive);
    return found == free.end() ? std::int64_t{-1} : found->second;
  };
  // 60 and 50 on C: do not fit together though each would alone; D: has room; a share whose
  // space cannot be read is left to the extraction.
  const std::vector<TSpaceShortage> shortages = SpaceShortages(
      {{"C:\\APP\\PROG", 60}, {"D:\\DATA", 900}, {"c:\\app\\docs", 50}, {"\\\\SRV\\SHARE\\APP", 1 << 30}},
      freeOf);
  ASSERT_EQ(shortages.size(), 1u);
  EXPECT_EQ(shortages[0].drive, "C:\\");
  EXPECT_EQ(shortages[0].need, 110);
  EXPECT_EQ(shortages[0].free, 100);
  EXPECT_EQ(ShortageLine(shortages[0]), "Not enough space on C:\\: needs 110 bytes, 100 bytes free");
}

TEST(SpaceCheck, ExactFitAndNothingSelectedPass) {
  const auto freeOf = [](const std::string&) { return std::int64_t{100}; };
  EXPECT_TRUE(SpaceShortages({{"C:\\A", 100}}, freeOf).empty());
  EXPECT_TRUE(SpaceShortages({}, freeOf).empty());
}

}  // namespace
}  // namespace vek
