#include "engine/CleanupScript.h"

#include <algorithm>

#include "base/CaseMap.h"
#include "base/Utf.h"
#include "script/IniStore.h"
#include "script/ScriptEncoding.h"

namespace vek {

TCleanupScript::Section& TCleanupScript::FindOrAdd(std::string_view aSection) {
  for (Section& section : fSections) {
    if (SameText(section.name, aSection)) return section;
  }
  fSections.push_back({std::string(aSection), {}});
  return fSections.back();
}

void TCleanupScript::WriteString(std::string_view aSection, std::string_view aKey, std::string_view aValue) {
  Section& section = FindOrAdd(aSection);
  for (auto& [key, value] : section.keys) {
    if (SameText(key, aKey)) {
      value = std::string(aValue);
      return;
    }
  }
  section.keys.emplace_back(std::string(aKey), std::string(aValue));
}

const std::string* TCleanupScript::ReadString(std::string_view aSection, std::string_view aKey) const {
  for (const Section& section : fSections) {
    if (!SameText(section.name, aSection)) continue;
    for (const auto& [key, value] : section.keys) {
      if (SameText(key, aKey)) return &value;
    }
  }
  return nullptr;
}

std::vector<std::string> TCleanupScript::SectionNames() const {
  std::vector<std::string> names;
  for (const Section& section : fSections) names.push_back(section.name);
  return names;
}

bool TCleanupScript::WriteKey(const std::string& aSection, const std::string& aKey) {
  if (!ReadString(aSection, aKey)) WriteString(aSection, aKey, "");
  return true;
}

void TCleanupScript::Merge(std::string_view aFileBytes) {
  const TIniStore store = TIniStore::FromText(DecodeScriptBytes(aFileBytes, nullptr));
  for (const TIniSection& section : store.Sections()) {
    if (section.Name().empty()) continue;
    for (const TIniLine& line : section.Lines()) {
      if (line.HasValue && !line.Name.empty()) WriteString(section.Name(), line.Name, line.Value);
    }
  }
}

std::string TCleanupScript::Serialize() const {
  std::string text;
  for (const Section& section : fSections) {
    text += "[" + section.name + "]\r\n";
    for (const auto& [key, value] : section.keys) text += key + "=" + value + "\r\n";
    text += "\r\n";
  }
  const std::u16string wide = Utf8ToUtf16(text);
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + wide.size() * 2);
  for (const char16_t c : wide) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

}  // namespace vek
