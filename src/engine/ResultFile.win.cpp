// The result file on disk: written whole under a temporary name, then renamed into place.
#include "engine/ResultFile.h"

#include "system/FileAttributes.h"
#include "system/FileStream.h"
#include "system/Files.h"

namespace vek {

namespace {

constexpr std::uint32_t kErrorAccessDenied = 5;

}  // namespace

SysResult WriteResultFile(const std::string& aPath, const std::string& aBytes) {
  // A read-only file is not replaced, also where the file system would let the rename through.
  std::uint32_t attributes = 0;
  if (GetFileAttributesAt(aPath, attributes) && (attributes & kAttrReadOnly) != 0) {
    return SysResult{kErrorAccessDenied};
  }
  const std::string temporary = aPath + ".tmp";
  SysResult result = WriteWholeFile(temporary, aBytes);
  if (result) result = MoveFileReplacing(temporary, aPath);
  if (!result) (void)DeleteFileAt(temporary);
  return result;
}

}  // namespace vek
