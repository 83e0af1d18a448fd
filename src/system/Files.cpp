#include "system/Files.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "system/PathText.h"
#include "system/UniqueResource.h"
#include "system/LongPath.h"
#include "system/WinText.h"

namespace vek {
namespace {

SysResult LastError(const char* aOperation, const std::string& aTarget) {
  return {static_cast<std::uint32_t>(::GetLastError()), aOperation, aTarget};
}

DWORD Attributes(const std::string& aPath) { return ::GetFileAttributesW(WidePath(aPath).c_str()); }

// Calls a "fill this buffer" API until the buffer is large enough.
template <typename Fill>
std::wstring GrowingBuffer(Fill aFill) {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD length = aFill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size() - 1) return std::wstring(buffer.data(), length);
    if (buffer.size() > 65536) return {};
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string GetFullPathNameOf(const std::string& aPath) {
  const std::wstring wide = Wide(aPath);
  const std::wstring full = GrowingBuffer(
      [&](wchar_t* aBuffer, DWORD aSize) { return ::GetFullPathNameW(wide.c_str(), aSize, aBuffer, nullptr); });
  return full.empty() ? aPath : Narrow(full);
}

std::string SystemErrorMessage(std::uint32_t aError) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      aError, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length ? Narrow(std::wstring_view(text, length)) : std::string();
  if (text) ::LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  if (message.empty()) message = "System error " + std::to_string(aError);
  return message;
}

bool FileExists(const std::string& aPath) {
  const DWORD attributes = Attributes(aPath);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& aPath) {
  const DWORD attributes = Attributes(aPath);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::uint64_t> FileSizeOf(const std::string& aPath) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(WidePath(aPath).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

SysResult CopyFileOverwrite(const std::string& aFrom, const std::string& aTo) {
  if (::CopyFileW(WidePath(aFrom).c_str(), WidePath(aTo).c_str(), FALSE)) return SysResult::Ok();
  return LastError("Copy", aFrom + " > " + aTo);
}

SysResult ClearFileAttributes(const std::string& aPath) {
  if (::SetFileAttributesW(WidePath(aPath).c_str(), FILE_ATTRIBUTE_NORMAL)) return SysResult::Ok();
  return LastError("Set attributes of", aPath);
}

SysResult DeleteFileAt(const std::string& aPath) {
  if (::DeleteFileW(WidePath(aPath).c_str())) return SysResult::Ok();
  return LastError("Delete", aPath);
}

SysResult DeleteFileEvenReadOnly(const std::string& aPath) {
  SysResult deleted = DeleteFileAt(aPath);
  if (deleted.error == ERROR_ACCESS_DENIED && ClearFileAttributes(aPath)) deleted = DeleteFileAt(aPath);
  return deleted;
}

namespace {

HANDLE OpenForAppend(const std::string& aPath) {
  return ::CreateFileW(WidePath(aPath).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

SysResult WriteAll(HANDLE aFile, std::string_view aBytes) {
  while (!aBytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(aBytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(aFile, aBytes.data(), chunk, &written, nullptr)) {
      return SysResult(static_cast<std::uint32_t>(::GetLastError()));
    }
    aBytes.remove_prefix(written);
  }
  return SysResult::Ok();
}

}  // namespace

SysResult AppendToFile(const std::string& aPath, std::string_view aBytes) {
  UniqueFileHandle file(OpenForAppend(aPath));
  if (!file) return LastError("Append to", aPath);
  return WriteAll(file.get(), aBytes);
}

SysResult WriteWholeFile(const std::string& aPath, std::string_view aBytes) {
  return WriteFileInPieces(aPath, [aBytes](const TPieceWriter& aWrite) { return aWrite(aBytes); });
}

SysResult WriteFileInPieces(const std::string& aPath, const std::function<bool(const TPieceWriter&)>& aProduce) {
  UniqueFileHandle file(::CreateFileW(WidePath(aPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError("Write", aPath);
  SysResult written = SysResult::Ok();
  const bool complete = aProduce([&](std::string_view aPiece) {
    written = WriteAll(file.get(), aPiece);
    return written.ok();
  });
  if (written.ok() && !complete) return SysResult(static_cast<std::uint32_t>(ERROR_WRITE_FAULT));
  return written;
}

SysResult TAppendFile::Append(std::string_view aBytes) {
  if (!fHandle) {
    const HANDLE file = OpenForAppend(fPath);
    if (file == INVALID_HANDLE_VALUE) return LastError("Append to", fPath);
    fHandle = file;
  }
  const SysResult written = WriteAll(static_cast<HANDLE>(fHandle), aBytes);
  if (!written) Close();
  return written;
}

void TAppendFile::Close() {
  if (fHandle) ::CloseHandle(static_cast<HANDLE>(fHandle));
  fHandle = nullptr;
}

SysResult ReadWholeFile(const std::string& aPath, std::string& aBytes) {
  aBytes.clear();
  UniqueFileHandle file(::CreateFileW(WidePath(aPath).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError("Read", aPath);
  // Room for the whole file at once: grown in steps, a large file (a cleanup record of many
  // files) would briefly need its size twice over and more.
  if (LARGE_INTEGER size; ::GetFileSizeEx(file.get(), &size) && size.QuadPart < (std::int64_t{1} << 31)) {
    aBytes.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
      aBytes.clear();
      return LastError("Read", aPath);
    }
    if (got == 0) return SysResult::Ok();
    aBytes.append(buffer, got);
  }
}

SysResult ForceDirectories(const std::string& aPath, std::vector<std::string>* aCreated) {
  std::string path = aPath;
  while (path.size() > 3 && IsPathDelimiter(path.back())) path.pop_back();
  if (path.empty() || DirectoryExists(path)) return SysResult::Ok();
  const std::string parent = ExtractFileDir(path);
  if (!parent.empty() && parent != path) {
    if (SysResult result = ForceDirectories(parent, aCreated); !result) return result;
  }
  if (::CreateDirectoryW(WidePath(path).c_str(), nullptr)) {
    if (aCreated) aCreated->push_back(path);
    return SysResult::Ok();
  }
  if (DirectoryExists(path)) return SysResult::Ok();
  return LastError("Create folder", aPath);
}

SysResult ListDirectory(const std::string& aFolder, std::vector<DirEntry>& aEntries) {
  aEntries.clear();
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(::FindFirstFileW(WidePath(JoinPath(aFolder, "*.*")).c_str(), &data));
  if (!find) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? SysResult::Ok() : SysResult{static_cast<std::uint32_t>(error)};
  }
  do {
    const std::wstring_view name(data.cFileName);
    if (name == L"." || name == L"..") continue;
    aEntries.push_back({Narrow(name), data.dwFileAttributes});
  } while (::FindNextFileW(find.get(), &data));
  const DWORD error = ::GetLastError();
  return error == ERROR_NO_MORE_FILES ? SysResult::Ok() : SysResult{static_cast<std::uint32_t>(error)};
}

SysResult RemoveEmptyDirectory(const std::string& aPath) {
  if (::RemoveDirectoryW(WidePath(aPath).c_str())) return SysResult::Ok();
  return LastError("Remove folder", aPath);
}

SysResult SetCurrentDir(const std::string& aPath) {
  if (::SetCurrentDirectoryW(Wide(aPath).c_str())) return SysResult::Ok();
  return LastError("Change to folder", aPath);
}

std::string GetCurrentDir() {
  return Narrow(GrowingBuffer([](wchar_t* b, DWORD n) { return ::GetCurrentDirectoryW(n, b); }));
}

std::string GetLongPathNameOf(const std::string& aPath) {
  const std::wstring path = Wide(aPath);
  const std::wstring longPath =
      GrowingBuffer([&](wchar_t* b, DWORD n) { return ::GetLongPathNameW(path.c_str(), b, n); });
  return longPath.empty() ? aPath : Narrow(longPath);
}

std::string GetTempDir() {
  return Narrow(GrowingBuffer([](wchar_t* b, DWORD n) { return ::GetTempPathW(n, b); }));
}

std::string GetProgramPath() {
  return Narrow(GrowingBuffer([](wchar_t* b, DWORD n) { return ::GetModuleFileNameW(nullptr, b, n); }));
}

}  // namespace vek
