// Packs written by real archivers (Python's zipfile, Info-ZIP zip, 7-Zip) at build time by
// make_packs.py, read and extracted into real folders.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include "ZipTestSupport.h"
#include "archive/DosDateTime.h"
#include "archive/ZipFiles.h"

namespace vek::test {
namespace {

struct TExpected {
  bool Folder = false;
  std::uint64_t Size = 0;
  std::uint32_t Crc = 0;
  std::optional<std::uint32_t> DosDateTime;  // absent when the archiver chose it
};

using TManifest = std::map<std::string, TExpected>;

TManifest ReadManifest(const fs::path& aPath) {
  TManifest manifest;
  std::ifstream file(aPath, std::ios::binary);
  std::string kind, size, crc, dos, name;
  while (std::getline(file, kind, '\t') && std::getline(file, size, '\t') && std::getline(file, crc, '\t') &&
         std::getline(file, dos, '\t') && std::getline(file, name)) {
    TExpected& expected = manifest[name];
    expected.Folder = kind == "d";
    expected.Size = std::stoull(size);
    expected.Crc = static_cast<std::uint32_t>(std::stoul(crc, nullptr, 16));
    if (dos != "-") expected.DosDateTime = static_cast<std::uint32_t>(std::stoul(dos, nullptr, 16));
  }
  return manifest;
}

std::vector<std::string> PackNames() {
  std::vector<std::string> names;
  std::ifstream list(PacksFolder() / "packs.txt");
  for (std::string name; std::getline(list, name);) {
    if (!name.empty()) names.push_back(name);
  }
  return names;
}

// The file's last-write time as local DOS date and time, the form the entry carries.
std::uint32_t FileDosDateTime(const fs::path& aPath) {
  const auto written = std::chrono::file_clock::to_sys(fs::last_write_time(aPath));
  const std::time_t seconds = std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(written));
  const std::tm local = *std::localtime(&seconds);
  return MakeDosDateTime(
      {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec});
}

// Every file and folder the manifest implies, folders with a trailing "/".
std::vector<std::string> ExpectedTree(const TManifest& aManifest) {
  std::set<std::string> tree;
  for (const auto& [name, expected] : aManifest) {
    for (std::size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1)) {
      tree.insert(name.substr(0, slash + 1));
    }
    if (!expected.Folder) tree.insert(name);
  }
  return {tree.begin(), tree.end()};
}

class RealPacks : public ::testing::Test {
 protected:
  void SetUp() override {
    fPacks = PackNames();
    if (fPacks.empty()) GTEST_SKIP() << "no packs listed in " << Utf8Path(PacksFolder() / "packs.txt");
  }
  std::vector<std::string> fPacks;
};

TEST_F(RealPacks, DirectoryListsWhatTheArchiverStored) {
  for (const std::string& pack : fPacks) {
    SCOPED_TRACE(pack);
    const TManifest manifest = ReadManifest(PacksFolder() / (pack + ".txt"));
    TZipReader reader(NativeZipFiles());
    reader.SetArchiveFileName(Utf8Path(PacksFolder() / pack));
    ASSERT_TRUE(reader.ReadDirectory()) << reader.ErrorMessage();
    ASSERT_EQ(reader.Count(), manifest.size());
    for (std::size_t i = 0; i < reader.Count(); ++i) {
      const TZipEntry& entry = reader.Entry(i);
      SCOPED_TRACE(entry.FullName);
      const auto expected = manifest.find(entry.FullName);
      ASSERT_NE(expected, manifest.end());
      EXPECT_EQ(entry.IsFolder, expected->second.Folder);
      EXPECT_EQ(entry.UncompressedSize, expected->second.Size);
      EXPECT_EQ(entry.Crc, expected->second.Crc);
      if (expected->second.DosDateTime) {
        EXPECT_EQ(entry.DosDateTime, *expected->second.DosDateTime);
      }
      // The packs written to a pipe must really carry their sizes behind the data.
      if (pack.find("stream") != std::string::npos && !entry.IsFolder) {
        EXPECT_TRUE(entry.HasDataDescriptor());
      }
    }
  }
}

TEST_F(RealPacks, ExtractsEveryEntryIntact) {
  for (const std::string& pack : fPacks) {
    SCOPED_TRACE(pack);
    const TManifest manifest = ReadManifest(PacksFolder() / (pack + ".txt"));
    TTempFolder target;
    TEventRecorder recorder;
    TZipReader reader(NativeZipFiles());
    reader.SetArchiveFileName(Utf8Path(PacksFolder() / pack));
    reader.SetEvents(recorder.Events());
    ASSERT_TRUE(reader.ReadDirectory()) << reader.ErrorMessage();
    reader.SetDestinationFolder(target.Utf8());
    reader.SetRecreateFolders(true);
    for (std::size_t i = 0; i < reader.Count(); ++i) reader.Select(i);
    EXPECT_EQ(reader.ExtractSelected(), static_cast<int>(reader.Count()));
    EXPECT_TRUE(recorder.Skips.empty());
    EXPECT_TRUE(recorder.BadCrcs.empty());
    EXPECT_EQ(TreeOf(target.Path()), ExpectedTree(manifest));
    for (const auto& [name, expected] : manifest) {
      if (expected.Folder) continue;
      SCOPED_TRACE(name);
      const fs::path file = target.Path() / PathFromUtf8(name);
      const std::string bytes = ReadBytes(file);
      EXPECT_EQ(bytes.size(), expected.Size);
      EXPECT_EQ(Crc32(bytes), expected.Crc);
      if (expected.DosDateTime) {
        EXPECT_EQ(FileDosDateTime(file), *expected.DosDateTime);
      }
    }
  }
}

TEST(ForeignPacks, UnsupportedMethodIsSkippedWithItsReason) {
  const fs::path pack = PacksFolder() / "7z-deflate64.zip";
  if (!fs::exists(pack)) GTEST_SKIP() << "7-Zip is not installed";
  TTempFolder target;
  TEventRecorder recorder;
  TZipReader reader(NativeZipFiles());
  reader.SetArchiveFileName(Utf8Path(pack));
  reader.SetEvents(recorder.Events());
  ASSERT_TRUE(reader.ReadDirectory()) << reader.ErrorMessage();
  reader.SetDestinationFolder(target.Utf8());
  reader.SetRecreateFolders(true);
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    const TZipEntry& entry = reader.Entry(i);
    reader.ClearSelection();
    reader.Select(i);
    const int extracted = reader.ExtractSelected();
    if (entry.Method == TZipEntry::kMethodStored || entry.Method == TZipEntry::kMethodDeflated) continue;
    SCOPED_TRACE(entry.FullName);
    EXPECT_EQ(extracted, 0);
    ASSERT_FALSE(recorder.Skips.empty());
    EXPECT_EQ(recorder.Skips.back().Reason, srUnsupportedMethod);
    EXPECT_EQ(recorder.Skips.back().Index, i);
    EXPECT_FALSE(fs::exists(target.Path() / PathFromUtf8(entry.FullName)));
  }
  EXPECT_FALSE(recorder.Skips.empty());
}

}  // namespace
}  // namespace vek::test
