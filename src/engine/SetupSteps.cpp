// The step table: one member function per step, the next step decided in each, and
// PerformStep as the one switch over the steps.
#include <algorithm>
#include <optional>

#include "base/CaseMap.h"
#include "base/Format.h"
#include "commands/SystemVersionSource.h"
#include "commands/VersionChecks.h"
#include "engine/CleanupSafety.h"
#include "engine/FileInstall.h"
#include "engine/SetupEngine.h"
#include "engine/SystemSearch.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/LoaderRules.h"
#include "script/ScriptLoader.h"
#include "script/UserRightsCheck.h"
#include "system/FileStream.h"
#include "system/Files.h"
#include "system/Folders.h"
#include "system/PathText.h"
#include "system/Process.h"
#include "system/ProgramCommand.h"
#include "system/StopButton.h"
#include "system/SysInfo.h"

namespace vek {

TStepOutcome TSetupEngine::PerformStep(TStepTypes aStep) {
  switch (aStep) {
    case stStart: return DoStart();
    case stAppRunTest: return DoAppRunTest();
    case stShowWelcomePicture: return DoShowWelcomePicture();
    case stInstUpd: return DoInstUpd();
    case stSelectLanguage: return DoSelectLanguage();
    case stSetLanguage: return DoSetLanguage();
    case StStartInfo: return DoStartInfo();
    case stAcceptLicens: return DoAcceptLicens();
    case stDeftCust: return DoDeftCust();
    case stIoptions: return DoIoptions();
    case stWhereTo: return DoWhereTo();
    case StReadInstallIniExternals: return DoReadInstallIniExternals();
    case stInstallFiles: return DoInstallFiles();
    case stIconfirm: return DoIconfirm();
    case StReadInstallIniOptions: return DoReadInstallIniOptions();
    case stUpdGroups: return DoUpdGroups();
    case stDoUpdGroups: return DoDoUpdGroups();
    case stDoForceUpdGroups: return DoDoForceUpdGroups();
    case stUpdUnInstallInfo: return DoUpdUnInstallInfo();
    case stCopyExternals: return DoCopyExternals();
    case stExecuteExternals: return DoExecuteExternals();
    case stCheckWhereTo: return DoCheckWhereTo();
    case stVerifySystemInfoUserRights: return DoVerifySystemInfoUserRights();
    case stVerifyUserRights: return DoVerifyUserRights();
    case stExecuteChoices: return DoExecuteChoices();
    case stCleanUpStart: return DoCleanUpStart();
    case stCleanUpDirInfo: return DoCleanUpDirInfo();
    case stCleanUpExecute: return DoCleanUpExecute();
    case stCleanUpShowErrors: return DoCleanUpShowErrors();
    case stFinishCleanUp:
    case stFinish: return DoFinish();
    case stFinalInfo: return DoFinalInfo();
    case stTerminate: return DoTerminate();
    // No transition leads to these; performing one only announces it.
    case stSmallFontTest:
    case stFinishGenWorkStation:
    case stWait:
      return TStepOutcome::End();
  }
  return TStepOutcome::End();
}

namespace {

bool IsCleanUpMode(TRunMode aMode) { return aMode == rmCleanUp || aMode == rmWorkStationCleanUp; }

}  // namespace

TStepOutcome TSetupEngine::DoStart() {
  Log(GetProcessCommandLine());
  if (IsCleanUpMode(fContext.RunMode)) return TStepOutcome::IfSilent(stCleanUpStart);
  // A front end that did not load the script at start-up still gets the run's script.
  if (fScript.FileName().empty()) LoadScript(fContext.ScriptFileName);
  LoadSystemSection();
  if (fContext.RunMode == rmInstall) LoadScriptBlocks();
  LogWhatIsNotBuilt();
  return TStepOutcome::IfSilent(fShowWelcomePicture ? stShowWelcomePicture : stSelectLanguage);
}

TStepOutcome TSetupEngine::DoShowWelcomePicture() { return TStepOutcome::IfSilent(stInstUpd); }

TStepOutcome TSetupEngine::DoSelectLanguage() {
  // Without a language choice of two or more options there is nothing to ask.
  return TStepOutcome::AtOnce(stSetLanguage);
}

TStepOutcome TSetupEngine::DoSetLanguage() {
  if (!Silent()) NotifyStep(saUpdate, smNone);
  return TStepOutcome::AtOnce(stInstUpd);
}

TStepOutcome TSetupEngine::DoInstUpd() {
  switch (fContext.RunMode) {
    case rmInstall: fInstallMode = (Silent() && fInstmode == 0) ? 1 : fInstmode; break;
    case rmWorkStationSetup: fInstallMode = 1; break;
    case rmWorkStationUpdate: fInstallMode = 2; break;
    case rmCleanUp:
    case rmWorkStationCleanUp: break;
  }
  // An interactive install with the mode left open asks on the welcome page first.
  if (fInstallMode != 0) Log(fInstallMode == 1 ? "   Install" : "   Update");
  return TStepOutcome::IfSilent(stVerifySystemInfoUserRights);
}

// The rights the script demands of the whole run ("IUserRights", "UUserRights"): the power-user
// test, when demanded, decides over the administrator test.
bool TSetupEngine::SystemInfoRightsPass() {
  const std::uint8_t flags = fInstallMode == 1   ? fSystemInfo.InstallUserRights
                             : fInstallMode == 2 ? fSystemInfo.UpdateUserRights
                                                 : 0;
  fStepMessage = smNone;
  if (flags == 0) return true;
  const TUserRights user = CurrentUserRights();
  bool passed = true;
  if (flags & rfAdministrator) {
    passed = user.Admin;
    fStepMessage = passed ? smNone : smSysAdmRightsFailed;
  }
  if (flags & rfPowerUser) {
    passed = user.PowerUser;
    fStepMessage = passed ? smNone : smSysPowerRightsFailed;
  }
  if (!passed) {
    Log(std::string("Rights test: the script demands ") +
        (fStepMessage == smSysAdmRightsFailed ? "administrator" : "power-user") +
        " rights, which this user does not have");
  }
  return passed;
}

TStepOutcome TSetupEngine::DoVerifySystemInfoUserRights() {
  if (SystemInfoRightsPass()) return TStepOutcome::AtOnce(stAppRunTest);
  // A failed test stops the run; a silent run ends here without stTerminate.
  NotifyStep(saUpdate, fStepMessage);
  return TStepOutcome::Wait(stAppRunTest).Failed();
}

TStepOutcome TSetupEngine::DoAppRunTest() {
  // The test of the script's running application ("AppTest") is not built yet: the run says
  // so instead of reporting that nothing is running.
  if (!fScript.SectionLines("AppTest").empty()) {
    Log("Application Run Test: not built yet; the applications named in [AppTest] were not checked");
  }
  return TStepOutcome::AtOnce(IsCleanUpMode(fContext.RunMode) ? stCleanUpExecute : StReadInstallIniOptions);
}

TStepOutcome TSetupEngine::DoReadInstallIniOptions() {
  MainOptionList = nullptr;
  CustomMainOptionList.reset();
  NormalMainOptionList.reset();
  if (fContext.RunMode != rmInstall) {
    // The workstation lists (WSTATION.INI, WSUPDATE.INI) are not read yet: a workstation run
    // that went on would install nothing and report success.
    Log("Not built yet: the workstation setup and update; nothing was installed");
    return TStepOutcome::AtOnce(stTerminate).Failed();
  }
  if (!LoadOptions()) return TStepOutcome::IfSilent(stTerminate).Failed();
  return TStepOutcome::IfSilent(StStartInfo);
}

TStepOutcome TSetupEngine::DoStartInfo() {
  if (Silent() || fStartInfoList.empty()) return TStepOutcome::AtOnce(stAcceptLicens);
  NotifyStep(saUpdate, smNone);
  return TStepOutcome::Wait(stAcceptLicens);
}

TStepOutcome TSetupEngine::DoAcceptLicens() {
  if (!Silent() && fContext.RunMode == rmInstall && hasLicenseAgreementTest()) {
    NotifyStep(saUpdate, smNone);
    return TStepOutcome::Wait(stWhereTo);
  }
  return Silent() || !fStartInfoList.empty() ? TStepOutcome::AtOnce(stWhereTo) : TStepOutcome::Wait(stWhereTo);
}

TStepOutcome TSetupEngine::DoWhereTo() {
  return fcmdLineInstallPath || Silent() ? TStepOutcome::AtOnce(stCheckWhereTo) : TStepOutcome::Wait(stCheckWhereTo);
}

TStepOutcome TSetupEngine::DoCheckWhereTo() {
  // Nothing is changed before this run holds its installation; an update learns its system
  // folder only from the check, which changes nothing.
  const bool creates = fContext.RunMode == rmWorkStationSetup || (fContext.RunMode == rmInstall && fInstallMode == 1);
  if (creates && !LockSystemFolder(PlannedSystemFolder())) return TStepOutcome::AtOnce(stTerminate).Failed();
  if (CheckWhereTo()) {
    if (!LockSystemFolder(fContext.SystemInstallDir)) return TStepOutcome::AtOnce(stTerminate).Failed();
    if (fContext.RunMode == rmInstall) TFileInstaller::RecordInstallationStart(*this);
    return TStepOutcome::AtOnce(StReadInstallIniExternals);
  }
  if (Silent()) return TStepOutcome::AtOnce(stTerminate).Failed();
  NotifyStep(saUpdate, smNone);
  return TStepOutcome::Wait(stCheckWhereTo).Failed();
}

TStepOutcome TSetupEngine::DoReadInstallIniExternals() {
  // The external programs themselves are loaded here once they can be run.
  LoadUninstallExternals();
  switch (fContext.RunMode) {
    case rmInstall: return TStepOutcome::AtOnce(stDeftCust);
    case rmWorkStationSetup:
    case rmWorkStationUpdate: return TStepOutcome::AtOnce(stInstallFiles);
    case rmCleanUp:
    case rmWorkStationCleanUp: break;
  }
  return TStepOutcome::AtOnce(stTerminate);
}

TStepOutcome TSetupEngine::DoDeftCust() {
  // The loaded list stays the default selection; a custom installation edits a copy.
  if (!CustomMainOptionList && NormalMainOptionList) {
    CustomMainOptionList = std::make_unique<TMainOptionList>();
    CustomMainOptionList->Assign(*NormalMainOptionList);
  }
  if (fDeftCustMode == 1 || Silent()) return UseDefaultOptions();
  if (fDeftCustMode == 2) return UseCustomOptions();
  if (!NotifyStep(saUpdate, smNone)) return UseDefaultOptions();
  // The front end calls ExecuteUseDefaultOptions or ExecuteUseCustomOptions.
  return TStepOutcome::Wait(stDeftCust);
}

TStepOutcome TSetupEngine::DoIoptions() {
  NotifyStep(saUpdate, smNone);
  return TStepOutcome::IfSilent(stExecuteChoices);
}

TStepOutcome TSetupEngine::DoExecuteChoices() { return TStepOutcome::AtOnce(stVerifyUserRights); }

bool TSetupEngine::SelectionRightsPass() {
  const TUserRights user = CurrentUserRights();
  bool passed = true;
  const auto test = [&](bool aPasses, const std::string& aNeeded) {
    if (aPasses) return;
    if (passed) fInfoLines.insert(fInfoLines.end(), {"", LanguageText(txt::Rights_OptionsHead), ""});
    passed = false;
    fInfoLines.push_back(ExpandText(TranslateText(aNeeded, false)));
  };
  for (std::size_t i = 0; MainOptionList && i < MainOptionList->Count(); ++i) {
    const TMainOption* option = MainOptionList->Option(i);
    if (!option || option->GetState() <= 0) continue;
    test(option->CheckUserRights(user), option->NeededUserRightsStr());
    for (std::size_t j = 0; j < option->SubOption.Count(); ++j) {
      const TSubOption* sub = option->SubOptionAt(j);
      if (sub && sub->State > 0) test(sub->CheckUserRights(user), sub->NeededUserRightsStr());
    }
  }
  // The external programs' rights are tested here, after the options, once they are loaded.
  if (!passed) {
    fInfoLines.insert(fInfoLines.end(), {"", LanguageText(txt::Rights_Selection)});
    for (const std::string& line : fInfoLines) {
      if (!line.empty()) Log(line);
    }
  }
  return passed;
}

TStepOutcome TSetupEngine::DoVerifyUserRights() {
  fInfoLines.clear();
  if (SelectionRightsPass()) return TStepOutcome::AtOnce(fInstallSize != 0 ? stIconfirm : stCopyExternals);
  if (!NotifyStep(saUpdate, smNone)) return TStepOutcome::AtOnce(stTerminate).Failed();
  return TStepOutcome::Wait(stVerifyUserRights).Failed();
}

TStepOutcome TSetupEngine::DoIconfirm() {
  if (Silent()) {
    return SilentSpacePasses() ? TStepOutcome::AtOnce(stInstallFiles) : TStepOutcome::AtOnce(stTerminate).Failed();
  }
  if (!NotifyStep(saUpdate, smNone)) return TStepOutcome::AtOnce(stInstallFiles);
  return TStepOutcome::Wait(stInstallFiles);
}

// The progress monitor lives while the files of an install run are installed.
bool TSetupEngine::InstallFilesWithMonitor(bool& aAllInstalled) {
  OpenCleanUpScript();
  FProgressMonitor = std::make_unique<TProgressMonitor>();
  FProgressMonitor->SetChannel(fChannel);
  if (fDoLog) {
    FProgressMonitor->SetOnLogMessage([this](TProgressMonitor&, const std::string& aMessage) { Log(aMessage); });
  }
  NotifyStep(saUpdate, smInitProgressMonitor);
  TFileInstaller installer(*this, *FProgressMonitor);
  const bool completed = installer.Run();
  fRunRecord.files = FProgressMonitor->Tally;
  aAllInstalled = installer.AllFilesInstalled();
  FProgressMonitor.reset();
  return completed;
}

TStepOutcome TSetupEngine::DoInstallFiles() {
  switch (fContext.RunMode) {
    case rmInstall: {
      // The sub-options' INI and group commands load here once the option records exist.
      fCleanUpGrp = LoadCleanUpGroup(fScript, fContext.SystemInstallDir);
      fGroupUpdate = fCleanUpGrp.has_value();
      bool allInstalled = true;
      if (!InstallFilesWithMonitor(allInstalled)) return TStepOutcome::AtOnce(stTerminate).Failed();
      // Files that could not be written do not stop the installation, but its end says it failed.
      const TStepOutcome next = TStepOutcome::AtOnce(stUpdGroups);
      return allInstalled ? next : next.Failed();
    }
    case rmWorkStationSetup:
    case rmWorkStationUpdate: return TStepOutcome::AtOnce(stUpdGroups);
    case rmCleanUp:
    case rmWorkStationCleanUp: break;
  }
  return TStepOutcome::AtOnce(stTerminate);
}

bool TSetupEngine::UninstallRecordHasKey() const { return !fSystemInfo.UninstallInfo.Key.empty(); }

bool TSetupEngine::NetInstallWithoutTerminalServer() const {
  return fContext.doNetInstall && !fContext.doTSInstall;
}

TStepOutcome TSetupEngine::DoUpdGroups() {
  if (!fGroupUpdate || NetInstallWithoutTerminalServer()) {
    return TStepOutcome::AtOnce(!UninstallRecordHasKey() || NetInstallWithoutTerminalServer() ? stCopyExternals
                                                                                               : stUpdUnInstallInfo);
  }
  const bool asksBeforeGroups = fContext.RunMode == rmWorkStationSetup;
  if (asksBeforeGroups && !Silent() && NotifyStep(saUpdate, smNone)) {
    // The front end asks: yes continues with stDoUpdGroups, no with stDoForceUpdGroups.
    return TStepOutcome::Wait(stDoForceUpdGroups);
  }
  return TStepOutcome::AtOnce(stDoForceUpdGroups);
}

TStepOutcome TSetupEngine::DoDoUpdGroups() { return TStepOutcome::AtOnce(stUpdUnInstallInfo); }

TStepOutcome TSetupEngine::DoDoForceUpdGroups() { return TStepOutcome::AtOnce(stUpdUnInstallInfo); }

TStepOutcome TSetupEngine::DoUpdUnInstallInfo() {
  const WinVersion version = GetWinVersion();
  if (version.major >= 4 && UninstallRecordHasKey() && !NetInstallWithoutTerminalServer()) {
    NotifyStep(saUpdate, smNone);
    WriteUninstallRegistration();
  }
  return TStepOutcome::AtOnce(stCopyExternals);
}

TStepOutcome TSetupEngine::DoCopyExternals() { return TStepOutcome::AtOnce(stExecuteExternals); }

TStepOutcome TSetupEngine::DoExecuteExternals() { return TStepOutcome::AtOnce(stFinalInfo); }

TStepOutcome TSetupEngine::DoFinalInfo() {
  fDoRunOnExit = !fRunOnExit.empty();
  if (!Silent() && !fFinalInfoList.empty()) {
    NotifyStep(saUpdate, smNone);
    return TStepOutcome::IfSilent(stFinish);
  }
  return TStepOutcome::AtOnce(stFinish);
}

TStepOutcome TSetupEngine::DoCleanUpDirInfo() { return TStepOutcome::IfSilent(stAppRunTest); }

// Opens "CLEANUP.INI" of the system folder in memory, keeping what an earlier run recorded.
void TSetupEngine::OpenCleanUpScript() {
  SaveCleanUpScript();
  CleanUpScript = std::make_unique<TCleanupScript>(JoinPath(fContext.SystemInstallDir, "CLEANUP.INI"));
  CleanUpScript->SetOnFlush([this] { WriteCleanUpScript(); });
  std::string bytes;
  if (FileExists(CleanUpScript->FileName()) && ReadWholeFile(CleanUpScript->FileName(), bytes)) {
    CleanUpScript->Merge(bytes);
  }
}

// Writes the cleanup record to disk and frees it. The file installation also saves it after
// every pack file, so that a run that is killed halfway leaves a record of what it extracted.
void TSetupEngine::SaveCleanUpScript() {
  WriteCleanUpScript(true);
  CleanUpScript.reset();
}

SysResult TSetupEngine::CreateFolders(const std::string& aPath) { return ForceDirectories(aPath, &fCreatedFolders); }

namespace {

// The record is written beside itself under its backup name and then moved over the old one,
// so that a run killed while writing, or a drive that fills up, leaves the last whole record
// instead of a cut one; a cleanup removes the backup name of every recorded file.
SysResult ReplaceRecordFile(const std::string& aPath, const TCleanupScript& aRecord) {
  const std::string temporary = BackupFileName(aPath);
  SysResult saved = WriteFileInPieces(temporary, [&aRecord](const TPieceWriter& aWrite) {
    return aRecord.SerializeTo(aWrite);
  });
  if (saved) saved = MoveFileReplacing(temporary, aPath);
  if (!saved) (void)DeleteFileAt(temporary);
  return saved;
}

}  // namespace

// Writes the open record to disk; the first failure is reported and ends the writing. While
// the installation goes on, the user learns that the program may not be removable later; a
// failure of the last save is a warning with the system's reason.
void TSetupEngine::WriteCleanUpScript(bool aFinal) {
  if (!CleanUpScript || fContext.CleanUpInfoFailed) return;
  // The folders this run created go with the installation; folders that were there before
  // (an existing drive root or parent) stay out of the record.
  if (fSystemInfo.SaveCleanUpInfo) {
    for (const std::string& folder : fCreatedFolders) {
      CleanUpScript->WriteKeyIfMissing("LuM CleanUp Directories", GetLongPathNameOf(folder), "1");
    }
  }
  if (const SysResult saved = ReplaceRecordFile(CleanUpScript->FileName(), *CleanUpScript); !saved) {
    fContext.CleanUpInfoFailed = true;
    const std::string reason = SystemErrorMessage(saved.error) + " (" + CleanUpScript->FileName() + ")";
    if (aFinal) {
      LogAndShowMsg(LanguageText(txt::Msg_Warning), reason, mtWarning);
    } else {
      LogAndShowMsg(LanguageText(txt::Msg_SetupWarning),
                    FormatText(LanguageText(txt::CleanUp_WriteErr), {CleanUpScript->FileName()}), mtError);
      Log(reason);
    }
  }
}

TStepOutcome TSetupEngine::DoFinish() {
  fInfoLines.clear();
  switch (fContext.RunMode) {
    case rmWorkStationSetup:
      fInfoLines = {LanguageText(txt::finish_Ws), SystemName(), LanguageText(txt::finish_WsDone)};
      break;
    case rmCleanUp: fInfoLines = {"", SystemName(), LanguageText(txt::CleanUp_Done)}; break;
    case rmWorkStationCleanUp:
      fInfoLines = {LanguageText(txt::finish_Ws), SystemName(), LanguageText(txt::CleanUp_Done)};
      break;
    case rmInstall:
    case rmWorkStationUpdate:
      fInfoLines = {SystemName(), LanguageText(fInstallMode == 1 ? txt::finish_1 : txt::finish_2), ""};
      break;
  }
  NotifyStep(saUpdate, smNone);
  fScript.Close();
  SaveCleanUpScript();
  if (!fErrorLog.empty()) {
    NotifyStep(saUpdate, smShowErrorLog);
    Log("ERRORLOG");
    for (const std::string& line : fErrorLog) Log(line);
  }
  if (Silent()) return TStepOutcome::AtOnce(stTerminate);
  // A restart or logoff is offered; no leaves the finish page to continue the sequence.
  const auto agreed = [this](int aQuestionText) {
    const TQuestion question{LanguageText(txt::Msg_Information),
                             FormatText(LanguageText(aQuestionText), {SystemName()}),
                             mtConfirmation,
                             {LanguageText(txt::MsgDlg_Yes), LanguageText(txt::MsgDlg_No)},
                             2,
                             {}};
    return fChannel->Ask(question) == 1;
  };
  if (fExternalReboot) {
    if (!agreed(txt::finish_Restart)) return TStepOutcome::Wait(stTerminate);
    fdoReboot = true;
    return TStepOutcome::AtOnce(stTerminate);
  }
  if (fAskReboot) {
    const bool nt = GetWinVersion().ntFamily;
    if (!agreed(nt ? txt::finish_LogOff : txt::finish_Restart)) return TStepOutcome::Wait(stTerminate);
    (nt ? fdoLogOffOn : fdoReboot) = true;
    return TStepOutcome::AtOnce(stTerminate);
  }
  // Otherwise the front end's finish page continues the sequence.
  return TStepOutcome::Wait(stTerminate);
}

TStepOutcome TSetupEngine::DoTerminate() {
  fScript.Close();
  SaveCleanUpScript();
  if (Silent()) fdoReboot = fdoLogOffOn = false;
  if (fdoReboot || fdoLogOffOn) {
    Log("Terminate: the restart and the logoff are not built yet; restart the computer yourself");
    return TStepOutcome::End();
  }
  if (fDoRunOnExit) {
    std::string command = fRunOnExit;
    std::replace(command.begin(), command.end(), '?', '"');
    // Started by its full path, never searched for.
    if (const std::optional<TProgramCommand> program = ParseProgramCommand(command); !program) {
      Log("Not started: \"" + command + "\" does not begin with the full path of a program");
    } else if (const SysResult started = StartProcess(*program); !started) {
      Log(FailureLine("Start", command, started));
    }
  }
  return TStepOutcome::End();
}

// Install path check: makes the target folder current (creating it when allowed), asks about
// an existing system, creates the system folder and decides the next step.
// The install path without the root folder when it already ends with it: the user who picked
// "C:\Apps\Root" means the root "Root" in "C:\Apps", not "C:\Apps\Root\Root".
std::string TSetupEngine::InstallPathBelowRoot(const std::string& aRootName) const {
  std::string folder = fContext.InstallPath;
  if (!aRootName.empty() && FindText(folder, aRootName) != std::string::npos &&
      SameText(ExtractFileName(ExcludeTrailingPathDelimiter(folder)), aRootName)) {
    folder = ExtractFileDir(ExcludeTrailingPathDelimiter(folder));
  }
  return folder;
}

bool TSetupEngine::PrepareFolder(const std::string& aRootName, bool aAllowCreate) {
  const std::string folder = InstallPathBelowRoot(aRootName);
  if (SetCurrentDir(folder)) return true;
  if (aAllowCreate && CreateFolders(folder) && SetCurrentDir(folder)) return true;
  if (DirectoryExists(folder)) return true;
  LogAndShowMsg(LanguageText(txt::Msg_SetupError), FormatText(LanguageText(txt::WhereTo_NoFolder), {folder}),
                mtError);
  return false;
}

namespace {

constexpr int kSharedDocuments = 0x002e;  // the shell's documents folder of all users

std::string Chosen(const std::vector<std::string>& aList, int aIndex) {
  // -1 (or an index outside the list) chooses no entry.
  return aIndex >= 0 && static_cast<std::size_t>(aIndex) < aList.size() ? aList[static_cast<std::size_t>(aIndex)]
                                                                          : std::string();
}

}  // namespace

bool TSetupEngine::AskExistingSystem() {
  std::string folder;
  if (fContext.RunMode == rmWorkStationSetup) {
    folder = JoinPath(fContext.InstallPath, fContext.WorkStationRootDir);
  } else {
    folder = JoinPath(fContext.InstallPath, Chosen(fContext.InstallRootList, fContext.InstallRootIndex));
    if (!fContext.SystemDirList.empty()) {
      folder = JoinPath(folder, Chosen(fContext.SystemDirList, fContext.SystemDirIndex));
    }
  }
  if (DirectoryExists(folder)) {
    // A run without a user installs over the existing system, as it always did.
    const TQuestion question{LanguageText(txt::Msg_Warning),
                             FormatText(LanguageText(txt::WhereTo_Exists), {UpperCase(folder)}),
                             mtConfirmation,
                             {LanguageText(txt::MsgDlg_Yes), LanguageText(txt::MsgDlg_No)},
                             1,
                             {}};
    if (fChannel->Ask(question) != 1) return false;
  }
  (void)SetCurrentDir(fContext.InstallPath);
  return true;
}

// The system folder the check of the install path will settle on, as PrepareFolder finds the
// root: the lock taken before the check must name the folder the run then works in.
std::string TSetupEngine::PlannedSystemFolder() const {
  const bool workstation = fContext.RunMode == rmWorkStationSetup;
  const std::string rootName =
      workstation ? fContext.WorkStationRootDir : Chosen(fContext.InstallRootList, fContext.InstallRootIndex);
  std::string base = InstallPathBelowRoot(rootName);
  if (base.size() == 1) base += ":\\";
  if (workstation) return JoinPath(base, rootName);
  return JoinPath(JoinPath(base, rootName), Chosen(fContext.SystemDirList, fContext.SystemDirIndex));
}

bool TSetupEngine::CreateSystemFolder() {
  std::string folder;
  const bool anySet = !fContext.SystemDirList.empty() || !fContext.InstallRootList.empty() ||
                      !fContext.WorkStationRootDir.empty();
  if (anySet) {
    folder = PlannedSystemFolder();
    (void)CreateFolders(folder);
    if (DirectoryExists(folder)) {
      fContext.SystemInstallDir = folder;
      // Recorded at once, whole: an install killed before the rest of the folder check still
      // leaves a record that the cleanup accepts and that removes the folders made here.
      if (fContext.RunMode == rmInstall) TFileInstaller::RecordInstallationStart(*this);
      return true;
    }
  }
  LogAndShowMsg(LanguageText(txt::Msg_Error), FormatText(LanguageText(txt::WhereTo_NoFolder), {folder}),
                mtError);
  return false;
}

void TSetupEngine::SetOptionPaths(const std::string& aBase) {
  const std::string root = Chosen(fContext.InstallRootList, fContext.InstallRootIndex);
  for (std::size_t i = 0; MainOptionList && i < MainOptionList->Count(); ++i) {
    TMainOption* option = MainOptionList->Option(i);
    if (!option) continue;
    std::string base = option->IsSharedDocuments() ? GetSpecialFolder(kSharedDocuments) : aBase;
    if (base.empty()) base = aBase;  // a system without that folder: the install path, not the drive root
    option->Path = JoinPath(JoinPath(base, root), option->RootLib);
  }
}

bool TSetupEngine::CheckWhereTo() {
  if (fContext.InstallPath.size() == 1) fContext.InstallPath += ":\\";
  const auto prepareAndCreate = [this](const std::string& aRootName) {
    if (!PrepareFolder(aRootName, true)) return false;
    fContext.InstallPath = GetCurrentDir();
    return AskExistingSystem() && CreateSystemFolder();
  };
  if (fContext.RunMode == rmWorkStationSetup) return prepareAndCreate(fContext.WorkStationRootDir);
  if (fContext.RunMode == rmWorkStationUpdate) {
    if (PrepareFolder({}, false)) {
      fContext.SystemInstallDir = fContext.InstallPath;
      return true;
    }
  } else if (fContext.RunMode == rmInstall && fInstallMode == 1) {
    if (!prepareAndCreate(Chosen(fContext.InstallRootList, fContext.InstallRootIndex))) return false;
    SetOptionPaths(fContext.InstallPath);
    return true;
  } else if (fContext.RunMode == rmInstall && fInstallMode == 2) {
    if (SetCurrentDir(fContext.InstallPath)) return CheckInstalledSystem();
  }
  LogAndShowMsg(LanguageText(txt::Msg_SetupError),
                FormatText(LanguageText(txt::WhereTo_Invalid), {fContext.InstallPath}), mtError);
  return false;
}

// Update mode: the installed system is searched below the install path, and the install path,
// the system folder and the option folders are taken from what was found.
bool TSetupEngine::CheckInstalledSystem() {
  const std::vector<std::string>& names =
      fContext.SystemDirList.empty() ? fContext.InstallRootList : fContext.SystemDirList;
  NotifyStep(saUpdate, smStartFindSystem);
  std::optional<std::string> found = SearchForSystem(names);
  NotifyStep(saUpdate, smFoundSystem);
  if (!found) {
    LogAndShowMsg(LanguageText(txt::Msg_Information),
                  FormatText(LanguageText(txt::WhereTo_NotFound), {SystemName(), fContext.InstallPath}),
                  mtInformation);
    return false;
  }
  fContext.SystemInstallDir = *found;
  std::string path = fContext.SystemDirList.empty() ? *found : ExtractFileDir(*found);
  if (path.size() > 3) path = ExcludeTrailingPathDelimiter(path);
  const std::string last = ExtractFileName(path);
  fContext.InstallRootIndex = -1;
  for (std::size_t i = 0; i < fContext.InstallRootList.size(); ++i) {
    if (SameText(fContext.InstallRootList[i], last)) fContext.InstallRootIndex = static_cast<int>(i);
  }
  if (fContext.InstallRootIndex != -1) path = ExtractFileDir(path);
  fContext.InstallPath = path;
  (void)SetCurrentDir(path);
  if (!VersionChecksPass()) return false;
  SetOptionPaths(fContext.InstallPath);
  LoadUpdatePaths();
  return true;
}

// The version tests an update must pass (UVersionCheck), in script order; the first that fails
// is reported with its own text and stops the update. /V skips them.
bool TSetupEngine::VersionChecksPass() {
  if (fOverrideVersionCheck) {
    Log("Version tests skipped (/V)");
    return true;
  }
  const TSystemVersionSource source;
  fVersionCheckList =
      LoadVersionChecks(source, fScript.LangCode(), fContext.ScriptFileName, fContext.doNetInstall,
                        [this](std::string_view aText) { return ExpandText(aText); });
  for (const TFileVersionCheck& check : fVersionCheckList) {
    TVersionTrace trace;
    const bool passed = check.IsVersionOk(source, fScript.LangCode(), &trace);
    Log(VersionCheckLogLine(check, trace, passed));
    if (passed) continue;
    const std::string root = Chosen(fContext.InstallRootList, fContext.InstallRootIndex);
    const std::string folder = JoinPath(fContext.InstallPath, root);
    LogAndShowMsg(LanguageText(txt::Msg_SetupError),
                  FormatText(LanguageText(txt::WhereTo_VersionErr), {folder, check.ErrorText}), mtError);
    return false;
  }
  return true;
}

std::optional<std::string> TSetupEngine::SearchForSystem(const std::vector<std::string>& aNames) {
  std::string list;
  for (const std::string& name : aNames) list += (list.empty() ? "" : ", ") + name;
  fInfo = FormatText(LanguageText(txt::Search_Looking), {list});
  NotifyStep(saUpdate, smFindSystem);
  TSystemSearchHooks hooks;
  hooks.excludedFolders = {UpperCase(GetWindowsDir()), UpperCase(GetSystemDir())};
  hooks.stopPressed = [this] { return TakeButtonRelease(fStopbtnHandle); };
  hooks.reportError = [this](const std::string& aPath) {
    LogAndShowMsg(LanguageText(txt::Msg_SetupError), FormatText(LanguageText(txt::Search_Error), {aPath}),
                  mtError);
  };
  if (FOnStep) {
    hooks.foundDir = [this](const std::string& aPath) {
      fInfo = aPath;
      NotifyStep(saUpdate, smFoundDir);
    };
  }
  // A run without a user takes the first folder of the system's name.
  hooks.askCandidate = [this](const std::string& aPath) {
    const TQuestion question{
        FormatText(LanguageText(txt::Search_FoundCaption), {SystemName()}),
        FormatText(LanguageText(txt::Search_FoundAsk), {aPath}),
        mtConfirmation,
        {LanguageText(txt::MsgDlg_Yes), LanguageText(txt::MsgDlg_No), LanguageText(txt::contr_Stop)},
        1,
        {}};
    return fChannel->Ask(question);
  };
  return SearchInstalledSystem(fContext.InstallPath, aNames, hooks);
}

// Where an earlier installation put each option and sub-option, when the script says how to
// find out (MainPath, LibAlias).
void TSetupEngine::LoadUpdatePaths() {
  for (std::size_t i = 0; MainOptionList && i < MainOptionList->Count(); ++i) {
    TMainOption* option = MainOptionList->Option(i);
    if (!option) continue;
    const int number = static_cast<int>(i) + 1;
    const std::string mainPath = LoadMainPath(number, option->Path);
    if (!mainPath.empty()) option->Path = mainPath;
    for (std::size_t j = 0; j < option->SubOption.Count(); ++j) {
      if (TSubOption* sub = option->SubOptionAt(j)) {
        sub->LibAlias = LoadLibAlias(number, static_cast<int>(j) + 1, option->Path, sub->LibName);
      }
    }
  }
}

std::string TSetupEngine::LoadMainPath(int aOption, const std::string& aOptionPath) {
  const std::string reference = fScript.ReadText("UMainOption" + std::to_string(aOption), "MainPath", "");
  TExpandScope scope;
  scope.OptionPath = aOptionPath;
  return ExcludeTrailingPathDelimiter(ExpandText(ReadCommandValue(reference), scope));
}

std::string TSetupEngine::LoadLibAlias(int aOption, int aSubOption, const std::string& aOptionPath,
                                       const std::string& aLibName) {
  const std::string section = "USubOption" + std::to_string(aOption) + "." + std::to_string(aSubOption);
  const std::string alias = ReadCommandValue(fScript.ReadText(section, "LibAlias", ""));
  TExpandScope scope;
  scope.OptionPath = aOptionPath;
  scope.SubOption = TSubOptionNames{aLibName, alias};
  return ExpandText(alias, scope);
}

}  // namespace vek
