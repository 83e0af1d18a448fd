#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "system/FileCopy.h"
#include "system/Files.h"
#include "system/WinText.h"
#include "temp_folder.h"

namespace vek {
namespace {

constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD kArchive = FILE_ATTRIBUTE_ARCHIVE;

class CopyFileWithAttrTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(fFolder.Path().empty());
    ASSERT_TRUE(AppendToFile(fSource, "new content").ok());
  }

  static DWORD Attributes(const std::string& aPath) { return ::GetFileAttributesW(Wide(aPath).c_str()); }
  static void SetAttributes(const std::string& aPath, DWORD aAttr) {
    ASSERT_TRUE(::SetFileAttributesW(Wide(aPath).c_str(), aAttr));
  }
  static std::string Content(const std::string& aPath) {
    std::string bytes;
    (void)ReadWholeFile(aPath, bytes);
    return bytes;
  }

  test::TempFolder fFolder;
  std::string fSource = fFolder.File("source.txt");
  std::string fTarget = fFolder.File("target.txt");
};

// The copy ends with exactly the asked attributes plus archive, whatever the source had.
TEST_F(CopyFileWithAttrTest, TargetGetsTheAskedAttributesPlusArchive) {
  const struct {
    DWORD sourceAttr;
    DWORD asked;
    DWORD expected;
  } cases[] = {
      {FILE_ATTRIBUTE_NORMAL, 0, kArchive},
      {kReadOnly, 0, kArchive},  // the source's read-only flag is not kept
      {FILE_ATTRIBUTE_NORMAL, kReadOnly | kHidden, kReadOnly | kHidden | kArchive},
      {kHidden | kArchive, kArchive, kArchive},
      {kArchive, kArchive, kArchive},  // already right: nothing to set
  };
  for (const auto& c : cases) {
    SetAttributes(fSource, c.sourceAttr);
    EXPECT_EQ(CopyFileWithAttr(fSource, fTarget, c.asked), 0) << c.asked;
    EXPECT_EQ(Attributes(fTarget), c.expected) << c.sourceAttr << " asked " << c.asked;
    EXPECT_EQ(Content(fTarget), "new content");
    SetAttributes(fTarget, FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileAt(fTarget).ok());
  }
}

TEST_F(CopyFileWithAttrTest, ReplacesAnExistingTarget) {
  ASSERT_TRUE(AppendToFile(fTarget, "old content that is longer").ok());
  EXPECT_EQ(CopyFileWithAttr(fSource, fTarget, kHidden), 0);
  EXPECT_EQ(Content(fTarget), "new content");
  EXPECT_EQ(Attributes(fTarget), kHidden | kArchive);
}

TEST_F(CopyFileWithAttrTest, FailuresGiveMinusOneAndLeaveTheTarget) {
  ASSERT_TRUE(AppendToFile(fTarget, "kept").ok());
  const std::string longName = fFolder.File(std::string(260, 'x'));
  const std::string nul = fTarget + std::string(1, '\0') + ".other";
  const struct {
    std::string source;
    std::string target;
  } cases[] = {
      {fFolder.File("missing.txt"), fTarget},
      {fSource, fFolder.File("no\\such\\folder\\x.txt")},
      {fSource, longName},
      {longName, fTarget},
      {fSource, nul},  // would otherwise overwrite fTarget
      {"", fTarget},
      {fSource, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CopyFileWithAttr(c.source, c.target, 0), -1)
        << c.source.substr(0, 80) << " > " << c.target.substr(0, 80);
    EXPECT_EQ(Content(fTarget), "kept");
  }
  EXPECT_FALSE(FileExists(fFolder.File("no\\such\\folder\\x.txt")));
}

}  // namespace
}  // namespace vek
