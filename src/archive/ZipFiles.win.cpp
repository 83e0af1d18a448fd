// The reader's file system in setup.exe: Win32 files through src/system.
#include "archive/ZipFiles.h"

#include "archive/DosDateTime.h"
#include "system/FileStream.h"
#include "system/Files.h"

namespace vek {
namespace {

class TWinInput : public IZipInput {
 public:
  TWinInput(TFileStream aFile, std::uint64_t aSize) : fFile(std::move(aFile)), fSize(aSize) {}
  std::uint64_t Size() const override { return fSize; }
  std::size_t ReadAt(std::uint64_t aOffset, unsigned char* aBuffer, std::size_t aCount) override {
    std::size_t read = 0;
    return fFile.ReadAt(aOffset, aBuffer, aCount, read) ? read : 0;
  }

 private:
  TFileStream fFile;
  std::uint64_t fSize;
};

class TWinOutput : public IZipOutput {
 public:
  TWinOutput(TFileStream aFile, std::string aTemporary, std::string aTarget)
      : fFile(std::move(aFile)), fTemporary(std::move(aTemporary)), fTarget(std::move(aTarget)) {}
  ~TWinOutput() override {
    if (fCommitted) return;
    fFile.Close();
    (void)DeleteFileAt(fTemporary);
  }
  bool Write(const unsigned char* aData, std::size_t aCount) override {
    const SysResult written = fFile.Write(aData, aCount);
    fNoSpace = IsDiskFullError(written.error);
    return written.ok();
  }
  bool NoSpace() const override { return fNoSpace; }
  bool Commit(std::uint32_t aDosDateTime) override {
    // A damaged date keeps the time of writing rather than failing a good file.
    if (IsValidDosDateTime(aDosDateTime)) (void)fFile.SetDosDateTime(aDosDateTime);
    fFile.Close();
    fCommitted = fTemporary == fTarget || static_cast<bool>(MoveFileReplacing(fTemporary, fTarget));
    return fCommitted;
  }

 private:
  TFileStream fFile;
  std::string fTemporary, fTarget;
  bool fCommitted = false;
  bool fNoSpace = false;
};

class TWinZipFiles : public IZipFileSystem {
 public:
  char PathDelimiter() const override { return '\\'; }

  std::unique_ptr<IZipInput> OpenInput(const std::string& aPath, std::string& aError) override {
    TFileStream file;
    std::uint64_t size = 0;
    SysResult result = file.OpenRead(aPath);
    if (result) result = file.GetSize(size);
    if (!result) {
      aError = SystemErrorMessage(result.error);
      return nullptr;
    }
    return std::make_unique<TWinInput>(std::move(file), size);
  }

  bool FileExists(const std::string& aPath) override { return vek::FileExists(aPath); }

  bool ForceFolders(const std::string& aPath) override { return static_cast<bool>(ForceDirectories(aPath)); }

  std::unique_ptr<IZipOutput> CreateOutput(const std::string& aPath, TZipSkipReason& aFailure) override {
    // A new file is written in place: an unfinished one is deleted, and there was nothing to
    // lose. A file that exists is replaced only once its successor is complete.
    TFileStream file;
    if (file.CreateNew(aPath)) return std::make_unique<TWinOutput>(std::move(file), aPath, aPath);
    std::string temporary = aPath + std::string(kZipPartSuffix);
    if (!file.Create(temporary)) {
      aFailure = srCreateError;
      return nullptr;
    }
    return std::make_unique<TWinOutput>(std::move(file), std::move(temporary), aPath);
  }
};

}  // namespace

IZipFileSystem& NativeZipFiles() {
  static TWinZipFiles files;
  return files;
}

}  // namespace vek
