#pragma once
// The values of a full entry in the list of installed programs beyond the three the script's
// record names: what deployment and inventory tools read (version, quiet uninstall, location,
// date, size, icon, and that the entry offers neither change nor repair). A value the script's
// [UnInstall] section gives itself is written as the script gives it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vek {

struct TUninstallValue {
  std::string name;
  bool isNumber = false;  // a DWORD value; otherwise a string
  std::string text;
  std::uint32_t number = 0;
};

// What the run knows about the installation.
struct TUninstallFacts {
  std::string version;          // the script's version; empty: no DisplayVersion
  std::string uninstallString;  // expanded; empty: no QuietUninstallString
  std::string installLocation;
  std::string installDate;  // yyyymmdd
  std::uint64_t recordedBytes = 0;
  std::string setupProgram;  // the installed setup program; empty when none was installed
};

// The names this module writes, in the order written.
const std::vector<std::string>& UninstallEntryValueNames();

// The values to write. aScriptValue gives the script's own text for a name (translated and
// expanded), or nothing when the script does not set it.
using TScriptValue = std::function<std::optional<std::string>(const std::string& aName)>;
std::vector<TUninstallValue> UninstallEntryValues(const TUninstallFacts& aFacts,
                                                  const TScriptValue& aScriptValue);

}  // namespace vek
