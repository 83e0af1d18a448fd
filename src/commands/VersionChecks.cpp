#include "commands/VersionChecks.h"

#include "script/LoaderRules.h"
#include "script/NetMarkers.h"

namespace vek {

std::vector<TFileVersionCheck> LoadVersionChecks(const TValueSource& aSource, std::string_view aLangCode,
                                                 const std::string& aScriptFile, bool aNetInstall,
                                                 const std::function<std::string(std::string_view)>& aExpand) {
  const auto read = [&](const std::string& aKey) {
    return ReadFileText(aSource, aLangCode, aScriptFile, "UVersionCheck", aKey, "");
  };
  std::vector<TFileVersionCheck> checks;
  for (int number = 0; number <= 10; ++number) {
    const std::string suffix = number == 0 ? std::string() : std::to_string(number);
    const std::string value = ApplyNetMarkers(read("File" + suffix), aNetInstall);
    if (value.empty()) continue;
    const TVersionCheckLine line = SplitVersionCheckLine(value);
    checks.push_back(TFileVersionCheck{aExpand(line.file), aExpand(line.section), aExpand(line.test),
                                       aExpand(read("Error" + suffix))});
  }
  return checks;
}

}  // namespace vek
