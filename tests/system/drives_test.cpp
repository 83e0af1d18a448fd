#include "system/Drives.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "system/ErrorMode.h"

namespace vek {
namespace {

TEST(Drives, QuietErrorModeSuppressesBoxesAndRestoresTheMode) {
  const UINT before = ::GetThreadErrorMode();
  ASSERT_TRUE(::SetThreadErrorMode(0, nullptr));
  {
    const QuietErrorMode quiet;
    EXPECT_EQ(::GetThreadErrorMode() & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX),
              static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
  }
  EXPECT_EQ(::GetThreadErrorMode(), 0u);
  ::SetThreadErrorMode(before, nullptr);
}

// C: is the test prefix, D: the build tree; Q: does not exist. Neither answer may wait for a
// user to dismiss a box (a run that hangs here ends at the test's timeout), nor leave the quiet
// error mode behind.
TEST(Drives, DriveReadyAnswersWithoutAskingTheUser) {
  const struct {
    const char* path;
    bool expected;
  } cases[] = {
      {"C:\\", true},
      {"c:", true},
      {"D:\\no\\such\\folder", true},  // only the drive counts
      {"Q:\\", false},
      {"q:setup.ini", false},
      {"\\\\server\\share\\x", true},  // not a drive letter: nothing to ask
      {"relative\\path", true},
      {"1:\\", true},
      {"", true},
  };
  const UINT before = ::GetThreadErrorMode();
  for (const auto& c : cases) EXPECT_EQ(DriveReady(c.path), c.expected) << c.path;
  EXPECT_EQ(::GetThreadErrorMode(), before);
}

TEST(Drives, DiskFreeSpaceOfADriveIsPositive) {
  EXPECT_GT(GetDiskFreeSpace("C:\\"), 0);
  // The drive of the path is asked, so a folder that does not exist yet still has an answer.
  EXPECT_EQ(GetDiskFreeSpace("C:\\not\\created\\yet") > 0, true);
  EXPECT_GT(GetDiskFreeSpace("d:"), 0);
}

TEST(Drives, DiskFreeSpaceFailsWithMinusOne) {
  const std::string nul("C:\\windows\0", 11);
  const struct {
    std::string path;
  } cases[] = {
      {"Q:\\"}, {""}, {"no\\such\\relative\\folder"}, {"\\\\?\\" + std::string(40000, 'x')}, {nul},
  };
  for (const auto& c : cases) EXPECT_EQ(GetDiskFreeSpace(c.path), -1) << c.path.substr(0, 40);
}

}  // namespace
}  // namespace vek
