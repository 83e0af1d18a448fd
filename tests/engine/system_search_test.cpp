// The installed-system search over a real folder tree.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/CaseMap.h"
#include "engine/SystemSearch.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/WinText.h"

namespace vek {
namespace {

class SystemSearchTest : public testing::Test {
 protected:
  void SetUp() override {
    fRoot = GetTempDir() + "vek-search";
    Make("apps\\old\\notes");  // lower case: names compare without regard to case
    Make("apps\\zzz");
    Make("hidden\\Notes");
    ::SetFileAttributesW(Wide(JoinPath(fRoot, "hidden\\Notes")).c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    Make("win\\Notes");
  }
  void Make(const std::string& aRelative) { ASSERT_TRUE(ForceDirectories(JoinPath(fRoot, aRelative)).ok()); }

  std::string fRoot;
};

TEST_F(SystemSearchTest, FindsAPlainFolderOfTheListDepthFirst) {
  TSystemSearchHooks hooks;
  std::vector<std::string> seen;
  hooks.foundDir = [&](const std::string& aPath) { seen.push_back(aPath); };
  hooks.excludedFolders = {UpperCase(JoinPath(fRoot, "win"))};
  const auto found = SearchInstalledSystem(fRoot, {"Notes", "Other"}, hooks);
  ASSERT_TRUE(found.has_value());
  EXPECT_TRUE(SameText(*found, JoinPath(fRoot, "apps\\old\\notes"))) << *found;
  EXPECT_FALSE(seen.empty());
}

TEST_F(SystemSearchTest, PathThatEndsInASystemNameIsTheResult) {
  const auto found = SearchInstalledSystem(JoinPath(fRoot, "apps\\old\\NOTES"), {"Notes"}, {});
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, JoinPath(fRoot, "apps\\old\\NOTES"));
}

TEST_F(SystemSearchTest, AnswersGoOnOrStop) {
  TSystemSearchHooks hooks;
  std::vector<std::string> asked;
  hooks.askCandidate = [&](const std::string& aPath) {
    asked.push_back(aPath);
    return 2;  // go on: every candidate is refused
  };
  EXPECT_FALSE(SearchInstalledSystem(fRoot, {"Notes"}, hooks).has_value());
  EXPECT_EQ(asked.size(), 2u);  // apps\old\notes and win\Notes; the hidden one is no candidate

  hooks.askCandidate = [](const std::string&) { return 3; };
  EXPECT_FALSE(SearchInstalledSystem(fRoot, {"Notes"}, hooks).has_value());

  int polls = 0;
  hooks.askCandidate = nullptr;
  hooks.stopPressed = [&] { return ++polls > 1; };
  EXPECT_FALSE(SearchInstalledSystem(fRoot, {"Notes"}, hooks).has_value());
}

TEST_F(SystemSearchTest, AMissingStartFolderIsReported) {
  TSystemSearchHooks hooks;
  std::string reported;
  hooks.reportError = [&](const std::string& aPath) { reported = aPath; };
  EXPECT_FALSE(SearchInstalledSystem(JoinPath(fRoot, "gone"), {"Notes"}, hooks).has_value());
  EXPECT_EQ(reported, JoinPath(fRoot, "gone"));
}

}  // namespace
}  // namespace vek
