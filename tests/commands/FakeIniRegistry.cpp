#include "commands/FakeIniRegistry.h"

#include "base/CaseMap.h"

namespace vek::test {
namespace {

constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kFileExists = 80;
constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::uint32_t kInvalidDataType = 1804;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
// The longest name of one registry key.
constexpr std::size_t kMaxKeyName = 255;

std::string Trimmed(std::string_view aText) {
  const std::size_t first = aText.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = aText.find_last_not_of(" \t");
  return std::string(aText.substr(first, last - first + 1));
}

std::vector<std::string> KeyNames(const std::string& aKeyPath) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= aKeyPath.size()) {
    std::size_t end = aKeyPath.find('\\', start);
    if (end == std::string::npos) end = aKeyPath.size();
    if (end > start) names.push_back(aKeyPath.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

ProfileEntries::iterator FindEntry(ProfileEntries& aEntries, const std::string& aKey) {
  for (auto it = aEntries.begin(); it != aEntries.end(); ++it) {
    if (SameText(it->first, aKey)) return it;
  }
  return aEntries.end();
}

}  // namespace

void TFakeIniRegistry::AddFolder(const std::string& aPath) { fFolders.insert(UpperCase(aPath)); }

const TFakeIniRegistry::TFile* TFakeIniRegistry::File(const std::string& aPath) const {
  const auto it = fFiles.find(UpperCase(aPath));
  return it == fFiles.end() ? nullptr : &it->second;
}

TFakeIniRegistry::TFile* TFakeIniRegistry::FindFile(const std::string& aPath) {
  const auto it = fFiles.find(UpperCase(aPath));
  return it == fFiles.end() ? nullptr : &it->second;
}

TFakeIniRegistry::TSection* TFakeIniRegistry::FindSection(TFile& aFile, const std::string& aName) {
  for (TSection& section : aFile.sections) {
    if (SameText(section.name, Trimmed(aName))) return &section;
  }
  return nullptr;
}

TPathKind TFakeIniRegistry::PathKind(const std::string& aPath) const {
  if (fFolders.count(UpperCase(aPath))) return TPathKind::Folder;
  return File(aPath) ? TPathKind::File : TPathKind::Missing;
}

SysResult TFakeIniRegistry::CreateUnicodeFile(const std::string& aFile) {
  if (PathKind(aFile) != TPathKind::Missing) return SysResult{kFileExists};
  fFiles[UpperCase(aFile)].unicode = true;
  return SysResult::Ok();
}

std::string TFakeIniRegistry::ReadString(const std::string& aFile, const std::string& aSection,
                                         const std::string& aKey, const std::string& aDefault) const {
  const TFile* file = File(aFile);
  if (!file) return aDefault;
  for (const TSection& section : file->sections) {
    if (!SameText(section.name, Trimmed(aSection))) continue;
    for (const auto& [name, value] : section.entries) {
      if (!SameText(name, Trimmed(aKey))) continue;
      // The profile functions give a value without one pair of enclosing double quotes.
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
      return value;
    }
  }
  return aDefault;
}

SysResult TFakeIniRegistry::WriteString(const std::string& aFile, const std::string& aSection,
                                        const std::string& aKey, const std::string& aValue) {
  if (fFolders.count(UpperCase(aFile))) return SysResult{kAccessDenied};
  TFile& file = fFiles[UpperCase(aFile)];
  TSection* section = FindSection(file, aSection);
  if (!section) {
    file.sections.push_back({Trimmed(aSection), {}});
    section = &file.sections.back();
  }
  const auto entry = FindEntry(section->entries, Trimmed(aKey));
  if (entry != section->entries.end()) {
    entry->second = Trimmed(aValue);
  } else {
    section->entries.emplace_back(Trimmed(aKey), Trimmed(aValue));
  }
  return SysResult::Ok();
}

SysResult TFakeIniRegistry::DeleteKey(const std::string& aFile, const std::string& aSection,
                                      const std::string& aKey) {
  TFile* file = FindFile(aFile);
  if (!file) return SysResult::Ok();
  if (TSection* section = FindSection(*file, aSection)) {
    const auto entry = FindEntry(section->entries, Trimmed(aKey));
    if (entry != section->entries.end()) section->entries.erase(entry);
  }
  return SysResult::Ok();
}

SysResult TFakeIniRegistry::EraseSection(const std::string& aFile, const std::string& aSection) {
  TFile* file = FindFile(aFile);
  if (!file) return SysResult::Ok();
  std::erase_if(file->sections, [&](const TSection& aOne) { return SameText(aOne.name, Trimmed(aSection)); });
  return SysResult::Ok();
}

ProfileEntries TFakeIniRegistry::ReadSection(const std::string& aFile, const std::string& aSection) const {
  const TFile* file = File(aFile);
  if (!file) return {};
  for (const TSection& section : file->sections) {
    if (SameText(section.name, Trimmed(aSection))) return section.entries;
  }
  return {};
}

TFakeIniRegistry::TKey* TFakeIniRegistry::FindKey(TRegistryRoot aRoot, const std::string& aKeyPath) const {
  TKey* key = &fRoots[aRoot];
  for (const std::string& name : KeyNames(aKeyPath)) {
    const auto sub = key->subkeys.find(UpperCase(name));
    if (sub == key->subkeys.end()) return nullptr;
    key = &sub->second;
  }
  return key;
}

TFakeIniRegistry::TKey* TFakeIniRegistry::CreateKey(TRegistryRoot aRoot, const std::string& aKeyPath,
                                                    SysResult& aResult) {
  const std::vector<std::string> names = KeyNames(aKeyPath);
  for (const std::string& name : names) {
    if (name.size() > kMaxKeyName) {
      aResult = SysResult{kInvalidParameter};
      return nullptr;
    }
  }
  TKey* key = &fRoots[aRoot];
  for (const std::string& name : names) {
    TKey& sub = key->subkeys[UpperCase(name)];
    if (sub.name.empty()) sub.name = name;
    key = &sub;
  }
  aResult = SysResult::Ok();
  return key;
}

void TFakeIniRegistry::SetRegValue(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName,
                                   std::uint32_t aType, const std::string& aData) {
  SysResult result;
  if (TKey* key = CreateKey(aRoot, aKeyPath, result)) key->values[UpperCase(aName)] = {aName, aType, aData};
}

const TFakeIniRegistry::TValue* TFakeIniRegistry::RegValue(TRegistryRoot aRoot, const std::string& aKeyPath,
                                                           const std::string& aName) const {
  const TKey* key = FindKey(aRoot, aKeyPath);
  if (!key) return nullptr;
  const auto value = key->values.find(UpperCase(aName));
  return value == key->values.end() ? nullptr : &value->second;
}

bool TFakeIniRegistry::KeyExists(TRegistryRoot aRoot, const std::string& aKeyPath) const {
  return FindKey(aRoot, aKeyPath) != nullptr;
}

bool TFakeIniRegistry::ValueExists(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName) const {
  return RegValue(aRoot, aKeyPath, aName) != nullptr;
}

SysResult TFakeIniRegistry::WriteRegString(TRegistryRoot aRoot, const std::string& aKeyPath,
                                           const std::string& aName, const std::string& aValue) {
  SysResult result;
  TKey* key = CreateKey(aRoot, aKeyPath, result);
  if (!key) return result;
  key->values[UpperCase(aName)] = {aName, kRegSz, aValue};
  return SysResult::Ok();
}

SysResult TFakeIniRegistry::ReadRegString(TRegistryRoot aRoot, const std::string& aKeyPath,
                                          const std::string& aName, std::string& aValue) const {
  aValue.clear();
  const TValue* value = RegValue(aRoot, aKeyPath, aName);
  if (!value) return SysResult{kFileNotFound};
  if (value->type != kRegSz && value->type != kRegExpandSz) return SysResult{kInvalidDataType};
  aValue = value->data;
  return SysResult::Ok();
}

SysResult TFakeIniRegistry::DeleteRegValue(TRegistryRoot aRoot, const std::string& aKeyPath,
                                           const std::string& aName) {
  TKey* key = FindKey(aRoot, aKeyPath);
  if (!key || key->values.erase(UpperCase(aName)) == 0) return SysResult{kFileNotFound};
  return SysResult::Ok();
}

SysResult TFakeIniRegistry::DeleteRegKey(TRegistryRoot aRoot, const std::string& aKeyPath) {
  std::vector<std::string> names = KeyNames(aKeyPath);
  if (names.empty()) return SysResult{kInvalidParameter};
  const std::string last = UpperCase(names.back());
  names.pop_back();
  std::string parentPath;
  for (const std::string& name : names) parentPath += name + "\\";
  TKey* parent = FindKey(aRoot, parentPath);
  if (parent) parent->subkeys.erase(last);
  return SysResult::Ok();
}

SysResult TFakeIniRegistry::RenameRegValue(TRegistryRoot aRoot, const std::string& aKeyPath,
                                           const std::string& aOld, const std::string& aNew) {
  TKey* key = FindKey(aRoot, aKeyPath);
  if (!key) return SysResult{kFileNotFound};
  const auto old = key->values.find(UpperCase(aOld));
  if (old == key->values.end()) return SysResult{kFileNotFound};
  TValue value = old->second;
  key->values.erase(old);
  value.name = aNew;
  key->values[UpperCase(aNew)] = value;
  return SysResult::Ok();
}

std::string TFakeIniRegistry::ErrorText(const SysResult& aResult) const {
  return "error " + std::to_string(aResult.error);
}

}  // namespace vek::test
