#include "script/ScriptTranslations.h"

#include "base/CaseMap.h"

namespace vek {

void LoadScriptTranslations(TTranslation& aTranslation, const TIniStore& aScript) {
  constexpr std::string_view kSuffix = "_Texts";
  aTranslation.Clear();
  for (const std::string& section : aScript.SectionNames()) {
    if (section.size() <= kSuffix.size() || !EndsWithText(section, kSuffix)) continue;
    TTranslationLines lines;
    for (const std::string& line : aScript.SectionLines(section)) {
      const std::size_t equals = line.find('=');
      if (equals == std::string::npos) {
        lines.emplace_back(line, std::string());
      } else {
        lines.emplace_back(line.substr(0, equals), line.substr(equals + 1));
      }
    }
    aTranslation.AddSection(section.substr(0, section.size() - kSuffix.size()), std::move(lines));
  }
}

bool SaveScriptTranslations(const TTranslation& aTranslation, TIniAccess& aIni) {
  for (const auto& [code, lines] : aTranslation.Translations()) {
    const std::string section = TTranslation::SectionName(code);
    for (const auto& [name, value] : lines) {
      if (!name.empty() && !aIni.WriteString(section, name, value)) return false;
    }
  }
  return true;
}

}  // namespace vek
