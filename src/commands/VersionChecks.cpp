#include "commands/VersionChecks.h"

#include <utility>

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
    TFileVersionCheck check;
    check.SetVersionTest(aExpand(line.file), aExpand(line.section), aExpand(line.test));
    check.ErrorText = aExpand(read("Error" + suffix));
    checks.push_back(std::move(check));
  }
  return checks;
}

}  // namespace vek
