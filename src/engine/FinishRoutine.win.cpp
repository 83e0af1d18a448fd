// The finish routine against the file system and the current user's RunOnce key.
#include "engine/FinishRoutine.h"

#include <string>
#include <vector>

#include "language/LanguageText.h"
#include "system/Files.h"
#include "system/Folders.h"
#include "system/PathText.h"
#include "system/Registry.h"

namespace vek {
namespace {

constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorPathNotFound = 3;

void Write(const TFinishLog& aLog, const std::string& aLine) {
  if (aLog) aLog(aLine);
}

void WriteResult(const TFinishLog& aLog, const std::string& aAction, const SysResult& aResult) {
  Write(aLog, aResult ? aAction + ": done"
                      : aAction + ": failed, error " + std::to_string(aResult.error) + " (" +
                            SystemErrorMessage(aResult.error) + ")");
}

std::string RunOnceValuePath(const std::string& aName) {
  return std::string("HKEY_CURRENT_USER\\") + kRunOnceKey + "\\" + aName;
}

// A file that is already gone needs no deletion and no log line: the script may be deleted by
// both flags, and the language library normally does not exist at all.
void DeleteLeftover(const std::string& aPath, const TFinishLog& aLog) {
  if (aPath.empty()) return;
  // A script copied from a CD keeps its read-only attribute.
  const SysResult deleted = DeleteFileEvenReadOnly(aPath);
  if (deleted.error == kErrorFileNotFound || deleted.error == kErrorPathNotFound) return;
  WriteResult(aLog, "Delete \"" + aPath + "\"", deleted);
}

// The values of aNames that exist in aKey, with their text (empty when a value holds none).
std::vector<TRunOnceValue> ExistingValues(const TRegistryKey& aKey, const std::vector<std::string>& aNames) {
  std::vector<TRunOnceValue> values;
  for (const std::string& name : aNames) {
    if (!aKey.ValueExists(name)) continue;
    TRunOnceValue value{name, {}};
    (void)aKey.ReadString(name, value.data);
    values.push_back(std::move(value));
  }
  return values;
}

void DeleteRegistrationsOf(const TRegistryKey& aKey, const std::vector<std::string>& aNames,
                           const std::string& aFile, const TFinishLog& aLog) {
  for (const TRunOnceValue& value : ExistingValues(aKey, aNames)) {
    if (!RefersToFile(value.data, aFile)) continue;
    WriteResult(aLog, "Delete value \"" + RunOnceValuePath(value.name) + "\"", aKey.DeleteValue(value.name));
  }
}

// The program file cannot delete itself while it runs: a command run at the next logon does.
void RegisterSelfRemoval(const TRunContext& aContext, const TFinishPlace& aPlace, const TFinishLog& aLog) {
  TRegistryKey key;
  if (const SysResult opened = TRegistryKey::Create(TRegistryRoot::CurrentUser, kRunOnceKey, key); !opened) {
    WriteResult(aLog, "Open \"HKEY_CURRENT_USER\\" + std::string(kRunOnceKey) + "\"", opened);
    return;
  }
  const std::string command = FinishCommandLine(aPlace.cmdExe, aPlace.programPath,
                                                LanguageLibraryName(aPlace.languageCode), aContext.SourceDir);
  // A new installation of the setup program must survive the removal that an earlier
  // uninstall registered for it.
  if (aContext.RunMode == rmInstall) {
    DeleteRegistrationsOf(key, FinishValueNames(), InstalledSetupPath(aContext), aLog);
  }
  const std::string name = ChooseFinishValueName(ExistingValues(key, FinishValueNames()), command);
  WriteResult(aLog, "Write \"" + RunOnceValuePath(name) + "\" = \"" + command + "\"",
              key.WriteString(name, command));
}

}  // namespace

void RunFinishRoutineAt(const TRunContext& aContext, const TFinishPlace& aPlace, const TFinishLog& aLog) {
  if (aContext.RemoveScriptOnExit) DeleteLeftover(aContext.ScriptFileName, aLog);
  if (!aContext.RemoveSelfOnExit) return;
  DeleteLeftover(aContext.ScriptFileName, aLog);
  // Without a script path there is no folder to look in: an empty folder would mean the
  // current one.
  if (!aContext.ScriptFileName.empty()) {
    DeleteLeftover(
        JoinPath(ExtractFilePath(aContext.ScriptFileName), LanguageLibraryName(aPlace.languageCode)), aLog);
  }
  RegisterSelfRemoval(aContext, aPlace, aLog);
}

void RunFinishRoutine(const TRunContext& aContext, const TFinishLog& aLog) {
  RunFinishRoutineAt(aContext, {GetProgramPath(), JoinPath(GetSystemDir(), "cmd.exe"), CurrentLanguageCode()},
                     aLog);
}

void CancelPendingDeletion(const std::string& aFile) { CancelPendingDeletion(aFile, TFinishLog()); }

void CancelPendingDeletion(const std::string& aFile, const TFinishLog& aLog) {
  TRegistryKey key;
  // No RunOnce key: nothing is registered.
  if (!TRegistryKey::Open(TRegistryRoot::CurrentUser, kRunOnceKey, TRegistryAccess::ReadWrite, key)) return;
  std::vector<std::string> names = FinishValueNames();
  names.emplace_back(kOldFinishValueName);
  DeleteRegistrationsOf(key, names, aFile, aLog);
}

}  // namespace vek
