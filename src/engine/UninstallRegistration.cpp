// The product's entry in the system's list of installed programs: written by an install run
// from the script's record, removed by a cleanup run from the copy kept in the cleanup record.
#include "engine/SetupEngine.h"
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

}  // namespace

// The system's own record in the list of installed programs, and a copy of it in the cleanup
// record so that a cleanup can remove the registration again.
void TSetupEngine::WriteUninstallRegistration() {
  if (!IsUsableRegistrationKey(fSystemInfo.UninstallInfo.Key)) {
    Log("Not an uninstall key name, nothing registered: " + fSystemInfo.UninstallInfo.Key);
    return;
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
  Log("Registered HKEY_LOCAL_MACHINE\\" + path);
  if (fSystemInfo.SaveCleanUpProgInfo && CleanUpScript && !fContext.CleanUpInfoFailed) {
    fSystemInfo.UninstallInfo.SaveToIniFile(*CleanUpScript, "Uninstall", kUnnumberedRecord);
    WriteCleanUpScript();
  }
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
