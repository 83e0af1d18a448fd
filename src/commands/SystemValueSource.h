#pragma once
// Value references read through the system: INI files with the profile-string functions, the
// registry with the registry API.
#include "commands/ValueReference.h"

namespace vek {

class TSystemValueSource final : public TValueSource {
 public:
  std::string ReadIniString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                            const std::string& aDefault) const override;
  std::string ReadRegistryString(TRegistryRoot aRoot, const std::string& aKeyPath,
                                 const std::string& aValueName) const override;
};

}  // namespace vek
