#include "system/LongPath.h"

#include <windows.h>

#include <vector>

#include "system/PathText.h"
#include "system/WinText.h"

namespace vek {
namespace {

// The absolute form with "." and ".." resolved and "/" turned into "\"; empty on failure.
std::wstring FullPath(const std::wstring& aPath) {
  const DWORD size = ::GetFullPathNameW(aPath.c_str(), 0, nullptr, nullptr);
  if (size == 0 || size > kLongestPath + 1) return std::wstring();
  std::vector<wchar_t> buffer(size);
  const DWORD length = ::GetFullPathNameW(aPath.c_str(), size, buffer.data(), nullptr);
  if (length == 0 || length >= size) return std::wstring();
  return std::wstring(buffer.data(), length);
}

}  // namespace

std::wstring WidePath(std::string_view aPath) {
  std::wstring wide = Wide(aPath);
  if (wide.size() <= kClassicPathLimit || wide.size() > kLongestPath || wide.starts_with(L"\\\\?\\"))
    return wide;
  const std::wstring full = FullPath(wide);
  if (full.empty()) return wide;
  return Wide(ExtendedLengthPath(Narrow(full)));
}

}  // namespace vek
