#include "system/Drives.h"

#include <windows.h>

#include "system/ErrorMode.h"
#include "system/PathText.h"
#include "system/WinText.h"

// <windows.h> came after Drives.h here and named its own GetDiskFreeSpace again.
#ifdef GetDiskFreeSpace
#undef GetDiskFreeSpace
#endif

namespace vek {
namespace {

std::wstring DriveRoot(const std::string& aPath) { return Wide(aPath.substr(0, 2) + kPathDelim); }

}  // namespace

bool DriveReady(const std::string& aPath) {
  if (!HasDriveLetter(aPath)) return true;
  const QuietErrorMode quiet;
  ULARGE_INTEGER total{};
  return ::GetDiskFreeSpaceExW(DriveRoot(aPath).c_str(), nullptr, &total, nullptr) != FALSE;
}

std::int64_t GetDiskFreeSpace(const std::string& aPath) {
  if (aPath.empty() || ContainsNul(aPath)) return -1;
  const std::wstring where = HasDriveLetter(aPath) ? DriveRoot(aPath) : Wide(aPath);
  const QuietErrorMode quiet;
  ULARGE_INTEGER available{};
  if (!::GetDiskFreeSpaceExW(where.c_str(), &available, nullptr, nullptr)) return -1;
  return static_cast<std::int64_t>(available.QuadPart);
}

}  // namespace vek
