#include "engine/NotBuilt.h"

#include "base/CaseMap.h"

namespace vek {
namespace {

struct TNotBuilt {
  const char* sectionPrefixes;  // ";"-separated prefixes of section names, case-blind
  const char* key;              // or a key name in any section (nullptr: sections only)
  const char* what;
};

// Kept current as the parts are built: a row goes when its part works.
constexpr TNotBuilt kNotBuilt[] = {
    {"IniFiles", nullptr, "INI and registry commands of workstation runs"},
    {"IGroups;UGroups;Groups;IWorkStationGroups;UWorkStationGroups;Cleanup", nullptr, "program groups and shortcuts"},
    {"IExternal;UExternal", nullptr, "external programs"},
    {"Choice;IChoice;UChoice", nullptr, "choices"},
    {"AppTest", nullptr, "the running-application test"},
};

bool StartsWithText(const std::string& aText, const std::string& aPrefix) {
  return aText.size() >= aPrefix.size() && SameText(aText.substr(0, aPrefix.size()), aPrefix);
}

// The first section whose name starts with one of the prefixes.
std::string FirstSection(const TIniStore& aScript, const std::string& aPrefixes) {
  std::size_t start = 0;
  while (start < aPrefixes.size()) {
    std::size_t end = aPrefixes.find(';', start);
    if (end == std::string::npos) end = aPrefixes.size();
    const std::string prefix = aPrefixes.substr(start, end - start);
    for (const TIniSection& section : aScript.Sections()) {
      if (!prefix.empty() && StartsWithText(section.Name(), prefix)) return section.Name();
    }
    start = end + 1;
  }
  return std::string();
}

std::string FirstSectionWithKey(const TIniStore& aScript, const char* aKey) {
  for (const TIniSection& section : aScript.Sections()) {
    if (section.FindKey(aKey)) return section.Name();
  }
  return std::string();
}

}  // namespace

std::vector<std::string> NotBuiltLines(const TIniStore& aScript) {
  std::vector<std::string> lines;
  for (const TNotBuilt& row : kNotBuilt) {
    const std::string where = row.key ? FirstSectionWithKey(aScript, row.key) : FirstSection(aScript, row.sectionPrefixes);
    if (where.empty()) continue;
    lines.push_back(std::string("Not built yet: ") + row.what + " ([" + where + "]" +
                    (row.key ? std::string(" ") + row.key : std::string()) + ") are not carried out");
  }
  return lines;
}

}  // namespace vek
