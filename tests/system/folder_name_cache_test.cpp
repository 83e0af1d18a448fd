#include "system/FolderNameCache.h"

#include <gtest/gtest.h>

#include <string>

#include "system/Files.h"
#include "system/Folders.h"
#include "temp_folder.h"

namespace vek {
namespace {

// A folder with "Notes.~TXT" and a sub-folder "sub" holding "b.~dat"; an empty folder beside.
class FolderNameCacheTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(fFolder.Path().empty());
    ASSERT_TRUE(ForceDirectories(fFolder.File("sub")).ok());
    ASSERT_TRUE(ForceDirectories(fFolder.File("empty")).ok());
    ASSERT_TRUE(WriteWholeFile(fFolder.File("Notes.~TXT"), "backup").ok());
    ASSERT_TRUE(WriteWholeFile(fFolder.File("sub\\b.~dat"), "backup").ok());
  }
  test::TempFolder fFolder;
};

TEST_F(FolderNameCacheTest, OnlyNamesMissingFromTheListingAreSettled) {
  struct TCase {
    const char* Path;
    bool MayExist;
  };
  const TCase cases[] = {
      {"notes.~txt", true},     // listed, in another case
      {"other.~txt", false},    // not listed
      {"sub\\B.~DAT", true},    // a sub-folder has a listing of its own
      {"sub/c.~dat", false},    // reached with a forward slash
      {"empty\\a.~txt", false}, // an empty folder lists nothing
      {"gone\\a.~txt", true},   // a folder that cannot be listed leaves the answer to the caller
  };
  TFolderNameCache cache;
  for (const TCase& c : cases) EXPECT_EQ(cache.MayExist(fFolder.File(c.Path)), c.MayExist) << c.Path;
}

}  // namespace
}  // namespace vek
