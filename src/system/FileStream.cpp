#include "system/FileStream.h"

#include <windows.h>

#include <algorithm>

#include "system/UniqueResource.h"
#include "system/LongPath.h"
#include "system/WinText.h"

namespace vek {

namespace {
constexpr std::uint64_t kUnknownPosition = ~std::uint64_t{0};
}  // namespace

struct TFileStream::THandle {
  UniqueFileHandle File;
  // Where the file pointer stands for reading: unknown after opening, writing or a failure.
  std::uint64_t Position = kUnknownPosition;

  void Reset(HANDLE aFile) {
    File.reset(aFile);
    Position = kUnknownPosition;
  }
};

namespace {

SysResult LastError() { return SysResult{static_cast<std::uint32_t>(::GetLastError())}; }

// Windows reads and writes at most 4 GiB - 1 per call; larger requests are split.
constexpr std::size_t kMaxChunk = 1u << 30;

}  // namespace

TFileStream::TFileStream() : fHandle(std::make_unique<THandle>()) {}
TFileStream::~TFileStream() = default;
TFileStream::TFileStream(TFileStream&&) noexcept = default;
TFileStream& TFileStream::operator=(TFileStream&&) noexcept = default;

SysResult TFileStream::OpenRead(const std::string& aPath) {
  fHandle->Reset(::CreateFileW(WidePath(aPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  return fHandle->File ? SysResult::Ok() : LastError();
}

namespace {

HANDLE CreateForWriting(const std::string& aPath, DWORD aDisposition) {
  return ::CreateFileW(WidePath(aPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, aDisposition,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

}  // namespace

SysResult TFileStream::Create(const std::string& aPath) {
  fHandle->Reset(CreateForWriting(aPath, CREATE_ALWAYS));
  return fHandle->File ? SysResult::Ok() : LastError();
}

SysResult TFileStream::CreateNew(const std::string& aPath) {
  fHandle->Reset(CreateForWriting(aPath, CREATE_NEW));
  return fHandle->File ? SysResult::Ok() : LastError();
}

bool TFileStream::IsOpen() const { return fHandle && static_cast<bool>(fHandle->File); }

void TFileStream::Close() {
  if (fHandle) fHandle->Reset(INVALID_HANDLE_VALUE);
}

SysResult TFileStream::GetSize(std::uint64_t& aSize) const {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(fHandle->File.get(), &size)) return LastError();
  aSize = static_cast<std::uint64_t>(size.QuadPart);
  return SysResult::Ok();
}

// The reads go through the file pointer, moved only when a read does not start where the last
// one ended, rather than through an OVERLAPPED offset: under Wine every read given an OVERLAPPED
// costs a round trip to its server (for a completion port the handle never has), two per
// extracted file. The pointer is the stream's own: no other code reads through this handle.
SysResult TFileStream::ReadAt(std::uint64_t aOffset, void* aBuffer, std::size_t aCount,
                              std::size_t& aRead) const {
  aRead = 0;
  if (aOffset != fHandle->Position) {
    LARGE_INTEGER where{};
    where.QuadPart = static_cast<LONGLONG>(aOffset);
    fHandle->Position = kUnknownPosition;
    if (!::SetFilePointerEx(fHandle->File.get(), where, nullptr, FILE_BEGIN)) return LastError();
    fHandle->Position = aOffset;
  }
  auto* bytes = static_cast<unsigned char*>(aBuffer);
  while (aRead < aCount) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min(aCount - aRead, kMaxChunk));
    if (!::ReadFile(fHandle->File.get(), bytes + aRead, chunk, &got, nullptr)) {
      fHandle->Position = kUnknownPosition;
      const SysResult error = LastError();
      return error.error == ERROR_HANDLE_EOF ? SysResult::Ok() : error;
    }
    if (got == 0) break;
    aRead += got;
    fHandle->Position += got;
  }
  return SysResult::Ok();
}

SysResult TFileStream::Write(const void* aData, std::size_t aCount) {
  fHandle->Position = kUnknownPosition;
  const auto* bytes = static_cast<const unsigned char*>(aData);
  while (aCount > 0) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min(aCount, kMaxChunk));
    if (!::WriteFile(fHandle->File.get(), bytes, chunk, &written, nullptr)) return LastError();
    if (written == 0) return SysResult{ERROR_WRITE_FAULT};
    bytes += written;
    aCount -= written;
  }
  return SysResult::Ok();
}

SysResult TFileStream::SetDosDateTime(std::uint32_t aDosDateTime) {
  FILETIME local{}, utc{};
  if (!::DosDateTimeToFileTime(static_cast<WORD>(aDosDateTime >> 16), static_cast<WORD>(aDosDateTime),
                               &local) ||
      !::LocalFileTimeToFileTime(&local, &utc) ||
      !::SetFileTime(fHandle->File.get(), nullptr, nullptr, &utc)) {
    return LastError();
  }
  return SysResult::Ok();
}

bool IsDiskFullError(std::uint32_t aError) { return aError == ERROR_DISK_FULL || aError == ERROR_HANDLE_DISK_FULL; }

SysResult MoveFileReplacing(const std::string& aFrom, const std::string& aTo) {
  if (::MoveFileExW(WidePath(aFrom).c_str(), WidePath(aTo).c_str(), MOVEFILE_REPLACE_EXISTING))
    return SysResult::Ok();
  return LastError();
}

}  // namespace vek
