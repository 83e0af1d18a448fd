#include "commands/SystemVersionSource.h"

#include "commands/SystemValueSource.h"
#include "system/Files.h"
#include "system/VersionInfo.h"

namespace vek {

std::string TSystemVersionSource::ReadIniString(const std::string& aFile, const std::string& aSection,
                                                const std::string& aKey, const std::string& aDefault) const {
  return TSystemValueSource().ReadIniString(aFile, aSection, aKey, aDefault);
}

std::string TSystemVersionSource::ReadRegistryString(TRegistryRoot aRoot, const std::string& aKeyPath,
                                                     const std::string& aValueName) const {
  return vek::ReadRegistryString(aRoot, aKeyPath, aValueName);
}

bool TSystemVersionSource::FileExists(const std::string& aPath) const {
  return !aPath.empty() && vek::FileExists(aPath);
}

std::optional<std::string> TSystemVersionSource::ReadRegistryValue(TRegistryRoot aRoot,
                                                                   const std::string& aKeyPath,
                                                                   const std::string& aValueName) const {
  TRegistryKey key;
  if (!TRegistryKey::Open(aRoot, aKeyPath, TRegistryAccess::Read, key)) return std::nullopt;
  std::string value;
  if (!key.ReadValueText(aValueName, value)) return std::nullopt;
  return value;
}

std::vector<std::string> TSystemVersionSource::ReadRegistrySubKeys(TRegistryRoot aRoot,
                                                                   const std::string& aKeyPath) const {
  TRegistryKey key;
  std::vector<std::string> names;
  if (!TRegistryKey::Open(aRoot, aKeyPath, TRegistryAccess::Read, key)) return names;
  if (!key.SubKeyNames(names)) names.clear();
  return names;
}

TVersionResource TSystemVersionSource::ReadVersionResource(const std::string& aPath) const {
  TVersionResource resource;
  if (!FileExists(aPath)) return resource;
  const TVersionInfo info(aPath);
  resource.found = info.IsVersionInfoFound();
  resource.FileVersion = info.FileVersion();
  resource.FixedFileVersion = info.FixedFileVersion();
  resource.FixedFileBuild = info.FixedFileBuild();
  return resource;
}

}  // namespace vek
