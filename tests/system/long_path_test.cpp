// Files and folders far below the classic path limit: created, written, read, listed, their
// attributes changed, and removed again through the system layer's own functions.
#include <gtest/gtest.h>

#include "system/FileAttributes.h"
#include "system/Files.h"
#include "system/LongPath.h"
#include "temp_folder.h"

namespace vek {
namespace {

TEST(LongPaths, DeepFolderAndFileRoundTrip) {
  test::TempFolder temp;
  ASSERT_FALSE(temp.Path().empty());
  std::string folder = temp.Path();
  while (folder.size() < 400) folder = JoinPath(folder, std::string(40, 'd'));
  const std::string file = JoinPath(folder, "deep file.txt");
  ASSERT_GT(file.size(), 400u);

  std::vector<std::string> created;
  ASSERT_TRUE(ForceDirectories(folder, &created).ok());
  EXPECT_FALSE(created.empty());
  EXPECT_TRUE(DirectoryExists(folder));
  ASSERT_TRUE(WriteWholeFile(file, "deep").ok());
  EXPECT_TRUE(FileExists(file));
  EXPECT_EQ(FileSizeOf(file), 4u);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(file, bytes).ok());
  EXPECT_EQ(bytes, "deep");
  ASSERT_TRUE(SetFileAttributesAt(file, kAttrReadOnly).ok());
  std::uint32_t attributes = 0;
  ASSERT_TRUE(GetFileAttributesAt(file, attributes).ok());
  EXPECT_TRUE(attributes & kAttrReadOnly);
  EXPECT_TRUE(ClearFileAttributes(file).ok());
  std::vector<DirEntry> entries;
  ASSERT_TRUE(ListDirectory(folder, entries).ok());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "deep file.txt");
  EXPECT_TRUE(DeleteFileAt(file).ok());
  for (auto it = created.rbegin(); it != created.rend(); ++it)
    EXPECT_TRUE(RemoveEmptyDirectory(*it).ok()) << *it;
  EXPECT_FALSE(DirectoryExists(folder));
}

TEST(LongPaths, OnlyPathsBeyondTheClassicLimitAreExtended) {
  EXPECT_EQ(WidePath("C:\\short\\name.txt"), L"C:\\short\\name.txt");
  const std::string longPath = "C:\\" + std::string(300, 'x') + "\\.\\y\\..\\z";
  EXPECT_EQ(WidePath(longPath), L"\\\\?\\C:\\" + std::wstring(300, L'x') + L"\\z");
  // A path the system takes in no form is handed on as it is, and fails there.
  const std::string tooLong = "C:\\" + std::string(40000, 'x');
  EXPECT_EQ(WidePath(tooLong).size(), tooLong.size());
  EXPECT_FALSE(WriteWholeFile(tooLong, "x").ok());
}

}  // namespace
}  // namespace vek
