#include "system/FileVersion.h"

#include <windows.h>

#include <vector>

#include "system/WinText.h"

namespace vek {

bool ReadFileVersion(const std::string& aPath, std::array<std::uint16_t, 4>& aVersion) {
  const std::wstring path = Wide(aPath);
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<unsigned char> data(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return false;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  aVersion = {HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
              LOWORD(info->dwFileVersionLS)};
  return true;
}

bool IsOlderVersion(const std::string& aFile, const std::string& aOther) {
  std::array<std::uint16_t, 4> mine{};
  std::array<std::uint16_t, 4> other{};
  if (!ReadFileVersion(aFile, mine) || !ReadFileVersion(aOther, other)) return false;
  return mine < other;
}

}  // namespace vek
