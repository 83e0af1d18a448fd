#include "system/ChangeDir.h"

#include <windows.h>
#include <winnetwk.h>

#include <vector>

#include "system/Files.h"
#include "system/PathText.h"
#include "system/WinText.h"

namespace vek {
namespace {

// Longest remote name we accept from the system; a longer one is not a folder we can reach.
constexpr DWORD kMaxRemoteChars = 32768;

// The remote folder of a drive whose connection is remembered but unavailable (error 1201,
// ERROR_CONNECTION_UNAVAIL); empty for a connected drive, a local one or any failure.
std::string RememberedRemoteFolder(const std::wstring& aDrive) {
  std::vector<wchar_t> remote(MAX_PATH + 1);
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD length = static_cast<DWORD>(remote.size());
    const DWORD status = ::WNetGetConnectionW(aDrive.c_str(), remote.data(), &length);
    if (status == ERROR_CONNECTION_UNAVAIL) return Narrow(remote.data());
    if (status != ERROR_MORE_DATA || length > kMaxRemoteChars) return {};
    remote.resize(length + 1);
  }
  return {};
}

bool Reconnect(const std::wstring& aDrive, const std::string& aRemote) {
  std::wstring remote = Wide(aRemote);
  std::wstring local = aDrive;
  NETRESOURCEW resource{};
  resource.dwType = RESOURCETYPE_DISK;
  resource.lpLocalName = local.data();
  resource.lpRemoteName = remote.data();
  return ::WNetAddConnection2W(&resource, nullptr, nullptr, 0) == NO_ERROR;
}

}  // namespace

int ChangeDir(const std::string& aDir) {
  if (aDir.empty() || ContainsNul(aDir)) return -1;
  const SysResult result = SetCurrentDir(aDir);
  if (result.ok()) return 0;
  return static_cast<int>(result.error);
}

bool ChangeDirReconnect(const std::string& aDir, bool aReconnect) {
  if (ChangeDir(aDir) == 0) return true;
  if (!aReconnect || !HasDriveLetter(aDir)) return false;
  const std::wstring drive = Wide(aDir.substr(0, 2));
  if (::GetDriveTypeW((drive + L"\\").c_str()) != DRIVE_NO_ROOT_DIR) return false;
  const std::string remote = RememberedRemoteFolder(drive);
  if (remote.empty() || !DirectoryExists(remote) || !Reconnect(drive, remote)) return false;
  return ChangeDir(aDir) == 0;
}

}  // namespace vek
