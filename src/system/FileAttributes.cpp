#include "system/FileAttributes.h"

#include <windows.h>

#include "system/UniqueResource.h"
#include "system/LongPath.h"
#include "system/WinText.h"

namespace vek {
namespace {

SysResult LastError() { return SysResult{static_cast<std::uint32_t>(::GetLastError())}; }

// Opens the file or folder only to read or write its times; others may keep using it.
UniqueFileHandle OpenForTimes(const std::string& aPath, DWORD aAccess) {
  return UniqueFileHandle(::CreateFileW(WidePath(aPath).c_str(), aAccess,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace

SysResult GetFileAttributesAt(const std::string& aPath, std::uint32_t& aAttributes) {
  const DWORD attributes = ::GetFileAttributesW(WidePath(aPath).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
  aAttributes = attributes;
  return SysResult::Ok();
}

SysResult SetFileAttributesAt(const std::string& aPath, std::uint32_t aAttributes) {
  if (::SetFileAttributesW(WidePath(aPath).c_str(), aAttributes)) return SysResult::Ok();
  return LastError();
}

SysResult GetLastWriteLocalTime(const std::string& aPath, TLocalFileTime& aTime) {
  const UniqueFileHandle file = OpenForTimes(aPath, FILE_READ_ATTRIBUTES);
  if (!file) return LastError();
  FILETIME written, local;
  SYSTEMTIME parts;
  if (!::GetFileTime(file.get(), nullptr, nullptr, &written) || !::FileTimeToLocalFileTime(&written, &local) ||
      !::FileTimeToSystemTime(&local, &parts)) {
    return LastError();
  }
  aTime = {parts.wYear, parts.wMonth, parts.wDay, parts.wHour, parts.wMinute, parts.wSecond};
  return SysResult::Ok();
}

SysResult SetLastWriteLocalTime(const std::string& aPath, const TLocalFileTime& aTime) {
  SYSTEMTIME parts{};
  parts.wYear = static_cast<WORD>(aTime.Year);
  parts.wMonth = static_cast<WORD>(aTime.Month);
  parts.wDay = static_cast<WORD>(aTime.Day);
  parts.wHour = static_cast<WORD>(aTime.Hour);
  parts.wMinute = static_cast<WORD>(aTime.Minute);
  parts.wSecond = static_cast<WORD>(aTime.Second);
  FILETIME local, written;
  if (!::SystemTimeToFileTime(&parts, &local) || !::LocalFileTimeToFileTime(&local, &written)) return LastError();
  const UniqueFileHandle file = OpenForTimes(aPath, FILE_WRITE_ATTRIBUTES);
  if (!file) return LastError();
  if (!::SetFileTime(file.get(), nullptr, nullptr, &written)) return LastError();
  return SysResult::Ok();
}

}  // namespace vek
