#pragma once
// Common-file commands against the real system: the file system, version resources, drive
// types and the local machine's RunOnce key.
#include "commands/CommonFileCmd.h"

namespace vek {

class TSystemCommonFilePlatform final : public ICommonFilePlatform {
 public:
  bool FileExists(const std::string& aPath) const override;
  bool DirectoryExists(const std::string& aPath) const override;
  std::vector<std::string> FileNames(const std::string& aFolder) const override;
  TfileVersion FileVersion(const std::string& aPath) const override;
  SysResult CreateFolder(const std::string& aPath) override;
  SysResult CopyFile(const std::string& aFrom, const std::string& aTo) override;
  bool IsOnFixedDisk(const std::string& aPath) const override;
  std::string TempDir() const override;
  bool NtFamily() const override;
  unsigned MajorVersion() const override;
  std::unique_ptr<IRunOnceKey> OpenRunOnceKey(SysResult& aError) override;
};

}  // namespace vek
