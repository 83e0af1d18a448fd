#include "script/UnInstallInfo.h"

#include "base/CaseMap.h"

namespace vek {
namespace {

std::string KeyName(const char* aName, int aIndex) {
  return aIndex == kUnnumberedRecord ? std::string(aName) : aName + std::to_string(aIndex);
}

}  // namespace

bool TUnInstallInfo::LoadFromIniFile(const TIniAccess& aIni, const std::string& aSection, int aIndex,
                                     const TTextExpander& aExpand) {
  const std::string key = aIni.ReadString(aSection, KeyName("Key", aIndex), "");
  if (key.empty()) return false;
  Key = key;
  DisplayName = aExpand(aIni.ReadString(aSection, KeyName("DisplayString", aIndex), ""));
  Publisher = aExpand(aIni.ReadString(aSection, KeyName("Publisher", aIndex), ""));
  UninstallString = aExpand(aIni.ReadString(aSection, KeyName("UninstallString", aIndex), ""));
  return true;
}

bool TUnInstallInfo::SaveToIniFile(TIniAccess& aIni, const std::string& aSection, int aIndex) const {
  return aIni.WriteString(aSection, KeyName("Key", aIndex), Key) &&
         aIni.WriteString(aSection, KeyName("DisplayString", aIndex), DisplayName) &&
         aIni.WriteString(aSection, KeyName("Publisher", aIndex), Publisher) &&
         aIni.WriteString(aSection, KeyName("UnInstallString", aIndex), UninstallString);
}

bool TUnInstallInfo::UpdateIniFile(TIniAccess& aIni, const std::string& aSection, int aIndex) const {
  if (Key.empty()) return false;
  if (!SameText(aIni.ReadString(aSection, KeyName("Key", aIndex), ""), Key)) return false;
  return SaveToIniFile(aIni, aSection, aIndex);
}

bool TUnInstallInfo::AddToIniFile(TIniAccess& aIni, const std::string& aSection) const {
  if (Key.empty()) return false;
  if (aIni.ReadString(aSection, KeyName("Key", kUnnumberedRecord), "").empty()) {
    return SaveToIniFile(aIni, aSection, kUnnumberedRecord);
  }
  for (int n = 1; n <= kLastRecordNumber; ++n) {
    if (aIni.ReadString(aSection, KeyName("Key", n), "").empty()) return SaveToIniFile(aIni, aSection, n);
  }
  return false;
}

std::vector<TUnInstallInfo> LoadUninstallRecords(const TIniAccess& aIni, const std::string& aSection,
                                                 const TTextExpander& aExpand) {
  std::vector<TUnInstallInfo> records;
  for (int index = kUnnumberedRecord; index <= kLastRecordNumber; index = index == kUnnumberedRecord ? 1 : index + 1) {
    TUnInstallInfo record;
    if (record.LoadFromIniFile(aIni, aSection, index, aExpand)) records.push_back(std::move(record));
  }
  return records;
}

void MergeUninstallRecords(const std::vector<TUnInstallInfo>& aRecords, TIniAccess& aIni, const std::string& aSection) {
  for (const TUnInstallInfo& record : aRecords) {
    bool updated = record.UpdateIniFile(aIni, aSection, kUnnumberedRecord);
    for (int n = 1; !updated && n <= kLastRecordNumber; ++n) updated = record.UpdateIniFile(aIni, aSection, n);
    if (!updated) record.AddToIniFile(aIni, aSection);
  }
}

}  // namespace vek
