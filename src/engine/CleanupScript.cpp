#include "engine/CleanupScript.h"

#include <algorithm>

#include "base/CaseMap.h"
#include "base/Utf.h"
#include "script/IniStore.h"
#include "script/ScriptEncoding.h"

namespace vek {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Names that compare equal without regard to case have equal upper-case forms, hence one hash.
std::size_t NameHash(std::string_view aName) { return std::hash<std::string>{}(UpperCase(aName)); }

// The position in aItems of the item named aName without regard to case, or kNone.
template <typename Items, typename NameOf>
std::size_t Lookup(const std::unordered_multimap<std::size_t, std::size_t>& aIndex, const Items& aItems,
                   std::string_view aName, NameOf aNameOf) {
  const auto [first, last] = aIndex.equal_range(NameHash(aName));
  for (auto it = first; it != last; ++it) {
    if (SameText(aNameOf(aItems[it->second]), aName)) return it->second;
  }
  return kNone;
}

}  // namespace

std::size_t TCleanupScript::SectionAt(std::string_view aSection) const {
  return Lookup(fSectionIndex, fSections, aSection, [](const Section& aItem) -> const std::string& { return aItem.name; });
}

TCleanupScript::Section& TCleanupScript::FindOrAdd(std::string_view aSection) {
  if (const std::size_t at = SectionAt(aSection); at != kNone) return fSections[at];
  fSectionIndex.emplace(NameHash(aSection), fSections.size());
  fSections.push_back({std::string(aSection), {}, {}});
  return fSections.back();
}

const TCleanupScript::Section* TCleanupScript::Find(std::string_view aSection) const {
  const std::size_t at = SectionAt(aSection);
  return at == kNone ? nullptr : &fSections[at];
}

std::size_t TCleanupScript::FindKey(const Section& aSection, std::string_view aKey) {
  return Lookup(aSection.keyIndex, aSection.keys, aKey,
                [](const std::pair<std::string, std::string>& aItem) -> const std::string& { return aItem.first; });
}

void TCleanupScript::SetString(std::string_view aSection, std::string_view aKey, std::string_view aValue) {
  Section& section = FindOrAdd(aSection);
  if (const std::size_t at = FindKey(section, aKey); at != kNone) {
    section.keys[at].second = std::string(aValue);
    return;
  }
  section.keyIndex.emplace(NameHash(aKey), section.keys.size());
  section.keys.emplace_back(std::string(aKey), std::string(aValue));
}

const std::string* TCleanupScript::FindValue(std::string_view aSection, std::string_view aKey) const {
  const Section* section = Find(aSection);
  if (!section) return nullptr;
  const std::size_t at = FindKey(*section, aKey);
  return at == kNone ? nullptr : &section->keys[at].second;
}

std::vector<std::string> TCleanupScript::SectionNames() const {
  std::vector<std::string> names;
  for (const Section& section : fSections) names.push_back(section.name);
  return names;
}

std::vector<std::string> TCleanupScript::SectionKeys(std::string_view aSection) const {
  std::vector<std::string> keys;
  if (const Section* section = Find(aSection)) {
    for (const auto& entry : section->keys) keys.push_back(entry.first);
  }
  return keys;
}

std::string TCleanupScript::ReadString(const std::string& aSection, const std::string& aKey,
                                       const std::string& aDefault) const {
  const std::string* value = FindValue(aSection, aKey);
  return value ? *value : aDefault;
}

bool TCleanupScript::WriteString(const std::string& aSection, const std::string& aKey, const std::string& aValue) {
  SetString(aSection, aKey, aValue);
  return true;
}

void TCleanupScript::WriteKeyIfMissing(std::string_view aSection, std::string_view aKey, std::string_view aValue) {
  if (!FindValue(aSection, aKey)) SetString(aSection, aKey, aValue);
}

bool TCleanupScript::WriteKey(const std::string& aSection, const std::string& aKey) {
  WriteKeyIfMissing(aSection, aKey, "");
  return true;
}

void TCleanupScript::Merge(std::string_view aFileBytes) { MergeText(DecodeScriptBytes(aFileBytes, nullptr)); }

void TCleanupScript::MergeText(std::string_view aText) {
  const TIniStore store = TIniStore::FromText(aText);
  for (const TIniSection& section : store.Sections()) {
    if (section.Name().empty()) continue;
    for (const TIniLine& line : section.Lines()) {
      if (line.HasValue && !line.Name.empty()) SetString(section.Name(), line.Name, line.Value);
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

std::optional<TCleanupScript> ParseCleanupRecord(const std::string& aFileName, std::string_view aFileBytes) {
  std::string text = DecodeScriptBytes(aFileBytes, nullptr);
  if (text.find('\0') != std::string::npos) return std::nullopt;
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') {
    const std::size_t lineStart = text.find_last_of("\r\n");
    text.erase(lineStart == std::string::npos ? 0 : lineStart + 1);
  }
  TCleanupScript record(aFileName);
  record.MergeText(text);
  if (record.SectionKeys("LuM CleanUp").empty() || record.SectionKeys("LuM CleanUp Directories").empty()) {
    return std::nullopt;
  }
  return record;
}

}  // namespace vek
