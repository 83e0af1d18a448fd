// A cleanup run: the cleanup record of an installation is read and what it lists is removed.
// Uninstall programs of external programs first, then the recorded files, then the folders
// (deepest first), the program-group shortcuts and their folders, and the registration in the
// list of installed programs (UninstallRegistration.cpp).
//
// The record is input from disk. Only what it names is removed: files it lists (or matches with
// a wildcard entry outside the system's own folders), and folders once they are empty. A
// folder that still holds files nobody recorded (a user's own document) stays, with its files.
#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "archive/MaskMatch.h"
#include "base/CaseMap.h"
#include "base/Format.h"
#include "engine/FinishRoutine.h"
#include "engine/SetupEngine.h"
#include "engine/SingleRunLock.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/FileAttributes.h"
#include "system/FolderNameCache.h"
#include "system/FolderRemoval.h"
#include "system/Files.h"
#include "system/Folders.h"
#include "system/MessagePump.h"
#include "system/PathText.h"
#include "system/Process.h"
#include "system/ProgramCommand.h"
#include "system/SysResult.h"

namespace vek {
namespace {

constexpr const char* kProgramRecord = "LuM CleanUp";
constexpr const char* kFolderList = "LuM CleanUp Directories";
constexpr const char* kGroupList = "LuM CleanUp Groups";

bool HasWildcard(std::string_view aName) { return aName.find('*') != std::string_view::npos; }

}  // namespace

TKeepFolder TSetupEngine::KeepFolder() const {
  return [this](const std::string& aFolder) { return IsProtectedFolder(aFolder, fProtectedFolders); };
}

bool TSetupEngine::CleanUpStopped() {
  ProcessPendingMessages();
  return fStopCleanUp;
}

void TSetupEngine::AddCleanUpError(const std::string& aLine) {
  fCleanUpErrors = true;
  Log(aLine);
  if (std::find(fCleanUpErrorList.begin(), fCleanUpErrorList.end(), aLine) == fCleanUpErrorList.end()) {
    fCleanUpErrorList.push_back(aLine);
  }
}

bool TSetupEngine::ReadCleanUpRecord() {
  std::string bytes;
  if (!ReadWholeFile(fContext.ScriptFileName, bytes)) return false;
  std::optional<TCleanupScript> record = ParseCleanupRecord(fContext.ScriptFileName, std::move(bytes));
  if (!record) return false;
  CleanUpIni = std::make_unique<TCleanupScript>(std::move(*record));
  return true;
}

// A cleanup that removed nothing must not take away what is needed to try again: the record
// and the setup program of the installation stay. Copies in the temporary folder still go.
void TSetupEngine::KeepInstallationFiles() {
  const std::string temp = GetTempDir();
  if (!IsPathUnderFolder(fContext.ScriptFileName, temp)) {
    fContext.RemoveScriptOnExit = false;
    fContext.RemoveSelfOnExit = false;
  }
  if (!IsPathUnderFolder(GetProgramPath(), temp)) fContext.RemoveSelfOnExit = false;
}

TStepOutcome TSetupEngine::DoCleanUpStart() {
  fCleanUpErrors = false;
  fCleanUpErrorList.clear();
  if (!ReadCleanUpRecord()) {
    KeepInstallationFiles();
    const std::string name =
        fSystemInfo.SystemName.empty() ? LanguageText(txt::CleanUp_Unknown) : SystemName();
    LogAndShowMsg(LanguageText(txt::Msg_Error),
                  FormatText(LanguageText(txt::CleanUp_ReadErr), {name, fContext.ScriptFileName}), mtError);
    return TStepOutcome::IfSilent(stTerminate).Failed();
  }
  const TCleanupScript& record = *CleanUpIni;
  // Nothing is removed while an install or another cleanup works on the same installation.
  if (!LockSystemFolder(ExpandText(RecordedSystemFolder(record)))) {
    KeepInstallationFiles();
    return TStepOutcome::IfSilent(stTerminate).Failed();
  }
  fSystemInfo.SystemName = record.ReadString(kProgramRecord, "System", LanguageText(txt::CleanUp_Unknown));
  fSystemInfo.FlashStr = LanguageText(txt::CleanUp_Flash);
  fSystemInfo.OemGui = record.ReadString(kProgramRecord, "oemgui", "") == "1";
  fSystemInfo.SystemVer = record.ReadString(kProgramRecord, "Version", LanguageText(txt::CleanUp_Unknown));
  fInfoLines = {
      LanguageText(fContext.RunMode == rmWorkStationCleanUp ? txt::CleanUp_WsAsk : txt::CleanUp_Ask),
      SystemName(), FormatText(LanguageText(txt::CleanUp_Version), {fSystemInfo.SystemVer})};
  fCleanUpDirList.clear();
  for (const std::string& folder : record.SectionKeys(kFolderList)) fCleanUpDirList.push_back(ExpandText(folder));
  fUninstallExternals =
      LoadUninstallRecords(record, "UnInstallExternals", [this](std::string_view aText) { return ExpandText(aText); });
  fProtectedFolders.folders = GetSystemOwnedFolders();
  // The running program, its script and its language library stay for the finish routine.
  const std::string program = GetProgramPath();
  fCleanUpKeptFiles = {program, fContext.ScriptFileName,
                       JoinPath(ExtractFilePath(program), LanguageLibraryName(CurrentLanguageCode()))};
  return TStepOutcome::IfSilent(stCleanUpDirInfo);
}

TStepOutcome TSetupEngine::DoCleanUpExecute() {
  CleanUpUninstallPrograms();
  if (!CleanUpStopped()) CleanUpRecordedFiles();
  if (!CleanUpStopped()) CleanUpRecordedFolders();
  if (!CleanUpStopped()) CleanUpProgramGroups();
  if (!CleanUpStopped()) CleanUpRegistration();
  if (fStopCleanUp) Log("Cleanup stopped by the user");
  // A cleanup that left something behind did not do all it was asked.
  const TStepOutcome next = TStepOutcome::AtOnce(fCleanUpErrors ? stCleanUpShowErrors : stFinishCleanUp);
  return fCleanUpErrors || fStopCleanUp ? next.Failed() : next;
}

void TSetupEngine::CleanUpUninstallPrograms() {
  fInfoLines = {LanguageText(txt::ExtProg_Running), ""};
  for (const TUnInstallInfo& program : fUninstallExternals) {
    if (CleanUpStopped()) return;
    if (program.UninstallString.empty()) continue;
    fInfoLines[1] = TranslateText(program.DisplayName, true);
    NotifyStep(saUpdate, smCleanUpExt);
    Log("Uninstall " + program.Key + ": " + program.UninstallString);
    TProgramRun run{program.UninstallString};
    // Started by the full path the record names, never searched for.
    const std::optional<TProgramCommand> command = ParseProgramCommand(program.UninstallString);
    if (!command) {
      Log("   Not started: \"" + program.UninstallString + "\" does not begin with the full path of a program");
    } else if (const SysResult ran = RunProcessAndWait(*command, run.exitCode); !ran) {
      Log("   " + FailureLine("Start", program.UninstallString, ran));
    } else {
      run.started = true;
      Log("   ended with exit code " + std::to_string(run.exitCode));
    }
    fRunRecord.programs.push_back(std::move(run));
  }
}

// Hands the names a folder's section lists to aName one by one, with every wildcard entry
// replaced by the files it matches (read-only and hidden attributes cleared, as they are about
// to be deleted); false when aName stopped the walk. Unsafe names and wildcards in the system's
// own folders are left out. Each name comes once: a listed name that a wildcard before it
// matched is passed over, and so is a match that the section lists before the wildcard. The
// names are read in place, not copied: a folder's section may list tens of thousands of files.
bool TSetupEngine::ForEachCleanUpEntry(const std::string& aFolderKey, const std::string& aFolder,
                                       const std::function<bool(const std::string&)>& aName) {
  const TRecordSection* section = CleanUpIni->FindSection(aFolderKey);
  if (!section) return true;
  std::set<std::string, TextLess> matched;  // the names wildcard entries gave
  std::map<std::string, std::vector<DirEntry>, TextLess> listings;  // one listing per sub-folder
  const bool wildcardsAllowed = !IsProtectedFolder(aFolder, fProtectedFolders);
  for (std::size_t at = 0; at < section->Size(); ++at) {
    const std::string entry(section->Key(at));
    if (matched.contains(entry)) continue;
    if (!IsSafeRecordedName(entry)) {
      Log("   Not a file name of this folder, skipped: " + entry);
      continue;
    }
    if (!HasWildcard(entry)) {
      if (!aName(entry)) return false;
      continue;
    }
    if (!wildcardsAllowed) {
      Log("   Wildcard entry in a system folder, skipped: " + JoinPath(aFolder, entry));
      continue;
    }
    const std::string subFolder = ExtractFilePath(entry);
    auto [listing, inserted] = listings.try_emplace(subFolder);
    if (inserted) (void)ListDirectory(JoinPath(aFolder, subFolder), listing->second);
    const std::string mask = ExtractFileName(entry);
    for (const DirEntry& file : listing->second) {
      if (file.IsFolder() || !MatchesMask(file.name, mask)) continue;
      const std::string name = subFolder + file.name;
      const std::optional<std::size_t> listedAt = section->Find(name);
      if ((listedAt && *listedAt < at) || !matched.insert(name).second) continue;
      ClearReadOnlyAndHidden(JoinPath(aFolder, name));
      if (!aName(name)) return false;
    }
  }
  return true;
}

void TSetupEngine::DeleteCleanUpFile(const std::string& aPath) {
  if (std::any_of(fCleanUpKeptFiles.begin(), fCleanUpKeptFiles.end(),
                  [&aPath](const std::string& aKept) { return SameText(aPath, aKept); })) {
    return;
  }
  fInfoLines[1] = aPath;
  NotifyStep(saUpdate, smCleanUpFile);
  // The delete comes first and the question whether the file is there only when it fails:
  // nearly every recorded file is there, and under Wine each question costs several system
  // calls. A name that is missing, or is a folder now, is not ours to delete.
  SysResult deleted = DeleteFileAt(aPath);
  if (!deleted && !FileExists(aPath)) return;
  if (!deleted) {
    ClearReadOnlyAndHidden(aPath);
    deleted = DeleteFileAt(aPath);
  }
  if (deleted) {
    Log("   Deleted " + aPath);
  } else {
    fCleanUpFailedFiles.push_back(aPath);
    AddCleanUpError(FormatText(LanguageText(txt::CleanUp_FileErr), {aPath}));
  }
}

void TSetupEngine::CleanUpRecordedFiles() {
  CleanUpSubDirList = CleanUpIni->SectionKeys(kFolderList);
  fInfoLines = {LanguageText(txt::CleanUp_Removing), ""};
  // Backup copies are seldom there: their absence is read from one listing per folder.
  TFolderNameCache backups;
  for (const std::string& folderKey : CleanUpSubDirList) {
    const std::string folder = ExpandText(folderKey);
    const std::string root = ExcludeTrailingPathDelimiter(folder);
    if (IsProtectedFolder(root, {})) {
      // A drive root, a share or a relative path: nothing of an installation lies there alone.
      Log("   Folder not removable, its entries skipped: " + folder);
      continue;
    }
    const bool walked = ForEachCleanUpEntry(folderKey, folder, [&](const std::string& aName) {
      if (CleanUpStopped()) return false;
      const std::string path = JoinPath(folder, aName);
      DeleteCleanUpFile(path);
      const std::string backup = BackupFileName(path);
      if (!backup.empty() && backups.MayExist(backup)) DeleteCleanUpFile(backup);
      return true;
    });
    if (!walked) return;
  }
  // The relaunch names the record it was started for as the last argument; that copy goes too.
  const std::vector<std::string>& args = fContext.CommandLineArgs;
  if (args.size() > 1) {
    const std::string& last = args.back();
    const std::string name = ExtractFileName(last);
    if ((SameText(name, "CLEANUP.INI") || SameText(name, "LUMCLEAN.INI")) && FileExists(last)) {
      DeleteCleanUpFile(last);
    }
  }
}

void TSetupEngine::RemoveCleanUpFolder(const std::string& aFolder) {
  fInfoLines[1] = aFolder;
  NotifyStep(saUpdate, smCleanUpFolder);
  if (RemoveFolderAndEmptySubFolders(aFolder, KeepFolder())) {
    Log("   Removed " + aFolder);
    return;
  }
  // Folders are handled deepest first: a file that could not be deleted is reported with the
  // deepest recorded folder that holds it, not again with each parent. A folder that holds
  // only files nobody recorded belongs to its user now and stays without complaint.
  const auto reportedElsewhere = [this](const std::string& aFile) {
    return std::any_of(fCleanUpReportedFolders.begin(), fCleanUpReportedFolders.end(),
                       [&aFile](const std::string& aReported) { return IsPathUnderFolder(aFile, aReported); });
  };
  const bool holdsUnreportedFailure =
      std::any_of(fCleanUpFailedFiles.begin(), fCleanUpFailedFiles.end(), [&](const std::string& aFile) {
        return IsPathUnderFolder(aFile, aFolder) && !reportedElsewhere(aFile);
      });
  if (!holdsUnreportedFailure && HoldsFiles(aFolder)) {
    Log("   Kept " + aFolder + ": it holds files that were not installed or could not be deleted");
    return;
  }
  fCleanUpReportedFolders.push_back(aFolder);
  AddCleanUpError(FormatText(LanguageText(txt::CleanUp_FolderErr), {aFolder}));
}

void TSetupEngine::CleanUpRecordedFolders() {
  fInfoLines = {LanguageText(txt::CleanUp_Removing), ""};
  std::sort(CleanUpSubDirList.begin(), CleanUpSubDirList.end(), TextLess());
  const std::string programFolder = IncludeTrailingPathDelimiter(ExtractFilePath(GetProgramPath()));
  for (auto it = CleanUpSubDirList.rbegin(); it != CleanUpSubDirList.rend(); ++it) {
    if (CleanUpStopped()) return;
    const std::string folder = ExcludeTrailingPathDelimiter(ExpandText(*it));
    if (IsProtectedFolder(folder, fProtectedFolders)) {
      Log("   System folder kept: " + folder);
      continue;
    }
    if (SameText(IncludeTrailingPathDelimiter(folder), programFolder)) {
      // This program runs from here: the folder goes at the next logon (finish routine).
      RemoveEmptySubFolders(folder, KeepFolder());
      continue;
    }
    if (DirectoryExists(folder)) RemoveCleanUpFolder(folder);
  }
}

void TSetupEngine::CleanUpProgramGroups() {
  CleanUpSubDirList = CleanUpIni->SectionKeys(kGroupList);
  fInfoLines = {LanguageText(txt::CleanUp_Removing), LanguageText(txt::CleanUp_Shortcuts), ""};
  NotifyStep(saUpdate, smCleanUpGrp);
  for (const std::string& group : CleanUpSubDirList) {
    const std::string folder = ExpandText(group);
    if (IsProtectedFolder(ExcludeTrailingPathDelimiter(folder), {})) continue;
    for (const std::string& name : CleanUpIni->SectionKeys(group)) {
      if (CleanUpStopped()) return;
      if (!IsSafeRecordedName(name) || HasWildcard(name)) continue;
      const std::string path = JoinPath(folder, name);
      if (!FileExists(path)) continue;
      if (DeleteFileAt(path)) {
        Log("   Deleted " + path);
      } else {
        AddCleanUpError(LanguageText(txt::CleanUp_Shortcuts) + " : " + path);
      }
    }
  }
  const std::vector<std::string> kept = {IncludeTrailingPathDelimiter(GetSpecialFolder(sfCommonDesktopDirectory)),
                                         IncludeTrailingPathDelimiter(GetSpecialFolder(sfCommonPrograms)),
                                         IncludeTrailingPathDelimiter(fContext.SourceDir)};
  for (const std::string& group : CleanUpSubDirList) {
    if (CleanUpStopped()) return;
    const std::string folder = ExcludeTrailingPathDelimiter(ExpandText(group));
    fInfoLines[1] = LanguageText(txt::CleanUp_Groups);
    NotifyStep(saUpdate, smCleanUpGrp);
    const bool isKept = std::any_of(kept.begin(), kept.end(), [&](const std::string& aKept) {
      return SameText(aKept, IncludeTrailingPathDelimiter(folder));
    });
    if (isKept || IsProtectedFolder(folder, fProtectedFolders) || !DirectoryExists(folder)) continue;
    fInfoLines[2] = folder;
    NotifyStep(saUpdate, smCleanUpGrp);
    if (RemoveFolderAndEmptySubFolders(folder, KeepFolder())) Log("   Removed " + folder);
  }
}

TStepOutcome TSetupEngine::DoCleanUpShowErrors() {
  Log("Cleanup errors:");
  for (const std::string& line : fCleanUpErrorList) Log("   " + line);
  NotifyStep(saUpdate, smNone);
  return TStepOutcome::IfSilent(stFinishCleanUp);
}

}  // namespace vek
