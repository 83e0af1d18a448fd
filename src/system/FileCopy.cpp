#include "system/FileCopy.h"

#include <windows.h>

#include "system/ErrorMode.h"
#include "system/PathText.h"
#include "system/LongPath.h"
#include "system/WinText.h"

namespace vek {
namespace {

constexpr int kFailed = -1;

bool IsCopyablePath(const std::string& aPath, const std::wstring& aWide) {
  return !aPath.empty() && !ContainsNul(aPath) && aWide.size() <= kLongestPath + 8;
}

}  // namespace

int CopyFileWithAttr(const std::string& aSource, const std::string& aTarget, std::uint32_t aAttr) {
  const std::wstring source = WidePath(aSource);
  const std::wstring target = WidePath(aTarget);
  if (!IsCopyablePath(aSource, source) || !IsCopyablePath(aTarget, target)) return kFailed;
  const QuietErrorMode quiet;
  if (!::CopyFileW(source.c_str(), target.c_str(), FALSE)) return kFailed;
  const DWORD wanted = aAttr | FILE_ATTRIBUTE_ARCHIVE;
  const DWORD current = ::GetFileAttributesW(target.c_str());
  if (current == INVALID_FILE_ATTRIBUTES) return kFailed;
  if (current == wanted) return 0;
  return ::SetFileAttributesW(target.c_str(), wanted) ? 0 : kFailed;
}

}  // namespace vek
