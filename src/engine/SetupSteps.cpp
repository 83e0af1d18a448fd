// The step table: one member function per step, the next step decided in each, and
// PerformStep as the one switch over the steps.
#include <algorithm>

#include "base/CaseMap.h"
#include "base/Format.h"
#include "engine/FileInstall.h"
#include "engine/SystemSearch.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "script/ScriptLoader.h"
#include "script/UserRightsCheck.h"
#include "system/Files.h"
#include "system/Folders.h"
#include "system/PathText.h"
#include "system/Process.h"
#include "system/SysInfo.h"
#include "ui/Msgdlg.h"
#include "ui/StopButton.h"

namespace vek {

void TSetupEngine::PerformStep(TStepTypes aStep) {
  switch (aStep) {
    case stStart: DoStart(); break;
    case stAppRunTest: DoAppRunTest(); break;
    case stShowWelcomePicture: DoShowWelcomePicture(); break;
    case stInstUpd: DoInstUpd(); break;
    case stSelectLanguage: DoSelectLanguage(); break;
    case stSetLanguage: DoSetLanguage(); break;
    case StStartInfo: DoStartInfo(); break;
    case stAcceptLicens: DoAcceptLicens(); break;
    case stDeftCust: DoDeftCust(); break;
    case stIoptions: DoIoptions(); break;
    case stWhereTo: DoWhereTo(); break;
    case StReadInstallIniExternals: DoReadInstallIniExternals(); break;
    case stInstallFiles: DoInstallFiles(); break;
    case stIconfirm: DoIconfirm(); break;
    case StReadInstallIniOptions: DoReadInstallIniOptions(); break;
    case stUpdGroups: DoUpdGroups(); break;
    case stDoUpdGroups: DoDoUpdGroups(); break;
    case stDoForceUpdGroups: DoDoForceUpdGroups(); break;
    case stUpdUnInstallInfo: DoUpdUnInstallInfo(); break;
    case stCopyExternals: DoCopyExternals(); break;
    case stExecuteExternals: DoExecuteExternals(); break;
    case stCheckWhereTo: DoCheckWhereTo(); break;
    case stVerifySystemInfoUserRights: DoVerifySystemInfoUserRights(); break;
    case stVerifyUserRights: DoVerifyUserRights(); break;
    case stExecuteChoices: DoExecuteChoices(); break;
    case stCleanUpStart: DoCleanUpStart(); break;
    case stCleanUpDirInfo: DoCleanUpDirInfo(); break;
    case stCleanUpExecute: DoCleanUpExecute(); break;
    case stCleanUpShowErrors: DoCleanUpShowErrors(); break;
    case stFinishCleanUp:
    case stFinish: DoFinish(); break;
    case stFinalInfo: DoFinalInfo(); break;
    case stTerminate: DoTerminate(); break;
    // No transition leads to these; performing one only announces it.
    case stSmallFontTest:
    case stFinishGenWorkStation:
    case stWait:
      break;
  }
}

namespace {

bool IsCleanUpMode(TRunMode aMode) { return aMode == rmCleanUp || aMode == rmWorkStationCleanUp; }

}  // namespace

void TSetupEngine::DoStart() {
  Log(GetProcessCommandLine());
  if (IsCleanUpMode(fContext.RunMode)) {
    ContinueIfSilentAt(stCleanUpStart);
    return;
  }
  // A front end that did not load the script at start-up still gets the run's script.
  if (fScript.FileName().empty()) LoadScript(fContext.ScriptFileName);
  TScriptLoader::LoadSystemSection(*this);
  ContinueIfSilentAt(fShowWelcomePicture ? stShowWelcomePicture : stSelectLanguage);
}

void TSetupEngine::DoShowWelcomePicture() { ContinueIfSilentAt(stInstUpd); }

void TSetupEngine::DoSelectLanguage() {
  // Without a language choice of two or more options there is nothing to ask.
  ContinueAt(stSetLanguage);
}

void TSetupEngine::DoSetLanguage() {
  fNextStep = stInstUpd;
  if (!fSilent) NotifyStep(saUpdate, smNone);
  ExecuteStep();
}

void TSetupEngine::DoInstUpd() {
  switch (fContext.RunMode) {
    case rmInstall: fInstallMode = (fSilent && fInstmode == 0) ? 1 : fInstmode; break;
    case rmWorkStationSetup: fInstallMode = 1; break;
    case rmWorkStationUpdate: fInstallMode = 2; break;
    case rmCleanUp:
    case rmWorkStationCleanUp: break;
  }
  Log(fInstallMode == 1 ? "   Install" : "   Update");
  ContinueIfSilentAt(stVerifySystemInfoUserRights);
}

bool TSetupEngine::SystemInfoRightsPass() {
  // The script's rights flags and their tests come with the user-rights services.
  fStepMessage = smNone;
  return true;
}

void TSetupEngine::DoVerifySystemInfoUserRights() {
  if (SystemInfoRightsPass()) {
    ContinueAt(stAppRunTest);
    return;
  }
  // A failed test stops the run; a silent run ends here without stTerminate.
  fNextStep = stAppRunTest;
  fRunFailed = true;
  NotifyStep(saUpdate, fStepMessage);
}

void TSetupEngine::DoAppRunTest() {
  const bool running = false;  // the running-application test comes with the process services
  if (running) {
    fRunFailed = true;
    if (!fSilent) NotifyStep(saUpdate, smNone);
    ContinueAt(stTerminate);
    return;
  }
  ContinueAt(IsCleanUpMode(fContext.RunMode) ? stCleanUpExecute : StReadInstallIniOptions);
}

void TSetupEngine::DoReadInstallIniOptions() {
  MainOptionList = nullptr;
  CustomMainOptionList.reset();
  NormalMainOptionList.reset();
  if (fContext.RunMode == rmInstall) {
    const bool loaded = TScriptLoader::LoadOptions(*this);
    if (!loaded) fRunFailed = true;
    ContinueIfSilentAt(loaded ? StStartInfo : stTerminate);
  } else {
    ContinueIfSilentAt(stWhereTo);
  }
}

void TSetupEngine::DoStartInfo() {
  const bool hasStartInfo = false;
  fNextStep = stAcceptLicens;
  if (fSilent || !hasStartInfo) {
    ExecuteStep();
    return;
  }
  NotifyStep(saUpdate, smNone);
}

void TSetupEngine::DoAcceptLicens() {
  const bool hasStartInfo = false;
  const bool hasLicenseAgreementTest = fLicensAgreementTest;
  fNextStep = stWhereTo;
  if (!fSilent && fContext.RunMode == rmInstall && hasLicenseAgreementTest) {
    NotifyStep(saUpdate, smNone);
    return;
  }
  if (fSilent || hasStartInfo) ExecuteStep();
}

void TSetupEngine::DoWhereTo() {
  fNextStep = stCheckWhereTo;
  if (fcmdLineInstallPath || fSilent) ExecuteStep();
}

void TSetupEngine::DoCheckWhereTo() {
  if (CheckWhereTo()) {
    ExecuteStep();  // NextStep was set by the check
    return;
  }
  fRunFailed = true;
  if (fSilent) {
    ContinueAt(stTerminate);
    return;
  }
  NotifyStep(saUpdate, smNone);
}

void TSetupEngine::DoReadInstallIniExternals() {
  // The external programs themselves are loaded here once they can be run.
  TScriptLoader::LoadUninstallExternals(*this);
  switch (fContext.RunMode) {
    case rmInstall: ContinueAt(stDeftCust); break;
    case rmWorkStationSetup:
    case rmWorkStationUpdate: ContinueAt(stInstallFiles); break;
    case rmCleanUp:
    case rmWorkStationCleanUp: ContinueAt(stTerminate); break;
  }
}

void TSetupEngine::DoDeftCust() {
  // The loaded list stays the default selection; a custom installation edits a copy.
  if (!CustomMainOptionList && NormalMainOptionList) {
    CustomMainOptionList = std::make_unique<TMainOptionList>();
    CustomMainOptionList->Assign(*NormalMainOptionList);
  }
  if (fDeftCustMode == 1 || fSilent) {
    ExecuteUseDefaultOptions();
  } else if (fDeftCustMode == 2) {
    ExecuteUseCustomOptions();
  } else if (!NotifyStep(saUpdate, smNone)) {
    ExecuteUseDefaultOptions();
  }
}

void TSetupEngine::DoIoptions() {
  NotifyStep(saUpdate, smNone);
  ContinueIfSilentAt(stExecuteChoices);
}

void TSetupEngine::DoExecuteChoices() { ContinueAt(stVerifyUserRights); }

bool TSetupEngine::SelectionRightsPass() {
  const TUserRights user = CurrentUserRights();
  bool passed = true;
  const auto test = [&](bool aPasses, const std::string& aNeeded) {
    if (aPasses) return;
    if (passed) fInfoLines.insert(fInfoLines.end(), {"", LanguageText(214), ""});
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
  if (!passed) fInfoLines.insert(fInfoLines.end(), {"", LanguageText(211)});
  return passed;
}

void TSetupEngine::DoVerifyUserRights() {
  fInfoLines.clear();
  if (SelectionRightsPass()) {
    ContinueAt(fInstallSize != 0 ? stIconfirm : stCopyExternals);
    return;
  }
  fRunFailed = true;
  if (!NotifyStep(saUpdate, smNone)) ContinueAt(stTerminate);
}

void TSetupEngine::DoIconfirm() {
  fNextStep = stInstallFiles;
  if (fSilent || !NotifyStep(saUpdate, smNone)) ExecuteStep();
}

// The progress monitor lives while the files of an install run are installed.
void TSetupEngine::InstallFilesWithMonitor() {
  OpenCleanUpScript();
  FProgressMonitor = std::make_unique<TProgressMonitor>();
  FProgressMonitor->SetSilent(fSilent);
  if (fDoLog) {
    FProgressMonitor->SetOnLogMessage([this](TProgressMonitor&, const std::string& aMessage) { Log(aMessage); });
  }
  NotifyStep(saUpdate, smInitProgressMonitor);
  TFileInstaller(*this, *FProgressMonitor).Run();
  if (FProgressMonitor->AbortFlag) fRunFailed = true;
  FProgressMonitor.reset();
}

void TSetupEngine::DoInstallFiles() {
  switch (fContext.RunMode) {
    case rmInstall:
      // The sub-options' INI and group commands load here once the option records exist.
      fGroupUpdate = false;
      TScriptLoader::LoadCleanUpGroup(*this);
      if (fCleanUpGrp) fGroupUpdate = true;
      InstallFilesWithMonitor();
      ExecuteStep();  // NextStep was set by the installation
      break;
    case rmWorkStationSetup:
    case rmWorkStationUpdate: ContinueAt(stUpdGroups); break;
    case rmCleanUp:
    case rmWorkStationCleanUp: ContinueAt(stTerminate); break;
  }
}

bool TSetupEngine::UninstallRecordHasKey() const { return !fUninstallInfo.Key.empty(); }

bool TSetupEngine::NetInstallWithoutTerminalServer() const {
  return fContext.doNetInstall && !fContext.doTSInstall;
}

void TSetupEngine::DoUpdGroups() {
  if (!fGroupUpdate || NetInstallWithoutTerminalServer()) {
    ContinueAt(!UninstallRecordHasKey() || NetInstallWithoutTerminalServer() ? stCopyExternals
                                                                              : stUpdUnInstallInfo);
    return;
  }
  const bool asksBeforeGroups = fContext.RunMode == rmWorkStationSetup;
  if (asksBeforeGroups) {
    if (fSilent || !NotifyStep(saUpdate, smNone)) ContinueAt(stDoForceUpdGroups);
    return;
  }
  ContinueAt(stDoForceUpdGroups);
}

void TSetupEngine::DoDoUpdGroups() { ContinueAt(stUpdUnInstallInfo); }

void TSetupEngine::DoDoForceUpdGroups() { ContinueAt(stUpdUnInstallInfo); }

void TSetupEngine::DoUpdUnInstallInfo() {
  const WinVersion version = GetWinVersion();
  if (version.major >= 4 && UninstallRecordHasKey() && !NetInstallWithoutTerminalServer()) {
    NotifyStep(saUpdate, smNone);
    WriteUninstallRegistration();
  }
  ContinueAt(stCopyExternals);
}

void TSetupEngine::DoCopyExternals() { ContinueAt(stExecuteExternals); }

void TSetupEngine::DoExecuteExternals() { ContinueAt(stFinalInfo); }

void TSetupEngine::DoFinalInfo() {
  fDoRunOnExit = !fRunOnExit.empty();
  const bool hasFinalInfo = false;
  fNextStep = stFinish;
  if (!fSilent && hasFinalInfo) {
    NotifyStep(saUpdate, smNone);
    ExecuteStepIfSilent();
    return;
  }
  ExecuteStep();
}

void TSetupEngine::DoCleanUpDirInfo() { ContinueIfSilentAt(stAppRunTest); }

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

// Writes the open record to disk; the first failure is reported and ends the writing. While
// the installation goes on, the user learns that the program may not be removable later; a
// failure of the last save is a warning with the system's reason.
void TSetupEngine::WriteCleanUpScript(bool aFinal) {
  if (!CleanUpScript || fContext.CleanUpInfoFailed) return;
  // The folders this run created go with the installation; folders that were there before
  // (an existing drive root or parent) stay out of the record.
  if (fSaveCleanUpInfo) {
    for (const std::string& folder : fCreatedFolders) {
      CleanUpScript->WriteKeyIfMissing("LuM CleanUp Directories", GetLongPathNameOf(folder), "1");
    }
  }
  if (const SysResult saved = WriteWholeFile(CleanUpScript->FileName(), CleanUpScript->Serialize()); !saved) {
    fContext.CleanUpInfoFailed = true;
    const std::string reason = SystemErrorMessage(saved.error) + " (" + CleanUpScript->FileName() + ")";
    if (aFinal) {
      LogAndShowMsg(LanguageText(115), reason, mtWarning);
    } else {
      LogAndShowMsg(LanguageText(181), FormatText(LanguageText(201), {CleanUpScript->FileName()}), mtError);
      Log(reason);
    }
  }
}

void TSetupEngine::DoFinish() {
  fInfoLines.clear();
  switch (fContext.RunMode) {
    case rmWorkStationSetup: fInfoLines = {LanguageText(172), SystemName(), LanguageText(173)}; break;
    case rmCleanUp: fInfoLines = {"", SystemName(), LanguageText(160)}; break;
    case rmWorkStationCleanUp: fInfoLines = {LanguageText(172), SystemName(), LanguageText(160)}; break;
    case rmInstall:
    case rmWorkStationUpdate:
      fInfoLines = {SystemName(), LanguageText(fInstallMode == 1 ? 29 : 104), ""};
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
  fNextStep = stTerminate;
  if (fSilent) {
    ExecuteStep();
    return;
  }
  if (fExternalReboot) {
    if (MessageYesNo(LanguageText(118), FormatText(LanguageText(224), {SystemName()}), mtConfirmation) == 1) {
      fdoReboot = true;
      ExecuteStep();
    }
    return;
  }
  if (fAskReboot) {
    const bool nt = GetWinVersion().ntFamily;
    const std::string question = FormatText(LanguageText(nt ? 226 : 224), {SystemName()});
    if (MessageYesNo(LanguageText(118), question, mtConfirmation) == 1) {
      (nt ? fdoLogOffOn : fdoReboot) = true;
      ExecuteStep();
    }
  }
  // Otherwise the front end's finish page continues the sequence.
}

void TSetupEngine::DoTerminate() {
  fScript.Close();
  SaveCleanUpScript();
  if (fSilent) fdoReboot = fdoLogOffOn = false;
  if (fdoReboot || fdoLogOffOn) return;  // restart and logoff come with the process services
  if (fDoRunOnExit) {
    std::string command = fRunOnExit;
    std::replace(command.begin(), command.end(), '?', '"');
    if (const SysResult started = StartProcess(command); !started) {
      Log("Start \"" + command + "\": failed, error " + std::to_string(started.error));
    }
  }
}

// Install path check: makes the target folder current (creating it when allowed), asks about
// an existing system, creates the system folder and decides the next step.
bool TSetupEngine::PrepareFolder(const std::string& aRootName, bool aAllowCreate) {
  std::string folder = fContext.InstallPath;
  if (!aRootName.empty() && FindText(folder, aRootName) != std::string::npos &&
      SameText(ExtractFileName(ExcludeTrailingPathDelimiter(folder)), aRootName)) {
    folder = ExtractFileDir(ExcludeTrailingPathDelimiter(folder));
  }
  if (SetCurrentDir(folder)) return true;
  if (aAllowCreate && CreateFolders(folder) && SetCurrentDir(folder)) return true;
  if (DirectoryExists(folder)) return true;
  LogAndShowMsg(LanguageText(109), FormatText(LanguageText(51), {folder}), mtError);
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
  if (DirectoryExists(folder) && !fSilent &&
      MessageYesNo(LanguageText(115), FormatText(LanguageText(50), {UpperCase(folder)}), mtConfirmation) != 1) {
    return false;
  }
  (void)SetCurrentDir(fContext.InstallPath);
  return true;
}

bool TSetupEngine::CreateSystemFolder() {
  std::string folder;
  const bool anySet = !fContext.SystemDirList.empty() || !fContext.InstallRootList.empty() ||
                      !fContext.WorkStationRootDir.empty();
  if (anySet) {
    if (fContext.RunMode == rmWorkStationSetup) {
      folder = JoinPath(fContext.InstallPath, fContext.WorkStationRootDir);
    } else {
      folder = JoinPath(fContext.InstallPath, Chosen(fContext.InstallRootList, fContext.InstallRootIndex));
      folder = JoinPath(folder, Chosen(fContext.SystemDirList, fContext.SystemDirIndex));
    }
    (void)CreateFolders(folder);
    if (DirectoryExists(folder)) {
      fContext.SystemInstallDir = folder;
      return true;
    }
  }
  LogAndShowMsg(LanguageText(138), FormatText(LanguageText(51), {folder}), mtError);
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
    if (!AskExistingSystem() || !CreateSystemFolder()) return false;
    fNextStep = StReadInstallIniExternals;
    return true;
  };
  if (fContext.RunMode == rmWorkStationSetup) return prepareAndCreate(fContext.WorkStationRootDir);
  if (fContext.RunMode == rmWorkStationUpdate) {
    if (PrepareFolder({}, false)) {
      fContext.SystemInstallDir = fContext.InstallPath;
      fNextStep = StReadInstallIniExternals;
      return true;
    }
  } else if (fContext.RunMode == rmInstall && fInstallMode == 1) {
    if (!prepareAndCreate(Chosen(fContext.InstallRootList, fContext.InstallRootIndex))) return false;
    SetOptionPaths(fContext.InstallPath);
    return true;
  } else if (fContext.RunMode == rmInstall && fInstallMode == 2) {
    if (SetCurrentDir(fContext.InstallPath)) return CheckInstalledSystem();
  }
  const std::string message = FormatText(LanguageText(90), {fContext.InstallPath});
  Log(message);
  if (!fSilent) MessageOk(LanguageText(109), message, mtError);
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
    const std::string message = FormatText(LanguageText(91), {SystemName(), fContext.InstallPath});
    Log(message);
    if (!fSilent) MessageOk(LanguageText(118), message, mtInformation);
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
  // The version tests of an update (UVersionCheck) join here with the version-test commands;
  // /V skips them.
  SetOptionPaths(fContext.InstallPath);
  LoadUpdatePaths();
  fNextStep = StReadInstallIniExternals;
  return true;
}

std::optional<std::string> TSetupEngine::SearchForSystem(const std::vector<std::string>& aNames) {
  std::string list;
  for (const std::string& name : aNames) list += (list.empty() ? "" : ", ") + name;
  fInfo = FormatText(LanguageText(93), {list});
  NotifyStep(saUpdate, smFindSystem);
  TSystemSearchHooks hooks;
  hooks.excludedFolders = {UpperCase(GetWindowsDir()), UpperCase(GetSystemDir())};
  hooks.stopPressed = [this] { return TakeButtonRelease(fStopbtnHandle); };
  hooks.reportError = [this](const std::string& aPath) {
    LogAndShowMsg(LanguageText(109), FormatText(LanguageText(89), {aPath}), mtError);
  };
  if (FOnStep) {
    hooks.foundDir = [this](const std::string& aPath) {
      fInfo = aPath;
      NotifyStep(saUpdate, smFoundDir);
    };
  }
  if (!fSilent) {
    hooks.askCandidate = [this](const std::string& aPath) {
      bool unused = false;
      return static_cast<int>(ShowMessageDialog(FormatText(LanguageText(114), {SystemName()}),
                                                FormatText(LanguageText(94), {aPath}), mtConfirmation, 3,
                                                LanguageText(111), LanguageText(112), LanguageText(92), "", false,
                                                "", unused));
    };
  }
  return SearchInstalledSystem(fContext.InstallPath, aNames, hooks);
}

// Where an earlier installation put each option and sub-option, when the script says how to
// find out (MainPath, LibAlias).
void TSetupEngine::LoadUpdatePaths() {
  for (std::size_t i = 0; MainOptionList && i < MainOptionList->Count(); ++i) {
    TMainOption* option = MainOptionList->Option(i);
    if (!option) continue;
    const int number = static_cast<int>(i) + 1;
    const std::string mainPath = TScriptLoader::LoadMainPath(*this, number, option->Path);
    if (!mainPath.empty()) option->Path = mainPath;
    for (std::size_t j = 0; j < option->SubOption.Count(); ++j) {
      if (TSubOption* sub = option->SubOptionAt(j)) {
        sub->LibAlias =
            TScriptLoader::LoadLibAlias(*this, number, static_cast<int>(j) + 1, option->Path, sub->LibName);
      }
    }
  }
}

}  // namespace vek
