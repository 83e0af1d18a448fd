#include "script/IniStore.h"

#include "script/ScriptNumber.h"
#include "script/ScriptText.h"

namespace vek {
namespace {

bool IsLineEnd(char aChar) { return aChar == '\n' || aChar == '\r' || aChar == '\0'; }

// Calls aLine for each trimmed, non-empty line of the text.
template <typename LineFn>
void ForEachLine(std::string_view aText, LineFn aLine) {
  std::size_t start = 0;
  while (start < aText.size()) {
    std::size_t end = start;
    while (end < aText.size() && !IsLineEnd(aText[end])) ++end;
    const std::string_view line = TrimBlanks(aText.substr(start, end - start));
    if (!line.empty()) aLine(line);
    start = end + 1;
  }
}

// True for a section header line, whose name it puts into aName.
bool SectionHeaderName(std::string_view aLine, std::string_view& aName) {
  if (aLine.front() != '[') return false;
  const std::size_t close = aLine.rfind(']');
  if (close == std::string_view::npos) return false;
  aName = TrimBlanks(aLine.substr(1, close - 1));
  return true;
}

// Splits "name=value" into its trimmed parts; false for a line without "=".
bool SplitKeyLine(std::string_view aLine, std::string_view& aName, std::string_view& aValue) {
  const std::size_t equals = aLine.find('=');
  if (equals == std::string_view::npos) return false;
  aName = TrimBlanks(aLine.substr(0, equals));
  aValue = TrimBlanks(aLine.substr(equals + 1));
  return true;
}

TIniLine ParseLine(std::string_view aLine) {
  TIniLine line;
  std::string_view name;
  std::string_view value;
  if (!SplitKeyLine(aLine, name, value)) {
    line.Name = std::string(aLine);
    return line;
  }
  line.Name = std::string(name);
  line.Value = std::string(value);
  line.HasValue = true;
  return line;
}

}  // namespace

void ForEachIniValue(std::string_view aText, const TIniValueVisitor& aVisit) {
  std::string_view section;
  ForEachLine(aText, [&](std::string_view aLine) {
    if (aLine.front() == ';' || SectionHeaderName(aLine, section)) return;
    std::string_view name;
    std::string_view value;
    if (SplitKeyLine(aLine, name, value)) aVisit(section, name, value);
  });
}

const TIniLine* TIniSection::FindKey(std::string_view aKey) const {
  const std::optional<std::size_t> at = fKeys.Find(aKey, LineName());
  return at ? &fLines[*at] : nullptr;
}

void TIniSection::AddLine(TIniLine aLine) {
  const bool firstOfItsName = aLine.HasValue && !FindKey(aLine.Name);
  fLines.push_back(std::move(aLine));
  if (firstOfItsName) fKeys.Add(fLines.size() - 1, LineName());
}

TIniStore TIniStore::FromText(std::string_view aText, const TSectionLinesFilter& aKeepLines) {
  TIniStore store;
  bool keepLines = true;
  const auto startSection = [&](std::string_view aName) {
    store.fIndex.emplace(std::string(aName), store.fSections.size());  // keeps the first
    store.fSections.emplace_back(std::string(aName));
    keepLines = !aKeepLines || aKeepLines(aName);
  };
  ForEachLine(aText, [&](std::string_view aLine) {
    if (aLine.front() == ';') return;
    std::string_view name;
    if (SectionHeaderName(aLine, name)) {
      startSection(name);
      return;
    }
    if (store.fSections.empty()) startSection({});
    if (keepLines) store.fSections.back().AddLine(ParseLine(aLine));
  });
  return store;
}

const TIniSection* TIniStore::FindSection(std::string_view aSection) const {
  const auto it = fIndex.find(aSection);
  return it == fIndex.end() ? nullptr : &fSections[it->second];
}

bool TIniStore::ValueExists(std::string_view aSection, std::string_view aKey) const {
  const TIniSection* section = FindSection(aSection);
  return section != nullptr && section->FindKey(aKey) != nullptr;
}

std::string TIniStore::ReadString(std::string_view aSection, std::string_view aKey,
                                  std::string_view aDefault) const {
  const TIniSection* section = FindSection(aSection);
  const TIniLine* line = section ? section->FindKey(aKey) : nullptr;
  return std::string(line ? std::string_view(line->Value) : aDefault);
}

int TIniStore::ReadInteger(std::string_view aSection, std::string_view aKey, int aDefault) const {
  const TIniSection* section = FindSection(aSection);
  const TIniLine* line = section ? section->FindKey(aKey) : nullptr;
  if (!line) return aDefault;
  return ParseScriptInteger(line->Value).value_or(aDefault);
}

bool TIniStore::ReadBool(std::string_view aSection, std::string_view aKey, bool aDefault) const {
  return ReadInteger(aSection, aKey, aDefault ? 1 : 0) != 0;
}

std::vector<std::string> TIniStore::SectionLines(std::string_view aSection) const {
  std::vector<std::string> lines;
  if (const TIniSection* section = FindSection(aSection)) {
    lines.reserve(section->Lines().size());
    for (const TIniLine& line : section->Lines()) lines.push_back(line.Text());
  }
  return lines;
}

std::vector<std::string> TIniStore::SectionNames() const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < fSections.size(); ++i) {
    const std::string& name = fSections[i].Name();
    if (!name.empty() && fIndex.find(name)->second == i) names.push_back(name);
  }
  return names;
}

}  // namespace vek
