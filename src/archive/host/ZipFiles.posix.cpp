// The reader's file system in the native build: POSIX files. It serves the native tools, the
// benchmark and the tests of the core; setup.exe uses ZipFiles.win.cpp.
#include "archive/ZipFiles.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <utility>

#include "archive/DosDateTime.h"

namespace vek {
namespace {

class TUniqueFd {
 public:
  explicit TUniqueFd(int aFd = -1) : fFd(aFd) {}
  TUniqueFd(const TUniqueFd&) = delete;
  TUniqueFd& operator=(const TUniqueFd&) = delete;
  TUniqueFd(TUniqueFd&& aOther) noexcept : fFd(std::exchange(aOther.fFd, -1)) {}
  TUniqueFd& operator=(TUniqueFd&&) = delete;
  ~TUniqueFd() { Close(); }
  int Get() const { return fFd; }
  explicit operator bool() const { return fFd >= 0; }
  // The result of close() matters for written files: it can report a failed write-back.
  bool Close() { return fFd < 0 || ::close(std::exchange(fFd, -1)) == 0; }

 private:
  int fFd;
};

class TPosixInput : public IZipInput {
 public:
  TPosixInput(TUniqueFd aFd, std::uint64_t aSize) : fFd(std::move(aFd)), fSize(aSize) {}
  std::uint64_t Size() const override { return fSize; }
  std::size_t ReadAt(std::uint64_t aOffset, unsigned char* aBuffer, std::size_t aCount) override {
    std::size_t done = 0;
    while (done < aCount) {
      const ssize_t got =
          ::pread(fFd.Get(), aBuffer + done, aCount - done, static_cast<off_t>(aOffset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    return done;
  }

 private:
  TUniqueFd fFd;
  std::uint64_t fSize;
};

bool SetDosTime(int aFd, std::uint32_t aDosDateTime) {
  if (!IsValidDosDateTime(aDosDateTime)) return true;  // keep the time of writing
  const TDosDateTime parts = SplitDosDateTime(aDosDateTime);
  std::tm local{};
  local.tm_year = parts.Year - 1900;
  local.tm_mon = parts.Month - 1;
  local.tm_mday = parts.Day;
  local.tm_hour = parts.Hour;
  local.tm_min = parts.Minute;
  local.tm_sec = parts.Second;
  local.tm_isdst = -1;
  const std::time_t when = std::mktime(&local);
  if (when == static_cast<std::time_t>(-1)) return true;
  const timespec times[2] = {{when, 0}, {when, 0}};
  return ::futimens(aFd, times) == 0;
}

class TPosixOutput : public IZipOutput {
 public:
  TPosixOutput(TUniqueFd aFd, std::string aTemporary, std::string aTarget)
      : fFd(std::move(aFd)), fTemporary(std::move(aTemporary)), fTarget(std::move(aTarget)) {}
  ~TPosixOutput() override {
    if (fCommitted) return;
    fFd.Close();
    ::unlink(fTemporary.c_str());
  }
  bool Write(const unsigned char* aData, std::size_t aCount) override {
    while (aCount > 0) {
      const ssize_t put = ::write(fFd.Get(), aData, aCount);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      aData += put;
      aCount -= static_cast<std::size_t>(put);
    }
    return true;
  }
  bool Commit(std::uint32_t aDosDateTime) override {
    if (!SetDosTime(fFd.Get(), aDosDateTime) || !fFd.Close()) return false;
    fCommitted = ::rename(fTemporary.c_str(), fTarget.c_str()) == 0;
    return fCommitted;
  }

 private:
  TUniqueFd fFd;
  std::string fTemporary, fTarget;
  bool fCommitted = false;
};

bool IsFolder(const std::string& aPath) {
  struct stat info {};
  return ::stat(aPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

class TPosixZipFiles : public IZipFileSystem {
 public:
  char PathDelimiter() const override { return '/'; }

  std::unique_ptr<IZipInput> OpenInput(const std::string& aPath, std::string& aError) override {
    TUniqueFd fd(::open(aPath.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.Get(), &info) != 0) {
      aError = std::strerror(errno);
      return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
      aError = "Not a regular file";
      return nullptr;
    }
    return std::make_unique<TPosixInput>(std::move(fd), static_cast<std::uint64_t>(info.st_size));
  }

  bool FileExists(const std::string& aPath) override {
    struct stat info {};
    return ::stat(aPath.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }

  bool ForceFolders(const std::string& aPath) override {
    if (aPath.empty() || IsFolder(aPath)) return true;
    const std::size_t slash = aPath.find_last_of('/', aPath.size() - 2);
    if (slash != std::string::npos && slash > 0 && !ForceFolders(aPath.substr(0, slash))) return false;
    return ::mkdir(aPath.c_str(), 0777) == 0 || IsFolder(aPath);
  }

  std::unique_ptr<IZipOutput> CreateOutput(const std::string& aPath, TZipSkipReason& aFailure) override {
    std::string temporary = aPath + std::string(kZipPartSuffix);
    TUniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd) {
      aFailure = srCreateError;
      return nullptr;
    }
    return std::make_unique<TPosixOutput>(std::move(fd), std::move(temporary), aPath);
  }
};

}  // namespace

IZipFileSystem& NativeZipFiles() {
  static TPosixZipFiles files;
  return files;
}

}  // namespace vek
