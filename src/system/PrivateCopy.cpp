#include "system/PrivateCopy.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "system/Files.h"
#include "system/LongPath.h"
#include "system/UniqueResource.h"

namespace vek {
namespace {

SysResult LastError(const char* aOperation, const std::string& aTarget) {
  return {static_cast<std::uint32_t>(::GetLastError()), aOperation, aTarget};
}

// Removes what lies under the target name, also when it is read-only.
SysResult RemoveExisting(const std::string& aPath) {
  const SysResult deleted = DeleteFileEvenReadOnly(aPath);
  return deleted.error == ERROR_FILE_NOT_FOUND ? SysResult::Ok() : deleted;
}

// Reads up to aBuffer's size; fewer bytes only at the end of the file.
bool ReadChunk(HANDLE aFile, std::vector<char>& aBuffer, DWORD& aRead) {
  aRead = 0;
  while (aRead < aBuffer.size()) {
    DWORD got = 0;
    if (!::ReadFile(aFile, aBuffer.data() + aRead, static_cast<DWORD>(aBuffer.size()) - aRead, &got,
                    nullptr)) {
      return false;
    }
    if (got == 0) break;
    aRead += got;
  }
  return true;
}

// Whether the held copy has exactly the bytes of its source.
SysResult CompareWithSource(const std::string& aFrom, HANDLE aCopy, const std::string& aTo) {
  const UniqueFileHandle source(::CreateFileW(WidePath(aFrom).c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!source) return LastError("Read", aFrom);
  std::vector<char> expected(64 * 1024);
  std::vector<char> found(expected.size());
  for (;;) {
    DWORD expectedSize = 0;
    DWORD foundSize = 0;
    if (!ReadChunk(source.get(), expected, expectedSize)) return LastError("Read", aFrom);
    if (!ReadChunk(aCopy, found, foundSize)) return LastError("Read", aTo);
    if (expectedSize != foundSize || std::memcmp(expected.data(), found.data(), expectedSize) != 0) {
      return {ERROR_INVALID_DATA, "Compare", aFrom + " > " + aTo};
    }
    if (expectedSize < expected.size()) return SysResult::Ok();
  }
}

}  // namespace

SysResult TPrivateCopy::Make(const std::string& aFrom, const std::string& aTo) {
  Release();
  if (const SysResult removed = RemoveExisting(aTo); !removed) return removed;
  // Fails when the name exists again: then someone else made that file after the removal.
  if (!::CopyFileW(WidePath(aFrom).c_str(), WidePath(aTo).c_str(), TRUE))
    return LastError("Copy", aFrom + " > " + aTo);
  // A program or script copied from a CD keeps its read-only attribute.
  (void)ClearFileAttributes(aTo);
  // Others may read it from now on, not change, replace or delete it.
  UniqueFileHandle hold(::CreateFileW(WidePath(aTo).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  SysResult outcome = hold ? CompareWithSource(aFrom, hold.get(), aTo) : LastError("Open", aTo);
  if (!outcome) {
    hold.reset();
    (void)RemoveExisting(aTo);
    return outcome;
  }
  fHold = hold.release();
  return SysResult::Ok();
}

void TPrivateCopy::Release() {
  if (fHold) ::CloseHandle(static_cast<HANDLE>(fHold));
  fHold = nullptr;
}

}  // namespace vek
