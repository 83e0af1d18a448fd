#include <gtest/gtest.h>

#include <string>

#include "system/FileStream.h"
#include "system/Files.h"
#include "temp_folder.h"

namespace vek {
namespace {

// Reads at offsets in any order, as the ZIP reader makes them (directory at the end, then each
// entry's header and data), must each give the bytes at their offset: the stream moves the file
// pointer only when a read does not continue the last one.
TEST(FileStreamTest, ReadsAtAnyOffsetInAnyOrder) {
  test::TempFolder folder;
  ASSERT_FALSE(folder.Path().empty());
  std::string content;
  for (int i = 0; i < 5000; ++i) content += static_cast<char>('A' + i % 26 + (i / 26) % 7);
  const std::string path = folder.File("pack.bin");
  ASSERT_TRUE(WriteWholeFile(path, content).ok());

  TFileStream stream;
  ASSERT_TRUE(stream.OpenRead(path).ok());
  struct Read {
    std::uint64_t offset;
    std::size_t count;
  };
  const Read reads[] = {
      {4990, 10}, {0, 30}, {30, 100},    {130, 7},  // the end first, then on from the start
      {10, 5},    {10, 5}, {2000, 3000},            // backwards, the same again, up to the end
      {4998, 10},                                   // past the end: what is there
      {6000, 4},                                    // wholly past the end: nothing
      {137, 1},                                     // and back after reading nothing
  };
  for (const Read& r : reads) {
    std::string buffer(r.count, '\0');
    std::size_t got = 99;
    ASSERT_TRUE(stream.ReadAt(r.offset, buffer.data(), r.count, got).ok()) << r.offset;
    const std::string expected = r.offset < content.size() ? content.substr(r.offset, r.count) : "";
    EXPECT_EQ(buffer.substr(0, got), expected) << "at " << r.offset << ", " << r.count << " bytes";
  }
}

// A stream opened anew reads at the offsets asked, wherever the file before it was left.
TEST(FileStreamTest, ReopenedStreamReadsFromItsOffsets) {
  test::TempFolder folder;
  ASSERT_FALSE(folder.Path().empty());
  const std::string first = folder.File("first.bin"), second = folder.File("second.bin");
  TFileStream stream;
  ASSERT_TRUE(stream.Create(first).ok());
  ASSERT_TRUE(stream.Write("0123456789", 10).ok());
  stream.Close();
  ASSERT_TRUE(WriteWholeFile(second, "abcdefghij").ok());
  for (const std::string& path : {first, second}) {
    ASSERT_TRUE(stream.OpenRead(path).ok());
    // The first file's last read ends at 4: the second file's first read starts there.
    char buffer[4] = {};
    std::size_t got = 0;
    ASSERT_TRUE(stream.ReadAt(4, buffer, 4, got).ok());
    EXPECT_EQ(std::string(buffer, got), path == first ? "4567" : "efgh");
    ASSERT_TRUE(stream.ReadAt(0, buffer, 4, got).ok());
    EXPECT_EQ(std::string(buffer, got), path == first ? "0123" : "abcd");
  }
}

}  // namespace
}  // namespace vek
