#include <gtest/gtest.h>

#include <string>

#include "system/ChangeDir.h"
#include "system/Files.h"
#include "temp_folder.h"

namespace vek {
namespace {

// Every test starts in a folder of its own and leaves the process where it was.
class ChangeDirTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(ChangeDir(fStart.Path()), 0); }
  void TearDown() override { (void)SetCurrentDir(fSaved); }

  std::string fSaved = GetCurrentDir();
  test::TempFolder fStart;
  test::TempFolder fOther;
};

TEST_F(ChangeDirTest, ChangesIntoAnExistingFolder) {
  EXPECT_EQ(ChangeDir(fOther.Path()), 0);
  EXPECT_EQ(GetCurrentDir(), fOther.Path());
  EXPECT_TRUE(ChangeDirReconnect(fStart.Path(), true));
  EXPECT_EQ(GetCurrentDir(), fStart.Path());
}

TEST_F(ChangeDirTest, FailuresGiveACodeAndStayWhereTheyWere) {
  const struct {
    std::string dir;
    bool minusOne;  // no path at all, rather than a path the system refuses
  } cases[] = {
      {fOther.File("missing"), false},
      {fOther.File("missing\\deeper"), false},
      {"Q:\\", false},
      {"C:\\" + std::string(40000, 'x'), false},
      {"", true},
      {fOther.Path() + std::string(1, '\0') + "tail", true},  // would otherwise land in fOther
  };
  for (const auto& c : cases) {
    const int code = ChangeDir(c.dir);
    if (c.minusOne) {
      EXPECT_EQ(code, -1) << c.dir.substr(0, 60);
    } else {
      EXPECT_GT(code, 0) << c.dir.substr(0, 60);
    }
    EXPECT_EQ(GetCurrentDir(), fStart.Path()) << c.dir.substr(0, 60);
  }
}

// Reconnection is only tried for a drive letter that is a remembered network connection; a
// missing folder on a local drive, or on a drive that does not exist, simply fails.
TEST_F(ChangeDirTest, ReconnectFailsCleanlyWithoutANetworkDrive) {
  EXPECT_FALSE(ChangeDirReconnect(fOther.File("missing"), true));
  EXPECT_FALSE(ChangeDirReconnect("Q:\\Data", true));
  EXPECT_FALSE(ChangeDirReconnect("Q:\\Data", false));
  EXPECT_FALSE(ChangeDirReconnect("\\\\server\\share\\x", true));
  EXPECT_FALSE(ChangeDirReconnect("", true));
  EXPECT_EQ(GetCurrentDir(), fStart.Path());
}

}  // namespace
}  // namespace vek
