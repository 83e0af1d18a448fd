#pragma once
// What the archive tests share: real temporary folders, file bytes, and a recorder for the
// reader's events.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "archive/ZipReader.h"

namespace vek::test {

namespace fs = std::filesystem;

std::string Utf8Path(const fs::path& aPath);
fs::path PathFromUtf8(std::string_view aText);

// A new folder below the system's temporary folder, removed with its contents at the end.
class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const fs::path& Path() const { return fPath; }
  std::string Utf8() const { return Utf8Path(fPath); }

 private:
  fs::path fPath;
};

std::string ReadBytes(const fs::path& aPath);
void WriteBytes(const fs::path& aPath, std::string_view aBytes);
std::uint32_t Crc32(std::string_view aBytes);
// Every file and folder below aRoot, relative, with "/" between folders.
std::vector<std::string> TreeOf(const fs::path& aRoot);

// The folder with the packs that make_packs.py wrote for this build.
fs::path PacksFolder();

struct TSkipEvent {
  TZipSkipReason Reason;
  std::string FileName;
  std::size_t Index;
};

struct TBadCrcEvent {
  std::uint32_t Calculated, Stored;
  std::size_t Index;
};

// Keeps every event the reader raises; the skip handler answers with AnswerRetry.
struct TEventRecorder {
  std::vector<std::string> Started;
  std::vector<int> Percents;
  std::vector<TSkipEvent> Skips;
  std::vector<TBadCrcEvent> BadCrcs;
  bool AnswerRetry = false;

  TZipReaderEvents Events();
};

}  // namespace vek::test
