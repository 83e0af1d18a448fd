#include "script/LoaderRules.h"

#include "base/CaseMap.h"

namespace vek {

std::uint8_t ParseRightsRequirement(std::string_view aValue, unsigned aWinMajor) {
  const std::string value = UpperCase(aValue);
  std::uint8_t flags = 0;
  if (value.find("POWERUSER") != std::string::npos) flags |= aWinMajor >= 6 ? rfAdministrator : rfPowerUser;
  if (value.find("ADMINISTRATOR") != std::string::npos) flags |= rfAdministrator;
  return flags;
}

std::string Unquoted(std::string_view aValue) {
  if (aValue.size() >= 2 && aValue.front() == '"' && aValue.back() == '"') aValue = aValue.substr(1, aValue.size() - 2);
  return std::string(aValue);
}

std::string InstallPrefix(int aInstallMode) { return aInstallMode == 2 ? "U" : "I"; }

std::string ReadLanguageCode(const TScriptFile& aScript, bool aUseLocale, unsigned aLocale) {
  const std::string code = aScript.ReadText("Language", "LangCode", "uk");
  if (!aUseLocale) return code;
  std::string key = std::to_string(aLocale);
  if (key.size() < 4) key.insert(0, 4 - key.size(), '0');
  return aScript.ReadText("Language", key, code);
}

TVersionCheckLine SplitVersionCheckLine(std::string_view aLine) {
  TVersionCheckLine line;
  const std::size_t first = aLine.find(',');
  if (first == std::string_view::npos) {
    line.section = std::string(aLine);
    return line;
  }
  line.file = std::string(aLine.substr(0, first));
  const std::string_view rest = aLine.substr(first + 1);
  const std::size_t second = rest.find(',');
  line.section = std::string(rest.substr(0, second));
  if (second != std::string_view::npos) line.test = std::string(rest.substr(second + 1));
  return line;
}

}  // namespace vek
