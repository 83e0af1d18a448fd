// The result file on disk: written whole under a temporary name, then renamed into place.
#include "engine/ResultFile.h"

#include "system/FileStream.h"
#include "system/Files.h"

namespace vek {

SysResult WriteResultFile(const std::string& aPath, const std::string& aBytes) {
  const std::string temporary = aPath + ".tmp";
  SysResult result = WriteWholeFile(temporary, aBytes);
  if (result) result = MoveFileReplacing(temporary, aPath);
  if (!result) (void)DeleteFileAt(temporary);
  return result;
}

}  // namespace vek
