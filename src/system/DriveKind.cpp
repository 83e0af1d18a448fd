#include "system/DriveKind.h"

#include <windows.h>

#include "system/ErrorMode.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/WinText.h"

namespace vek {

bool IsOnFixedDisk(const std::string& aPath) {
  if (aPath.empty() || ContainsNul(aPath)) return false;
  const std::string full = GetFullPathNameOf(aPath);
  // A share ("\\server\share\...") is never a fixed disk, whatever the server holds it on.
  if (!HasDriveLetter(full)) return false;
  const std::wstring root = Wide(full.substr(0, 2) + kPathDelim);
  const QuietErrorMode quiet;
  return ::GetDriveTypeW(root.c_str()) == DRIVE_FIXED;
}

}  // namespace vek
