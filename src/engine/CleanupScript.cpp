#include "engine/CleanupScript.h"

#include <algorithm>
#include <set>

#include "base/CaseMap.h"
#include "base/Utf.h"
#include "script/IniStore.h"
#include "script/ScriptEncoding.h"

namespace vek {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Names that compare equal without regard to case have equal upper-case forms, hence one hash.
std::size_t NameHash(std::string_view aName) { return std::hash<std::string>{}(UpperCase(aName)); }

}  // namespace

std::size_t TCleanupScript::SectionAt(std::string_view aSection) const {
  const auto [first, last] = fSectionIndex.equal_range(NameHash(aSection));
  for (auto it = first; it != last; ++it) {
    if (SameText(fSections[it->second].Name(), aSection)) return it->second;
  }
  return kNone;
}

TRecordSection& TCleanupScript::FindOrAdd(std::string_view aSection) {
  if (const std::size_t at = SectionAt(aSection); at != kNone) return fSections[at];
  fSectionIndex.emplace(NameHash(aSection), fSections.size());
  return fSections.emplace_back(std::string(aSection));
}

const TRecordSection* TCleanupScript::Find(std::string_view aSection) const {
  const std::size_t at = SectionAt(aSection);
  return at == kNone ? nullptr : &fSections[at];
}

void TCleanupScript::SetString(std::string_view aSection, std::string_view aKey, std::string_view aValue) {
  FindOrAdd(aSection).Set(aKey, aValue);
}

std::optional<std::string_view> TCleanupScript::FindValue(std::string_view aSection, std::string_view aKey) const {
  const TRecordSection* section = Find(aSection);
  const std::optional<std::size_t> at = section ? section->Find(aKey) : std::nullopt;
  if (!at) return std::nullopt;
  return section->Value(*at);
}

std::vector<std::string> TCleanupScript::SectionNames() const {
  std::vector<std::string> names;
  for (const TRecordSection& section : fSections) names.push_back(section.Name());
  return names;
}

std::vector<std::string> TCleanupScript::SectionKeys(std::string_view aSection) const {
  std::vector<std::string> keys;
  if (const TRecordSection* section = Find(aSection)) {
    for (std::size_t at = 0; at < section->Size(); ++at) keys.emplace_back(section->Key(at));
  }
  return keys;
}

std::string TCleanupScript::ReadString(const std::string& aSection, const std::string& aKey,
                                       const std::string& aDefault) const {
  const std::optional<std::string_view> value = FindValue(aSection, aKey);
  return value ? std::string(*value) : aDefault;
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
  // Read line by line into the record: a store of the whole file beside the record would hold
  // every name twice more.
  ForEachIniValue(aText, [this](std::string_view aSection, std::string_view aKey, std::string_view aValue) {
    if (!aSection.empty() && !aKey.empty()) SetString(aSection, aKey, aValue);
  });
}

bool TCleanupScript::SerializeTo(const TPieceWriter& aWrite) const {
  // Line by line into pieces of the file's bytes: the text of a large record and its UTF-16
  // form whole beside the record would hold it three times over.
  constexpr std::size_t kPiece = 64 * 1024;
  std::string bytes = "\xFF\xFE";
  bytes.reserve(kPiece + 1024);
  std::string line;
  const auto appendLine = [&] {
    line += "\r\n";
    for (const char16_t c : Utf8ToUtf16(line)) {
      bytes += static_cast<char>(c & 0xFF);
      bytes += static_cast<char>(c >> 8);
    }
    line.clear();
    if (bytes.size() < kPiece) return true;
    const bool written = aWrite(bytes);
    bytes.clear();
    return written;
  };
  for (const TRecordSection& section : fSections) {
    line.append("[").append(section.Name()).append("]");
    if (!appendLine()) return false;
    for (std::size_t at = 0; at < section.Size(); ++at) {
      line.append(section.Key(at)).append("=").append(section.Value(at));
      if (!appendLine()) return false;
    }
    if (!appendLine()) return false;
  }
  return bytes.empty() || aWrite(bytes);
}

std::string TCleanupScript::Serialize() const {
  std::string bytes;
  SerializeTo([&bytes](std::string_view aPiece) {
    bytes += aPiece;
    return true;
  });
  return bytes;
}

namespace {

std::optional<TCleanupScript> ParseCleanupText(const std::string& aFileName, std::string aText) {
  if (aText.find('\0') != std::string::npos) return std::nullopt;
  if (!aText.empty() && aText.back() != '\n' && aText.back() != '\r') {
    const std::size_t lineStart = aText.find_last_of("\r\n");
    aText.erase(lineStart == std::string::npos ? 0 : lineStart + 1);
  }
  TCleanupScript record(aFileName);
  record.MergeText(aText);
  if (record.SectionKeys("LuM CleanUp").empty() || record.SectionKeys("LuM CleanUp Directories").empty()) {
    return std::nullopt;
  }
  return record;
}

}  // namespace

std::optional<TCleanupScript> ParseCleanupRecord(const std::string& aFileName, std::string_view aFileBytes) {
  return ParseCleanupText(aFileName, DecodeScriptBytes(aFileBytes, nullptr));
}

std::optional<TCleanupScript> ParseCleanupRecord(const std::string& aFileName, std::string&& aFileBytes) {
  std::string text = DecodeScriptBytes(aFileBytes, nullptr);
  std::string().swap(aFileBytes);  // the text replaces them: a large record is not held twice
  return ParseCleanupText(aFileName, std::move(text));
}

TSectionLinesFilter RecordFileListsLeftOut(std::string_view aText) {
  std::set<std::string, TextLess> fileLists;
  ForEachIniValue(aText, [&fileLists](std::string_view aSection, std::string_view aName, std::string_view) {
    if (SameText(aSection, "LuM CleanUp Directories") || SameText(aSection, "LuM CleanUp Groups")) {
      fileLists.emplace(aName);
    }
  });
  return [fileLists = std::move(fileLists)](std::string_view aSection) { return !fileLists.contains(aSection); };
}

}  // namespace vek
