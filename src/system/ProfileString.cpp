#include "system/ProfileString.h"

#include <windows.h>

#include <vector>

#include "system/WinText.h"

// <windows.h> maps WriteProfileString to the system's win.ini function; ours is another one.
#undef WriteProfileString

namespace vek {
namespace {

// Calls a profile function that fills a buffer of double-zero-terminated or plain text and
// signals truncation by returning size - 1 or size - 2; grows until the text fits.
template <typename Read>
std::wstring ReadGrowing(Read aRead, DWORD aTruncatedMargin) {
  std::vector<wchar_t> buffer(4096);
  for (;;) {
    const DWORD length = aRead(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length + aTruncatedMargin < buffer.size() || buffer.size() >= (1u << 24)) {
      return std::wstring(buffer.data(), length);
    }
    buffer.resize(buffer.size() * 4);
  }
}

// Splits "a\0b\0\0" into its parts.
std::vector<std::string> SplitZeroList(const std::wstring& aList) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start < aList.size()) {
    const std::size_t end = aList.find(L'\0', start);
    const std::size_t stop = end == std::wstring::npos ? aList.size() : end;
    if (stop > start) parts.push_back(Narrow(std::wstring_view(aList).substr(start, stop - start)));
    start = stop + 1;
  }
  return parts;
}

SysResult Result(BOOL aOk) { return aOk ? SysResult::Ok() : SysResult{static_cast<std::uint32_t>(::GetLastError())}; }

}  // namespace

std::string ReadProfileString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                              const std::string& aDefault) {
  const std::wstring file = Wide(aFile), section = Wide(aSection), key = Wide(aKey), fallback = Wide(aDefault);
  return Narrow(ReadGrowing(
      [&](wchar_t* aBuffer, DWORD aSize) {
        return ::GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), aBuffer, aSize,
                                          file.c_str());
      },
      1));
}

SysResult WriteProfileString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                             const std::string& aValue) {
  return Result(::WritePrivateProfileStringW(Wide(aSection).c_str(), Wide(aKey).c_str(), Wide(aValue).c_str(),
                                             Wide(aFile).c_str()));
}

SysResult DeleteProfileKey(const std::string& aFile, const std::string& aSection, const std::string& aKey) {
  return Result(::WritePrivateProfileStringW(Wide(aSection).c_str(), Wide(aKey).c_str(), nullptr,
                                             Wide(aFile).c_str()));
}

SysResult EraseProfileSection(const std::string& aFile, const std::string& aSection) {
  return Result(::WritePrivateProfileStringW(Wide(aSection).c_str(), nullptr, nullptr, Wide(aFile).c_str()));
}

ProfileEntries ReadProfileSection(const std::string& aFile, const std::string& aSection) {
  const std::wstring file = Wide(aFile), section = Wide(aSection);
  const std::wstring list = ReadGrowing(
      [&](wchar_t* aBuffer, DWORD aSize) {
        return ::GetPrivateProfileSectionW(section.c_str(), aBuffer, aSize, file.c_str());
      },
      2);
  ProfileEntries entries;
  for (const std::string& line : SplitZeroList(list)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      entries.emplace_back(line, std::string());
    } else {
      entries.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
  }
  return entries;
}

std::vector<std::string> ReadProfileSectionNames(const std::string& aFile) {
  const std::wstring file = Wide(aFile);
  return SplitZeroList(ReadGrowing(
      [&](wchar_t* aBuffer, DWORD aSize) { return ::GetPrivateProfileSectionNamesW(aBuffer, aSize, file.c_str()); },
      2));
}

}  // namespace vek
