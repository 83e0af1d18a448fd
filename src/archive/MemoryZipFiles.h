#pragma once
// A file system in memory for the reader: packs are byte strings registered by name, and
// extracted files are collected instead of written. The fuzzer and the tests use it to run
// the whole reader without touching a disk.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "archive/ZipFileSystem.h"

namespace vek {

struct TMemoryZipFile {
  std::string Data;  // empty when the file system keeps sizes only
  std::uint64_t Size = 0;
  std::uint32_t DosDateTime = 0;
};

class TMemoryZipFiles : public IZipFileSystem {
 public:
  // aKeepData off: only sizes are kept, so hostile packs cannot fill memory with output.
  explicit TMemoryZipFiles(bool aKeepData = true) : fKeepData(aKeepData) {}

  void AddPack(const std::string& aPath, std::string aBytes) { fPacks[aPath] = std::move(aBytes); }
  // Makes a file exist, as if it had been there before the extraction.
  void AddFile(const std::string& aPath, std::string aData);
  const std::map<std::string, TMemoryZipFile>& Files() const { return fFiles; }
  const std::set<std::string>& Folders() const { return fFolders; }
  // Everything outputs were given, kept or thrown away.
  std::uint64_t BytesWritten() const { return fBytesWritten; }

  char PathDelimiter() const override { return '/'; }
  std::unique_ptr<IZipInput> OpenInput(const std::string& aPath, std::string& aError) override;
  bool FileExists(const std::string& aPath) override { return fFiles.count(aPath) != 0; }
  bool ForceFolders(const std::string& aPath) override;
  std::unique_ptr<IZipOutput> CreateOutput(const std::string& aPath, TZipSkipReason& aFailure) override;

 private:
  friend class TMemoryZipOutput;

  bool fKeepData;
  std::map<std::string, std::string> fPacks;
  std::map<std::string, TMemoryZipFile> fFiles;
  std::set<std::string> fFolders;
  std::uint64_t fBytesWritten = 0;
};

}  // namespace vek
