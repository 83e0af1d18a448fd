#pragma once
// One open file by UTF-8 path, owned for its lifetime: read at any offset, or written front to
// back, with its time set from a DOS date and time. The archive reader reads packs and writes
// extracted files through it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "system/SysResult.h"

namespace vek {

class TFileStream {
 public:
  TFileStream();
  ~TFileStream();
  TFileStream(TFileStream&&) noexcept;
  TFileStream& operator=(TFileStream&&) noexcept;

  // An existing file for reading; others may read it too.
  SysResult OpenRead(const std::string& aPath);
  // A new file for writing, or the existing one emptied.
  SysResult Create(const std::string& aPath);
  // Creates the file only when nothing of that name exists (ERROR_FILE_EXISTS otherwise).
  SysResult CreateNew(const std::string& aPath);
  bool IsOpen() const;
  void Close();

  SysResult GetSize(std::uint64_t& aSize) const;
  // Reads up to aCount bytes at aOffset; aRead tells how many came (fewer at the end).
  SysResult ReadAt(std::uint64_t aOffset, void* aBuffer, std::size_t aCount, std::size_t& aRead) const;
  // Writes all of aData at the current position.
  SysResult Write(const void* aData, std::size_t aCount);
  // The DOS date and time are local time; the file keeps them as its last-write time.
  SysResult SetDosDateTime(std::uint32_t aDosDateTime);

 private:
  struct THandle;
  std::unique_ptr<THandle> fHandle;
};

// Renames aFrom to aTo, replacing a file aTo in one step.
SysResult MoveFileReplacing(const std::string& aFrom, const std::string& aTo);
// Whether an error code of a write says that the drive has no room left.
bool IsDiskFullError(std::uint32_t aError);

}  // namespace vek
