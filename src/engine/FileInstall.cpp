#include "engine/FileInstall.h"

#include "archive/MaskMatch.h"
#include "archive/PackExtraction.h"
#include "archive/ProgressMonitor.h"
#include "base/CaseMap.h"
#include "base/Format.h"
#include "commands/CommonFileCmd.h"
#include "commands/SystemCommonFilePlatform.h"
#include "engine/CleanupSafety.h"
#include "engine/FinishRoutine.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/Expand.h"
#include "script/FileAttrOptions.h"
#include "script/InstallOptions.h"
#include "script/ScriptList.h"
#include "script/ScriptTranslations.h"
#include "system/ChangeDir.h"
#include "system/FileAttributes.h"
#include "system/FileStream.h"
#include "system/FileVersion.h"
#include "system/Files.h"
#include "system/MessagePump.h"
#include "system/PathText.h"
#include "system/SysResult.h"

namespace vek {
namespace {

// Restores the current folder on every way out of a sub-option's installation.
class CurrentDirScope {
 public:
  CurrentDirScope() : fSaved(GetCurrentDir()) {}
  ~CurrentDirScope() { (void)SetCurrentDir(fSaved); }
  CurrentDirScope(const CurrentDirScope&) = delete;
  CurrentDirScope& operator=(const CurrentDirScope&) = delete;

 private:
  std::string fSaved;
};

std::vector<std::string> SplitAtSemicolons(const std::string& aText) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = aText.find(';', start);
    if (end == std::string::npos) {
      if (start < aText.size()) parts.push_back(aText.substr(start));
      return parts;
    }
    parts.push_back(aText.substr(start, end - start));
    start = end + 1;
  }
}

// The copy is made under the target's backup name and moved over the target once complete: a
// run killed while copying leaves the program that was there (or none) and a backup name that
// the cleanup removes with the recorded file, never a cut program that cannot run the cleanup.
SysResult CopyThroughBackupName(const std::string& aSource, const std::string& aTarget) {
  const std::string temporary = BackupFileName(aTarget);
  SysResult copied = CopyFileOverwrite(aSource, temporary);
  if (copied) copied = MoveFileReplacing(temporary, aTarget);
  if (!copied) (void)DeleteFileAt(temporary);
  return copied;
}

// "0x00000021": attribute bits as the log shows them.
std::string HexBits(std::uint32_t aBits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "0x00000000";
  for (int i = 9; i >= 2; --i, aBits >>= 4) text[static_cast<std::size_t>(i)] = kDigits[aBits & 0xF];
  return text;
}

}  // namespace

void TSetupEngine::BeginCopyCommonFile(const std::string& aSource, const std::string& aTarget) {
  fInfoLines = {aSource, aTarget};
  NotifyStep(saUpdate, smFromToFile);
}

std::vector<std::string> SubOptionMasks(const std::string& aFiles) {
  if (aFiles.empty()) return {"*.*"};
  return SplitAtSemicolons(aFiles);
}

bool TFileInstaller::Run() {
  TSetupEngine& e = fEngine;
  e.NotifyStep(saUpdate, smUpdate);
  // The record is on disk before the setup program is copied: a run killed during the copy
  // leaves a record that removes the half-copied program too.
  if (e.fSystemInfo.SaveCleanUpProgInfo) WriteProgramRecord(e);
  SaveRecordSoFar();
  CopySetupProgram();
  e.LoadSubOptionCommands(e.fInstallMode == 2 ? "UIniFiles" : "IIniFiles");
  // The program-group commands ("IGroups"/"UGroups") are loaded here once they exist.
  fMonitor.SetMax((e.fInstallSize / 100) * 10 + e.fInstallSize);
  fMonitor.SetMin(0);
  fMonitor.SetPosition(0);
  e.fIsUnPacking = true;
  if (TMainOptionList* options = e.MainOptionList) {
    for (std::size_t i = 0; i < options->Count(); ++i) {
      TMainOption* option = options->Option(i);
      if (option && option->Selected()) InstallMainOption(*option);
      if (fMonitor.AbortFlag) break;
    }
  }
  e.NotifyStep(saUpdate, smProgressMax);
  e.fIsUnPacking = false;
  LogFilesNotInstalled();
  // The workstation script is written here once workstation setups exist.
  return !fMonitor.AbortFlag;
}

void TFileInstaller::CopySetupProgram() {
  TSetupEngine& e = fEngine;
  if (!e.fSystemInfo.CopySetupExeFile) return;
  const std::string own = GetProgramPath();
  const std::string target = JoinPath(e.fContext.SystemInstallDir, "SETUP.EXE");
  // A newer setup program already in the system folder stays; unreadable versions copy.
  if (FileExists(target) && IsOlderVersion(own, target)) return;
  // An earlier uninstall may have registered this file for deletion at the next logon.
  CancelPendingDeletion(target);
  e.fInfoLines = {own, target};
  e.NotifyStep(saUpdate, smFromToFile);
  if (const SysResult copied = CopyThroughBackupName(own, target); !copied) {
    e.LogAndShowMsg(LanguageText(txt::Msg_Error),
                    FormatText(LanguageText(txt::InstFiles_CopyErr),
                               {-static_cast<long long>(copied.error), target, e.SystemName()}),
                    mtError);
  }
}

// Sets the folder's attributes to its current ones without aRemove, plus aAdd; asks to retry
// while that fails. False when the run is to be aborted.
bool TFileInstaller::SetFolderAttributes(const std::string& aPath, unsigned aAdd, unsigned aRemove) {
  for (;;) {
    std::uint32_t current = 0;
    if (GetFileAttributesAt(aPath, current) &&
        SetFileAttributesAt(aPath, ((current & ~aRemove) & ~kAttrDirectory) | aAdd)) {
      return true;
    }
    // A run without a user cannot wait for the folder to become writable: it aborts.
    const TQuestion question{LanguageText(txt::Msg_SetupError),
                             FormatText(LanguageText(txt::InstFiles_FolderAttr), {aPath}),
                             mtError,
                             {LanguageText(txt::MsgDlg_Retry), LanguageText(txt::MsgDlg_Abort)},
                             2,
                             {}};
    if (fEngine.Channel().Ask(question) != 1) return false;
  }
}

// The current folder as the file system spells it: the folder was reached through its
// upper-cased name, and every file of the sub-option is named from it. A file system that
// compares names by case (Wine's view of a Linux one) would otherwise look each one up by
// scanning its folder.
std::string TFileInstaller::UseStoredCase() {
  const std::string folder = GetLongPathNameOf(GetCurrentDir());
  (void)SetCurrentDir(folder);
  return folder;
}

// The folder is also made current, where relative names of the script's commands are meant.
std::optional<std::string> TFileInstaller::PrepareFolder(const std::string& aPath) {
  // Folders made here get the upper-case name the path is given as.
  const std::string folder = UpperCase(aPath);
  if (folder.empty()) return GetCurrentDir();
  if (ChangeDirReconnect(folder, true)) return UseStoredCase();
  (void)fEngine.CreateFolders(folder);
  // The new folders go into the record on disk before anything is written into them.
  SaveRecordSoFar();
  if (DirectoryExists(folder)) {
    if (SetCurrentDir(folder)) return UseStoredCase();
    fEngine.LogAndShowMsg(LanguageText(txt::Msg_SetupError),
                          FormatText(LanguageText(txt::InstFiles_ChDir), {folder}), mtError);
    return std::nullopt;
  }
  fEngine.LogAndShowMsg(LanguageText(txt::Msg_SetupError),
                        FormatText(LanguageText(txt::InstFiles_MkDir), {folder}), mtError);
  return std::nullopt;
}

void TFileInstaller::InstallMainOption(TMainOption& aOption) {
  if (aOption.LibraryAttr != 0 && !SetFolderAttributes(aOption.Path, 0, aOption.LibraryAttr)) {
    fMonitor.AbortFlag = true;
    return;
  }
  if (const std::optional<std::string> folder = PrepareFolder(aOption.Path)) {
    for (std::size_t j = 0; j < aOption.SubOption.Count(); ++j) {
      ProcessPendingMessages();
      TSubOption* sub = aOption.SubOptionAt(j);
      if (sub && sub->Selected()) InstallSubOption(*sub, *folder);
      if (fMonitor.AbortFlag) break;
    }
  }
  if (aOption.LibraryAttr != 0 && !SetFolderAttributes(aOption.Path, aOption.LibraryAttr, 0)) {
    fMonitor.AbortFlag = true;
  }
}

void TFileInstaller::InstallSubOption(TSubOption& aSubOption, const std::string& aOptionFolder) {
  const std::string folder =
      aSubOption.LibAlias.empty() ? JoinPath(aOptionFolder, aSubOption.LibName) : aSubOption.LibAlias;
  (void)SetFileAttr(aSubOption, true, folder);
  DeleteObsoleteFiles(aSubOption, folder);
  if (!aSubOption.LibAlias.empty() && aSubOption.UpdateInifiles == 1) aSubOption.UpdateInifiles = 0;
  // UpdateInifiles: -1 no INI commands, 0 after the files, 1 before them.
  if (aSubOption.UpdateInifiles == 1) fEngine.ExecuteIniFileCmds(aSubOption);
  InstallFiles(aSubOption, folder);
  if (aSubOption.UpdateInifiles == 0) fEngine.ExecuteIniFileCmds(aSubOption);
  (void)SetFileAttr(aSubOption, false, folder);
}

bool TFileInstaller::SetFileAttr(const TSubOption& aSubOption, bool aBeforeUnzipItems,
                                 const std::string& aFolder) {
  return aSubOption.FileAttrList.SetFileAttr(
      aBeforeUnzipItems, [&](const TFileAttrOptionItem& aItem) { return ApplyFileAttr(aItem, aFolder); });
}

bool TFileInstaller::ApplyFileAttr(const TFileAttrOptionItem& aItem, const std::string& aPath) {
  if (!aItem.Active()) return true;
  bool allDone = true;
  for (const std::string& entry : aItem.fFilelist) {
    const std::string path = JoinPath(aPath, entry);
    if (entry.find_first_of("*?") == std::string::npos) {
      if (!ChangeFileAttr(aItem, path)) allDone = false;
      continue;
    }
    // A mask stands for the files (never the folders) of its own folder whose names match it.
    const std::string folder = ExtractFileDir(path);
    const std::string mask = ExtractFileName(path);
    std::vector<DirEntry> entries;
    bool matched = false;
    if (ListDirectory(folder, entries)) {
      for (const DirEntry& found : entries) {
        if (found.IsFolder() || !MatchesMask(found.name, mask)) continue;
        matched = true;
        if (!ChangeFileAttr(aItem, JoinPath(folder, found.name))) allDone = false;
      }
    }
    if (!matched) fEngine.Log("File attributes \"" + path + "\": no file matches");
  }
  return allDone;
}

bool TFileInstaller::ChangeFileAttr(const TFileAttrOptionItem& aItem, const std::string& aFile) {
  std::uint32_t old = 0;
  // A file that is not there is not an error: before the first unpacking it often is not yet.
  if (!FileExists(aFile) || !GetFileAttributesAt(aFile, old)) {
    fEngine.Log("File attributes \"" + aFile + "\": no such file, nothing changed");
    return true;
  }
  std::optional<std::uint32_t> wanted = aItem.NewAttributes(old);
  if (!wanted) return true;
  // "Normal" stands only for a file without other attributes; the system refuses it beside them.
  constexpr std::uint32_t kAttrNormal = 0x80;
  if (*wanted & ~kAttrNormal) *wanted &= ~kAttrNormal;
  if (const SysResult written = SetFileAttributesAt(aFile, *wanted); !written) {
    fEngine.Log(FailureLine("Set attributes of", aFile, written));
    if (fShowFileAttrErrors) {
      // A run without a user goes on and logs every further failure.
      const TQuestion question{
          LanguageText(txt::Msg_SetupError),
          FormatText(LanguageText(txt::FileAttr_Err), {FileAttrNames(aItem.fFileAttr), aFile}),
          mtError,
          {LanguageText(txt::FileAttr_Continue), LanguageText(txt::MsgDlg_Ok)},
          1,
          {}};
      if (fEngine.Channel().Ask(question) == 2) fShowFileAttrErrors = false;
    }
    return false;
  }
  fEngine.Log("File attributes \"" + aFile + "\": " + HexBits(old) + " -> " + HexBits(*wanted));
  return true;
}

void TFileInstaller::DeleteObsoleteFiles(const TSubOption& aSubOption, const std::string& aFolder) {
  constexpr std::uint32_t kReadOnly = 1;
  for (const std::string& name : aSubOption.DeleteFiles) {
    const std::string path = JoinPath(aFolder, name);
    if (!FileExists(path)) continue;
    std::uint32_t attributes = 0;
    if ((aSubOption.FileAttr & kReadOnly) && GetFileAttributesAt(path, attributes) && (attributes & kReadOnly)) {
      (void)SetFileAttributesAt(path, attributes & ~kReadOnly);
    }
    if (!DeleteFileAt(path))
      fEngine.LogAndShowMsg(LanguageText(txt::Msg_SetupError),
                            FormatText(LanguageText(txt::InstFiles_DelErr), {path}), mtError);
  }
}

bool TFileInstaller::WaitForPackFile(const std::string& aPath) {
  TSetupEngine& e = fEngine;
  const auto logMissing = [&] {
    e.Log("ERROR File not found: " + aPath);
    e.Log("WARNING Files where not extracted from: " + aPath);
  };
  while (!FileExists(aPath)) {
    // A run without a user ignores the missing pack: its files are not installed.
    const TQuestion question{
        LanguageText(txt::InstFiles_0),
        FormatText(LanguageText(txt::InstFiles_NoPack), {aPath}),
        mtError,
        {LanguageText(txt::MsgDlg_Retry), LanguageText(txt::MsgDlg_Ignore), LanguageText(txt::MsgDlg_Cancel)},
        2,
        {}};
    const int answer = e.Channel().Ask(question);
    if (answer == 2 || answer == 3 || answer == 0) {
      logMissing();
      if (answer == 3) fMonitor.AbortFlag = true;
      return false;
    }
    e.NotifyStep(saUpdate, smUpdate);
  }
  return true;
}

void TFileInstaller::InstallFiles(TSubOption& aSubOption, const std::string& aFolder) {
  TSetupEngine& e = fEngine;
  const CurrentDirScope restore;
  const std::optional<std::string> prepared = PrepareFolder(aFolder);
  if (!prepared || aSubOption.Files == kNoFilesMask) return;
  const std::string& folder = *prepared;
  const std::vector<std::string> masks = SubOptionMasks(aSubOption.Files);
  for (const std::string& name : aSubOption.Packfile) {
    const std::string path = JoinPath(e.fContext.SourceDir, name);
    e.fInfoLines = {path};
    e.NotifyStep(saUpdate, smFromFile);
    if (!WaitForPackFile(path)) return;
    TCleanupScript* record = e.fSystemInfo.SaveCleanUpInfo ? e.CleanUpScript.get() : nullptr;
    if (record) {
      record->WriteString("LuM CleanUp Directories", folder, std::to_string(aSubOption.cleanup));
      for (const std::string& file : SplitAtSemicolons(aSubOption.cleanupFiles)) {
        if (!file.empty()) record->WriteKey(folder, file);
      }
    }
    e.Log("Extracting files from: " + path);
    ExtractPackFile(path, folder, masks, aSubOption.NewerOnly, folder, e.fContext.CleanUpInfoFailed, record, fMonitor,
                    aSubOption.FileAttr, aSubOption.Unpackmode);
    SaveRecordSoFar();
    ProcessPendingMessages();
    if (fMonitor.AbortFlag) return;
  }
  CopyCommonFiles(aSubOption, folder);
  CollectForWorkStation(aSubOption, folder);
}

void TFileInstaller::RecordInstallationStart(TSetupEngine& aEngine) {
  aEngine.OpenCleanUpScript();
  if (aEngine.fSystemInfo.SaveCleanUpProgInfo) WriteProgramRecord(aEngine);
  aEngine.WriteCleanUpScript();
}

// The head of the cleanup record: what was installed, where, and in which language.
void TFileInstaller::WriteProgramRecord(TSetupEngine& e) {
  TCleanupScript* record = e.CleanUpScript.get();
  if (!record) return;
  record->WriteString("LuM CleanUp", "System", e.SystemName());
  record->WriteString("LuM CleanUp", "Version", e.fSystemInfo.SystemVer);
  record->WriteString("LuM CleanUp", "flash", e.FlashStr());
  const std::string cleanUpFlash = e.fScript.ReadText("System Info", "CLFlash", e.fSystemInfo.FlashStr);
  record->WriteString("LuM CleanUp", "CLflash", e.TranslateText(cleanUpFlash, true));
  if (e.fSystemInfo.OemGui) record->WriteString("LuM CleanUp", "oemgui", "1");
  record->WriteString("LuM CleanUp Directories", e.fContext.SystemInstallDir, "1");
  record->WriteKey(e.fContext.SystemInstallDir, "SETUP.EXE");
  record->WriteKey(e.fContext.SystemInstallDir, LanguageLibraryName(CurrentLanguageCode()));
  record->WriteString(e.fContext.SystemInstallDir, "CLEANUP.INI", "1");
  record->WriteString("Language", "LangCode", CurrentLanguageCode());
  for (const std::string& line : e.fScript.SectionLines("AppTest")) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && equals > 0) {
      record->WriteString("AppTest", line.substr(0, equals), line.substr(equals + 1));
    }
  }
  SaveScriptTranslations(e.FTranslation, *record);
  MergeUninstallRecords(e.fUninstallExternals, *record, "UninstallExternals");
}

// Each file that an error or a read-only target kept from being installed was logged when it
// happened; the list at the end tells an administrator what is missing, and the run fails.
void TFileInstaller::LogFilesNotInstalled() {
  const std::vector<std::string>& files = fMonitor.FilesNotInstalled();
  if (files.empty()) return;
  fEngine.Log("Files not installed: " + std::to_string(files.size()));
  for (const std::string& file : files) fEngine.Log("   " + file);
}

bool TFileInstaller::AllFilesInstalled() const { return fMonitor.FilesNotInstalled().empty(); }

// Writes the record as it stands, without closing it.
void TFileInstaller::SaveRecordSoFar() { fEngine.WriteCleanUpScript(); }

std::string TFileInstaller::EncodedDir(const std::string& aFolder) {
  return fEngine.fSystemInfo.EncodeSysDir ? EncodeSysDir(fEngine.fContext, aFolder) : aFolder;
}

// The sub-option's common files, copied from its folder on this computer. A network
// installation serves workstations that install them themselves, unless the server is a
// terminal server whose users run the program here.
void TFileInstaller::CopyCommonFiles(TSubOption& aSubOption, const std::string& aFolder) {
  TSetupEngine& e = fEngine;
  if (aSubOption.CommonFolder.empty() || aSubOption.Commonfiles.empty()) return;
  if (e.NetInstallWithoutTerminalServer()) {
    e.Log("Common files of \"" + aSubOption.Caption + "\": not copied in a network installation");
    return;
  }
  aSubOption.fonBeginCopyCommonFile = [&e](const std::string& aSource, const std::string& aTarget) {
    e.BeginCopyCommonFile(aSource, aTarget);
  };
  TSystemCommonFilePlatform platform;
  TCommonFileEnv env;
  env.Expand = [&e](std::string_view aText) { return e.ExpandText(aText); };
  env.Log = [&e](const std::string& aLine) { e.Log(aLine); };
  env.Channel = &e.Channel();
  const bool scheduled = CopySubOptionCommonFiles(aSubOption, aFolder, e.fSystemInfo.EncodeSysDir, platform, env);
  aSubOption.fonBeginCopyCommonFile = nullptr;
  if (scheduled) {
    e.fAskReboot = true;
    e.Log("Restart needed: common files of \"" + aSubOption.Caption + "\" are copied at the next start of Windows");
  }
}

void TFileInstaller::CollectForWorkStation(const TSubOption& aSubOption, const std::string& aFolder) {
  const std::string folder = EncodedDir(aFolder);
  if (!aSubOption.WorkStationCommonFolder.empty() && !aSubOption.WorkStationCommonFiles.empty()) {
    if (!fEngine.fWorkStationCommonFiles) fEngine.fWorkStationCommonFiles = std::make_unique<TCommonFileList>();
    fEngine.fWorkStationCommonFiles->addCommonFileCmds(folder, aSubOption.WorkStationCommonFolder,
                                                       fEngine.fSystemInfo.EncodeSysDir,
                                                       aSubOption.WorkStationCommonFiles);
  }
  for (const std::string& name : SplitAtSemicolons(aSubOption.WStationFiles)) {
    if (!name.empty()) fEngine.fWorkStationFiles.push_back(JoinPath(folder, name));
  }
  for (const std::string& name : SplitAtSemicolons(aSubOption.WStationCleanupFiles)) {
    if (!name.empty()) fEngine.fWorkStationCleanupFiles.push_back(name);
  }
}

}  // namespace vek
