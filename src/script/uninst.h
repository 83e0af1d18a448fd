#pragma once
// An uninstall registration record: one entry of the system's list of installed programs.
// A record without Key does not exist.
#include <string>

namespace vek {

struct TUnInstallInfo {
  std::string Key;  // name of the key below the system's uninstall key
  std::string DisplayName;
  std::string UninstallString;
  std::string Publisher;
};

}  // namespace vek
