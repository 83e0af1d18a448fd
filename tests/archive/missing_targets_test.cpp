#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/MissingTargets.h"

namespace vek {
namespace {

// Targets are compared without regard to case; a second entry with the same target is one
// target, removed once for both; a target never added is not known to be missing.
TEST(MissingTargets, HoldsEachTargetOnceUntilRemoved) {
  const std::vector<std::string> targets = {"C:\\App\\a.txt", "C:\\App\\B.txt", "C:\\APP\\A.TXT",
                                            "C:\\App\\ä.txt"};
  int lookups = 0;
  TMissingTargets missing([&](std::size_t aEntry) {
    ++lookups;
    return targets.at(aEntry);
  });
  for (std::size_t entry = 0; entry < targets.size(); ++entry) missing.Add(entry);
  EXPECT_TRUE(missing.Contains("c:\\app\\a.TXT"));
  EXPECT_TRUE(missing.Contains("C:\\App\\b.txt"));
  EXPECT_TRUE(missing.Contains("C:\\App\\Ä.TXT"));
  EXPECT_FALSE(missing.Contains("C:\\App\\c.txt"));
  EXPECT_FALSE(missing.Contains("C:\\App\\a.txt.bak"));

  missing.Remove("C:\\app\\A.txt");
  EXPECT_FALSE(missing.Contains("C:\\App\\a.txt"));
  EXPECT_FALSE(missing.Contains("C:\\APP\\A.TXT"));  // the later entry of the same target
  EXPECT_TRUE(missing.Contains("C:\\App\\B.txt"));
  missing.Remove("C:\\App\\nothing.txt");  // not there: no change
  EXPECT_TRUE(missing.Contains("C:\\App\\b.txt"));
  EXPECT_GT(lookups, 0);
}

// Many targets: every one is found and none that was not added.
TEST(MissingTargets, FindsEveryTargetOfALargePack) {
  constexpr std::size_t kEntries = 20000;
  const auto target = [](std::size_t aEntry) {
    return "C:\\App\\sub" + std::to_string(aEntry % 7) + "\\f" + std::to_string(aEntry);
  };
  TMissingTargets missing(target);
  for (std::size_t entry = 0; entry < kEntries; ++entry) missing.Add(entry);
  for (std::size_t entry = 0; entry < kEntries; entry += 3) missing.Remove(target(entry));
  for (std::size_t entry = 0; entry < kEntries; ++entry) {
    ASSERT_EQ(missing.Contains(target(entry)), entry % 3 != 0) << entry;
  }
  EXPECT_FALSE(missing.Contains(target(kEntries)));
}

}  // namespace
}  // namespace vek
