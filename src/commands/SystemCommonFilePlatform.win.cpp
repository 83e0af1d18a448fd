#include "commands/SystemCommonFilePlatform.h"

#include "commands/CommonFileJobs.h"
#include "commands/SystemVersionSource.h"
#include "system/DriveKind.h"
#include "system/Files.h"
#include "system/Registry.h"
#include "system/SysInfo.h"

namespace vek {
namespace {

class TSystemRunOnceKey final : public IRunOnceKey {
 public:
  explicit TSystemRunOnceKey(TRegistryKey aKey) : fKey(std::move(aKey)) {}
  bool ValueExists(const std::string& aName) const override { return fKey.ValueExists(aName); }
  SysResult WriteString(const std::string& aName, const std::string& aValue) override {
    return fKey.WriteString(aName, aValue);
  }

 private:
  TRegistryKey fKey;
};

}  // namespace

bool TSystemCommonFilePlatform::FileExists(const std::string& aPath) const { return vek::FileExists(aPath); }

bool TSystemCommonFilePlatform::DirectoryExists(const std::string& aPath) const {
  return vek::DirectoryExists(aPath);
}

std::vector<std::string> TSystemCommonFilePlatform::FileNames(const std::string& aFolder) const {
  std::vector<DirEntry> entries;
  std::vector<std::string> names;
  if (!ListDirectory(aFolder, entries)) return names;
  for (const DirEntry& entry : entries) {
    if (!entry.IsFolder()) names.push_back(entry.name);
  }
  return names;
}

TfileVersion TSystemCommonFilePlatform::FileVersion(const std::string& aPath) const {
  return CreateAndLoadVersionInfo(TSystemVersionSource(), aPath);
}

SysResult TSystemCommonFilePlatform::CreateFolder(const std::string& aPath) { return ForceDirectories(aPath); }

SysResult TSystemCommonFilePlatform::CopyFile(const std::string& aFrom, const std::string& aTo) {
  return CopyFileOverwrite(aFrom, aTo);
}

bool TSystemCommonFilePlatform::IsOnFixedDisk(const std::string& aPath) const { return vek::IsOnFixedDisk(aPath); }

std::string TSystemCommonFilePlatform::TempDir() const { return GetTempDir(); }

bool TSystemCommonFilePlatform::NtFamily() const { return GetWinVersion().ntFamily; }

unsigned TSystemCommonFilePlatform::MajorVersion() const { return GetWinVersion().major; }

std::unique_ptr<IRunOnceKey> TSystemCommonFilePlatform::OpenRunOnceKey(SysResult& aError) {
  TRegistryKey key;
  // The job only counts when the system will find it: the key is opened, never created.
  aError = TRegistryKey::Open(TRegistryRoot::LocalMachine, std::string(kRunOnceKeyPath).substr(1),
                              TRegistryAccess::ReadWrite, key);
  if (!aError) return nullptr;
  return std::make_unique<TSystemRunOnceKey>(std::move(key));
}

}  // namespace vek
