#include "system/Folders.h"

#include <shlobj.h>
#include <windows.h>

#include "system/Files.h"
#include "system/PathText.h"
#include "system/SysInfo.h"
#include "system/UniqueResource.h"
#include "system/WinText.h"

namespace vek {
namespace {

static_assert(sfPrograms == CSIDL_PROGRAMS && sfDesktopDirectory == CSIDL_DESKTOPDIRECTORY &&
              sfCommonPrograms == CSIDL_COMMON_PROGRAMS &&
              sfCommonDesktopDirectory == CSIDL_COMMON_DESKTOPDIRECTORY &&
              sfProgramFiles == CSIDL_PROGRAM_FILES && sfProgramFilesX86 == CSIDL_PROGRAM_FILESX86 &&
              sfProgramFilesCommon == CSIDL_PROGRAM_FILES_COMMON);

constexpr wchar_t kCurrentVersionKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
// A folder value longer than this is damage, not a path; it is not read whole.
constexpr DWORD kMaxValueBytes = 65536;

// Calls an API that fills a buffer of MAX_PATH + 1 characters and returns the length it wrote,
// or the size it needs when the buffer is too small.
template <typename Fill>
std::string FixedPathBuffer(Fill aFill) {
  wchar_t buffer[MAX_PATH + 1];
  const UINT length = aFill(buffer, static_cast<UINT>(MAX_PATH + 1));
  if (length == 0 || length > MAX_PATH) return {};
  return Narrow(std::wstring_view(buffer, length));
}

std::string EnvironmentFolder(const wchar_t* aName) {
  return FixedPathBuffer([aName](wchar_t* aBuffer, UINT aSize) {
    return static_cast<UINT>(::GetEnvironmentVariableW(aName, aBuffer, aSize));
  });
}

// Reads a string value (an expandable one comes expanded); empty on any failure.
std::string ReadStringValue(HKEY aKey, const std::wstring& aName) {
  std::wstring value;
  DWORD bytes = 0;
  LSTATUS status = ::RegGetValueW(aKey, nullptr, aName.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
  // The value may grow between the two calls; a few rounds settle that.
  for (int round = 0; round < 3 && status == ERROR_SUCCESS && bytes <= kMaxValueBytes; ++round) {
    value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    status = ::RegGetValueW(aKey, nullptr, aName.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &bytes);
    if (status == ERROR_SUCCESS) return Narrow(value.c_str());
    if (status == ERROR_MORE_DATA) status = ERROR_SUCCESS;
  }
  return {};
}

}  // namespace

std::string GetWindowsDir() { return FixedPathBuffer(::GetWindowsDirectoryW); }

std::string GetSystemDir() { return FixedPathBuffer(::GetSystemDirectoryW); }

std::string GetSpecialFolder(int aCsidl) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (::SHGetFolderPathW(nullptr, aCsidl, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK) return {};
  return Narrow(buffer);
}

std::string ReadCurrentVersionFolder(const std::string& aValueName) {
  UniqueHKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_QUERY_VALUE, key.put()) !=
      ERROR_SUCCESS) {
    return {};
  }
  return ReadStringValue(key.get(), Wide(aValueName));
}

std::string GetProgramFilesDir() {
  std::string folder = GetSpecialFolder(sfProgramFiles);
  return folder.empty() ? ReadCurrentVersionFolder("ProgramFilesDir") : folder;
}

std::string GetCommonFilesDir() {
  const WinVersion version = GetWinVersion();
  std::string folder;
  if (version.ntFamily && version.major >= 5) folder = GetSpecialFolder(sfProgramFilesCommon);
  return folder.empty() ? ReadCurrentVersionFolder("CommonFilesDir") : folder;
}

std::vector<std::string> GetSystemOwnedFolders() {
  static constexpr int kShellFolders[] = {
      CSIDL_WINDOWS,         CSIDL_SYSTEM,          CSIDL_SYSTEMX86,          CSIDL_PROGRAM_FILES,
      CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_PROFILE,
      CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_STARTMENU,      CSIDL_COMMON_STARTMENU,
      CSIDL_PROGRAMS,        CSIDL_COMMON_PROGRAMS,  CSIDL_STARTUP,            CSIDL_COMMON_STARTUP,
      CSIDL_PERSONAL,        CSIDL_COMMON_DOCUMENTS, CSIDL_APPDATA,            CSIDL_LOCAL_APPDATA,
      CSIDL_COMMON_APPDATA,  CSIDL_FONTS,            CSIDL_TEMPLATES,          CSIDL_COMMON_TEMPLATES};
  std::vector<std::string> folders = {GetWindowsDir(), GetSystemDir(), GetProgramFilesDir(), GetCommonFilesDir(),
                                      GetTempDir()};
  for (const int csidl : kShellFolders) folders.push_back(GetSpecialFolder(csidl));
  // The folder that holds every profile: the current profile's parent.
  const std::string profile = ExcludeTrailingPathDelimiter(GetSpecialFolder(CSIDL_PROFILE));
  if (!profile.empty()) folders.push_back(ExtractFileDir(profile));
  std::erase_if(folders, [](const std::string& aFolder) { return aFolder.empty(); });
  return folders;
}

bool IsUnderProgramFiles(std::string_view aPath) {
  const std::string candidates[] = {EnvironmentFolder(L"ProgramW6432"),
                                    EnvironmentFolder(L"ProgramFiles(X86)"), GetSpecialFolder(sfProgramFiles),
                                    GetSpecialFolder(sfProgramFilesX86)};
  for (const std::string& folder : candidates) {
    if (IsPathUnderFolder(aPath, folder)) return true;
  }
  return false;
}

}  // namespace vek
