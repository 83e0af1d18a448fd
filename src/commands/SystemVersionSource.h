#pragma once
// The reads of version and existence tests through the system: files and their version
// resources, INI files with the profile-string functions, the registry.
#include "commands/VerTest.h"

namespace vek {

class TSystemVersionSource final : public TVersionSource {
 public:
  std::string ReadIniString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                            const std::string& aDefault) const override;
  std::string ReadRegistryString(TRegistryRoot aRoot, const std::string& aKeyPath,
                                 const std::string& aValueName) const override;
  bool FileExists(const std::string& aPath) const override;
  std::optional<std::string> ReadRegistryValue(TRegistryRoot aRoot, const std::string& aKeyPath,
                                               const std::string& aValueName) const override;
  std::vector<std::string> ReadRegistrySubKeys(TRegistryRoot aRoot,
                                               const std::string& aKeyPath) const override;
  TVersionResource ReadVersionResource(const std::string& aPath) const override;
};

}  // namespace vek
