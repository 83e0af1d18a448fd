#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "system/Files.h"
#include "system/PrivateCopy.h"
#include "system/Process.h"
#include "system/UniqueResource.h"
#include "system/WinText.h"
#include "temp_folder.h"

namespace vek {
namespace {

class PrivateCopyTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(fFolder.Path().empty());
    ASSERT_TRUE(WriteWholeFile(fSource, "the program's own bytes").ok());
  }
  static std::string Content(const std::string& aPath) {
    std::string bytes;
    (void)ReadWholeFile(aPath, bytes);
    return bytes;
  }

  test::TempFolder fFolder;
  std::string fSource = fFolder.File("setup.exe");
  std::string fCopy = fFolder.File("VekSetup.exe");
};

// Whatever lay under the name, the copy is the source's bytes and nothing else.
TEST_F(PrivateCopyTest, APlantedFileIsReplacedWhateverItsAttributes) {
  for (const DWORD attributes :
       {DWORD{FILE_ATTRIBUTE_NORMAL}, DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN}}) {
    ASSERT_TRUE(WriteWholeFile(fCopy, "planted by someone else, and longer than the program").ok());
    ASSERT_TRUE(::SetFileAttributesW(Wide(fCopy).c_str(), attributes));
    TPrivateCopy copy;
    ASSERT_TRUE(copy.Make(fSource, fCopy).ok());
    copy.Release();
    EXPECT_EQ(Content(fCopy), "the program's own bytes");
    EXPECT_EQ(::GetFileAttributesW(Wide(fCopy).c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              0u);
  }
}

// Held: others may read the copy, not change, replace or delete it, until it is released.
TEST_F(PrivateCopyTest, TheCopyIsHeldAgainstWritersUntilReleased) {
  TPrivateCopy copy;
  ASSERT_TRUE(copy.Make(fSource, fCopy).ok());
  EXPECT_EQ(Content(fCopy), "the program's own bytes");
  EXPECT_FALSE(WriteWholeFile(fCopy, "changed").ok());
  EXPECT_FALSE(DeleteFileAt(fCopy).ok());
  copy.Release();
  EXPECT_TRUE(DeleteFileAt(fCopy).ok());
}

// A planted file that cannot be removed (held open by its owner) is never taken for the copy.
TEST_F(PrivateCopyTest, AFileThatCannotBeRemovedFailsTheCopy) {
  ASSERT_TRUE(WriteWholeFile(fCopy, "planted").ok());
  const UniqueFileHandle planted(::CreateFileW(Wide(fCopy).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(planted);
  TPrivateCopy copy;
  const SysResult made = copy.Make(fSource, fCopy);
  EXPECT_FALSE(made.ok());
  EXPECT_STREQ(made.operation, "Delete");
}

TEST_F(PrivateCopyTest, AMissingSourceFailsAndLeavesNothing) {
  TPrivateCopy copy;
  EXPECT_FALSE(copy.Make(fFolder.File("missing.exe"), fCopy).ok());
  EXPECT_FALSE(FileExists(fCopy));
}

// A program named without a full path would be searched for: it is not started at all.
TEST(ProcessStart, AProgramWithoutAFullPathIsNotStarted) {
  for (const char* name : {"cmd.exe", "cmd", "system32\\cmd.exe", ""}) {
    std::uint32_t exitCode = 7;
    const SysResult ran = RunProcessAndWait({name, "/c exit 0"}, exitCode);
    EXPECT_EQ(ran.error, std::uint32_t{ERROR_FILE_NOT_FOUND}) << name;
    EXPECT_EQ(exitCode, 7u) << name;
  }
}

TEST(ProcessStart, AFullPathStartsWithItsArgumentsAsWritten) {
  wchar_t system[MAX_PATH]{};
  ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
  std::uint32_t exitCode = 0;
  ASSERT_TRUE(RunProcessAndWait({Narrow(system) + "\\cmd.exe", "/c exit 3"}, exitCode).ok());
  EXPECT_EQ(exitCode, 3u);
}

}  // namespace
}  // namespace vek
