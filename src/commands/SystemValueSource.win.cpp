#include "commands/SystemValueSource.h"

#include "system/ProfileString.h"

namespace vek {

std::string TSystemValueSource::ReadIniString(const std::string& aFile, const std::string& aSection,
                                              const std::string& aKey, const std::string& aDefault) const {
  // The profile functions read the system's own win.ini for an empty file name.
  if (aFile.empty()) return aDefault;
  return ReadProfileString(aFile, aSection, aKey, aDefault);
}

std::string TSystemValueSource::ReadRegistryString(TRegistryRoot aRoot, const std::string& aKeyPath,
                                                   const std::string& aValueName) const {
  return vek::ReadRegistryString(aRoot, aKeyPath, aValueName);
}

}  // namespace vek
