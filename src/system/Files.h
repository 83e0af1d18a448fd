#pragma once
// Files and folders of the local machine, by UTF-8 path. Long paths (beyond MAX_PATH) work
// where the system supports them; nothing here shows a window.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "system/SysResult.h"

namespace vek {

bool FileExists(const std::string& aPath);  // an existing file, not a folder
bool DirectoryExists(const std::string& aPath);
// The size of an existing file in bytes; nothing for a folder or a missing file.
std::optional<std::uint64_t> FileSizeOf(const std::string& aPath);
SysResult CopyFileOverwrite(const std::string& aFrom, const std::string& aTo);
SysResult ClearFileAttributes(const std::string& aPath);
SysResult DeleteFileAt(const std::string& aPath);
// Deletes a file, also one whose read-only attribute stands in the way (a file copied from a CD).
SysResult DeleteFileEvenReadOnly(const std::string& aPath);
// Appends bytes at the end of the file, creating it; other writers may append too.
SysResult AppendToFile(const std::string& aPath, std::string_view aBytes);
// A file that lines are appended to, kept open between appends. Other writers may append to
// the same file at the same time; every append lands at the file's end as it is then.
class TAppendFile {
 public:
  explicit TAppendFile(std::string aPath) : fPath(std::move(aPath)) {}
  TAppendFile(const TAppendFile&) = delete;
  TAppendFile& operator=(const TAppendFile&) = delete;
  ~TAppendFile() { Close(); }
  // Opens the file on first use (creating it); after a failed write the next append reopens it.
  SysResult Append(std::string_view aBytes);
  void Close();
  const std::string& Path() const { return fPath; }

 private:
  std::string fPath;
  void* fHandle = nullptr;
};

// Writes the file whole, replacing what it held.
SysResult WriteWholeFile(const std::string& aPath, std::string_view aBytes);
// The same for a file made piece by piece: aProduce hands each piece to the writer it gets,
// which returns false once a write failed (and the producer then stops, returning false).
using TPieceWriter = std::function<bool(std::string_view aPiece)>;
SysResult WriteFileInPieces(const std::string& aPath, const std::function<bool(const TPieceWriter&)>& aProduce);
// Reads a whole file; an error leaves aBytes empty.
SysResult ReadWholeFile(const std::string& aPath, std::string& aBytes);

struct DirEntry {
  std::string name;
  std::uint32_t attributes = 0;  // FILE_ATTRIBUTE_* bits
  bool IsFolder() const { return (attributes & 0x10) != 0; }
};
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;

// The entries of a folder (every name, folders included, "." and ".." left out), in the
// order the file system gives them.
SysResult ListDirectory(const std::string& aFolder, std::vector<DirEntry>& aEntries);

// Creates the folder with every missing parent; succeeds when it exists afterwards. The folders
// that this call created, parents first, are appended to aCreated when given.
SysResult ForceDirectories(const std::string& aPath, std::vector<std::string>* aCreated = nullptr);
SysResult RemoveEmptyDirectory(const std::string& aPath);
SysResult SetCurrentDir(const std::string& aPath);
std::string GetCurrentDir();
// The path as the file system spells it (each existing part in its stored case and long form);
// the path itself when it cannot be looked up.
std::string GetLongPathNameOf(const std::string& aPath);
// The absolute form of aPath against the current folder; aPath itself when that fails.
std::string GetFullPathNameOf(const std::string& aPath);

// The temporary folder as the system returns it, ending with a delimiter.
std::string GetTempDir();
// Full path of this program's file.
std::string GetProgramPath();

}  // namespace vek
