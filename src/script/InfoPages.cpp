#include "script/InfoPages.h"

#include "base/Format.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/NetShow.h"

namespace vek {
namespace {

constexpr int kLastLineKey = 25;
// Told apart from an empty value: a key written with nothing after "=" still adds a line.
constexpr const char* kNotFound = "<not found>";

}  // namespace

bool TCommonInfo::LoadFromIniFile(const TScriptFile& aScript, const std::string& aSection,
                                  const std::function<std::string(std::string_view)>& aExpand) {
  info.clear();
  const std::string file = aScript.ReadText(aSection, "infofile", "");
  infofile = aExpand ? aExpand(file) : file;
  netshow = aScript.ReadInteger(aSection, "NetShow", 1);
  for (int i = 0; i <= kLastLineKey; ++i) {
    std::string line = aScript.ReadText(aSection, "info" + std::to_string(i), kNotFound);
    if (line != kNotFound) info.push_back(std::move(line));
  }
  return !infofile.empty() || !info.empty();
}

bool TCommonInfo::doShow(bool doNetInstall, bool doTSInstall) const {
  return InstallationKindMatches(netshow, doNetInstall, doTSInstall);
}

std::vector<std::string> TCommonInfo::getInfoStrings(const TInfoTextEnv& aEnv) const {
  std::vector<std::string> lines;
  if (infofile.empty() || !aEnv.readLines || !aEnv.readLines(infofile, lines)) {
    lines = info;
    if (!infofile.empty()) {
      lines.emplace_back();
      lines.push_back(FormatText(LanguageText(txt::Info_FileErr), {infofile}));
    }
  }
  for (std::string& line : lines) {
    if (aEnv.translate) line = aEnv.translate(line);
    if (aEnv.expand) line = aEnv.expand(line);
  }
  return lines;
}

std::vector<TCommonInfo> LoadInfoPages(const TScriptFile& aScript, const std::string& aSection,
                                       const std::function<std::string(std::string_view)>& aExpand) {
  std::vector<TCommonInfo> pages;
  TCommonInfo page;
  if (page.LoadFromIniFile(aScript, aSection, aExpand)) pages.push_back(page);
  for (int k = 1;; ++k) {
    TCommonInfo numbered;
    if (!numbered.LoadFromIniFile(aScript, aSection + std::to_string(k), aExpand)) break;
    pages.push_back(std::move(numbered));
  }
  return pages;
}

}  // namespace vek
