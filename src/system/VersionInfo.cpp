#include "system/VersionInfo.h"

#include <windows.h>

#include <cstdio>

#include "system/WinText.h"

namespace vek {

TVersionInfo::TVersionInfo(const std::string& aFileName) {
  // The whole path: a name cut short could name another file.
  const std::wstring path = Wide(aFileName);
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return;
  fData.resize(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, fData.data())) {
    fData.clear();
    return;
  }
  fFound = true;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (::VerQueryValueW(fData.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed &&
      length >= sizeof(VS_FIXEDFILEINFO)) {
    fFixedFileVersion = fixed->dwFileVersionMS;
    fFixedFileBuild = fixed->dwFileVersionLS;
    fFixedProductVersion = fixed->dwProductVersionMS;
    fFixedProductBuild = fixed->dwProductVersionLS;
  }
  WORD* translation = nullptr;
  if (::VerQueryValueW(fData.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                       &length) &&
      translation && length >= 2 * sizeof(WORD)) {
    char name[9];
    std::snprintf(name, sizeof name, "%04X%04X", static_cast<unsigned>(translation[0]),
                  static_cast<unsigned>(translation[1]));
    fTranslation = name;
  }
}

std::string TVersionInfo::StringValue(const std::string& aName) const {
  if (!fFound) return {};
  const std::wstring query = Wide("\\StringFileInfo\\" + fTranslation + "\\" + aName);
  wchar_t* text = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(fData.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
    return {};
  // length counts characters, the terminator included when there is one; never read past it.
  std::wstring value(text, length);
  value.resize(std::wstring_view(value.c_str()).size());
  return Narrow(value);
}

std::string FixedVersionToString(std::uint32_t aHalf) {
  return std::to_string(aHalf >> 16) + "." + std::to_string(aHalf & 0xFFFF);
}

}  // namespace vek
