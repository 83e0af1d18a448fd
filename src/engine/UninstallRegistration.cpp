// The product's entry in the system's list of installed programs: written by an install run
// from the script's record, removed by a cleanup run from the copy kept in the cleanup record.
#include <functional>

#include "base/Format.h"
#include "engine/FinishRoutine.h"
#include "engine/SetupEngine.h"
#include "engine/UninstallEntry.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/Registry.h"
#include "system/SysResult.h"

namespace vek {
namespace {

constexpr const char* kUninstallKeyRoot = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// An uninstall registration key is one name below the uninstall key; anything else would
// reach other programs' entries or the uninstall key itself.
bool IsUsableRegistrationKey(const std::string& aKey) {
  return !aKey.empty() && aKey.find_first_of("\\/") == std::string::npos && aKey != "." && aKey != "..";
}

// A section of the cleanup record that names a folder: a drive path or a share.
bool IsFolderSection(const std::string& aName) {
  return (aName.size() > 2 && aName[1] == ':') || aName.starts_with("\\\\");
}

// The bytes of the files the cleanup record names (wildcard entries left out: their files are
// the program's own work files, not the installation).
std::uint64_t RecordedBytes(const TCleanupScript& aRecord,
                            const std::function<std::string(const std::string&)>& aExpand) {
  std::uint64_t total = 0;
  for (const std::string& section : aRecord.SectionNames()) {
    const std::string folder = aExpand(section);
    if (!IsFolderSection(folder)) continue;
    for (const std::string& name : aRecord.SectionKeys(section)) {
      if (name.find_first_of("*?") != std::string::npos) continue;
      total += FileSizeOf(JoinPath(folder, name)).value_or(0);
    }
  }
  return total;
}

}  // namespace

// The values of a full entry beyond the record's three; a failed write is logged and the others
// are still written.
void TSetupEngine::WriteUninstallEntryValues(const TRegistryKey& aKey, const std::string& aPath) {
  const TRunTime& start = fRunRecord.start;
  const std::string setupProgram = JoinPath(fContext.SystemInstallDir, "SETUP.EXE");
  TUninstallFacts facts;
  // Without a "Version" the system section's placeholder version is no version to show.
  if (fScript.Store().ValueExists("System Info", "Version")) facts.version = fSystemInfo.SystemVer;
  facts.uninstallString = ExpandText(fSystemInfo.UninstallInfo.UninstallString);
  facts.installLocation = ExcludeTrailingPathDelimiter(ExtractFilePath(InstalledSetupPath(fContext)));
  facts.installDate = FormatText("%04d%02d%02d", {start.year, start.month, start.day});
  if (CleanUpScript)
    facts.recordedBytes =
        RecordedBytes(*CleanUpScript, [this](const std::string& aText) { return ExpandText(aText); });
  if (FileExists(setupProgram)) facts.setupProgram = setupProgram;
  const auto scriptValue = [this](const std::string& aName) -> std::optional<std::string> {
    if (!fScript.Store().ValueExists("UnInstall", aName)) return std::nullopt;
    return ExpandText(TranslateText(fScript.ReadText("UnInstall", aName, ""), false));
  };
  for (const TUninstallValue& value : UninstallEntryValues(facts, scriptValue)) {
    const SysResult written = value.isNumber ? aKey.WriteInteger(value.name, value.number)
                                             : aKey.WriteString(value.name, value.text);
    if (!written) Log(FailureLine("Write", "HKEY_LOCAL_MACHINE\\" + aPath + "\\" + value.name, written));
  }
}

// The system's own record in the list of installed programs, and a copy of it in the cleanup
// record so that a cleanup can remove the registration again.
void TSetupEngine::WriteUninstallRegistration() {
  if (!IsUsableRegistrationKey(fSystemInfo.UninstallInfo.Key)) {
    Log("Not an uninstall key name, nothing registered: " + fSystemInfo.UninstallInfo.Key);
    return;
  }
  // The record names the entry before it exists: a run killed between the two leaves an entry
  // that its cleanup still removes, never one that nothing would remove.
  if (fSystemInfo.SaveCleanUpProgInfo && CleanUpScript && !fContext.CleanUpInfoFailed) {
    fSystemInfo.UninstallInfo.SaveToIniFile(*CleanUpScript, "Uninstall", kUnnumberedRecord);
    WriteCleanUpScript();
  }
  const std::string path = kUninstallKeyRoot + fSystemInfo.UninstallInfo.Key;
  TRegistryKey key;
  if (const SysResult opened = TRegistryKey::Create(TRegistryRoot::LocalMachine, path, key); !opened) {
    Log(FailureLine("Create key", "HKEY_LOCAL_MACHINE\\" + path, opened));
    return;
  }
  const std::pair<const char*, std::string> values[] = {
      {"DisplayName", TranslateText(fSystemInfo.UninstallInfo.DisplayName, true)},
      {"Publisher", TranslateText(fSystemInfo.UninstallInfo.Publisher, true)},
      {"Uninstallstring", ExpandText(fSystemInfo.UninstallInfo.UninstallString)},
  };
  for (const auto& [name, value] : values) {
    if (const SysResult written = key.WriteString(name, value); !written) {
      Log(FailureLine("Write", "HKEY_LOCAL_MACHINE\\" + path + "\\" + name, written));
    }
  }
  WriteUninstallEntryValues(key, path);
  Log("Registered HKEY_LOCAL_MACHINE\\" + path);
}

void TSetupEngine::CleanUpRegistration() {
  const std::string key = CleanUpIni->ReadString("Uninstall", "Key", "");
  if (key.empty()) return;
  if (!IsUsableRegistrationKey(key)) {
    Log("   Not an uninstall key name, left alone: " + key);
    return;
  }
  const std::string path = kUninstallKeyRoot + key;
  if (const SysResult deleted = DeleteRegistryKeyTree(TRegistryRoot::LocalMachine, path); deleted) {
    Log("   Removed registration HKEY_LOCAL_MACHINE\\" + path);
  } else {
    Log("   " + FailureLine("Remove registration", "HKEY_LOCAL_MACHINE\\" + path, deleted));
  }
}

}  // namespace vek
