#pragma once
// TSetupEngine: the state machine that every run goes through, silent or with the wizard.
// Each ExecuteStep performs NextStep, announces it through OnStep (enter, any number of
// updates, leave), decides the step after it, and either performs that one at once (a nested
// ExecuteStep) or returns and leaves the continuation to the front end. A silent run has no
// front end: every step that would wait continues at once, so a whole run is one outermost
// ExecuteStep. The work of the steps lives with their subsystems; this class owns the data,
// the step table and the Back stack.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "archive/ProgressMonitor.h"
#include "base/UserChannel.h"
#include "commands/CommonFileCmd.h"
#include "commands/IniCmdRun.h"
#include "commands/IniFileCmd.h"
#include "commands/VerTest.h"
#include "engine/CleanupSafety.h"
#include "engine/CleanupScript.h"
#include "engine/RunRecord.h"
#include "engine/SetupEngineTypes.h"
#include "language/Translate.h"
#include "script/Agreements.h"
#include "script/WelcomePicture.h"
#include "script/CleanUpGroup.h"
#include "script/Expand.h"
#include "script/InfoPages.h"
#include "script/InstallOptions.h"
#include "script/RunContext.h"
#include "script/ScriptFile.h"
#include "script/ScriptLoader.h"
#include "script/UnInstallInfo.h"
#include "script/UserVariables.h"
#include "system/Files.h"
#include "system/FolderRemoval.h"
#include "system/NamedMutex.h"

namespace vek {

// Raised by Log inside a step when neither a line nor the message of its failure could be
// appended: the step stops there, as a step stops on any error it does not handle.
class TLogWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TRegistryKey;

class TSetupEngine {
 public:
  using TStepEvent = std::function<void(TSetupEngine& aSender)>;

  // aChannel: where messages and questions go (the run's silent channel or the wizard's); a
  // run that gives none has a silent channel that writes the log.
  explicit TSetupEngine(TRunContext& aContext, IUserChannel* aChannel = nullptr);
  TSetupEngine(const TSetupEngine&) = delete;
  TSetupEngine& operator=(const TSetupEngine&) = delete;
  ~TSetupEngine();

  // Performs NextStep and whatever follows at once.
  void ExecuteStep();
  // Calls ExecuteStep only in a silent run.
  void ExecuteStepIfSilent();
  void ExecuteUseDefaultOptions();
  void ExecuteUseCustomOptions();
  // The front end calls this when the user goes forward: the current step is remembered for
  // the Back button when it is one that the user can return to.
  void UpdatePrevSteps();
  std::string GetStepName(int aStep) const { return vek::GetStepName(aStep); }

  // Start-up: reads the script file into the script store, replacing any earlier one; a
  // missing file gives an empty store.
  // aCleanUpRecord: the script is a cleanup record, whose file lists the cleanup reads itself.
  void LoadScript(const std::string& aFileName, bool aCleanUpRecord = false);
  const TScriptFile& Script() const { return fScript; }
  TUserVariables& UserVariables() { return fUserVariables; }
  // The text variables of aText replaced with this run's values.
  std::string ExpandText(std::string_view aText, const TExpandScope& aScope = {});
  // What splitting a command line of the script needs, for the option and sub-option of aScope.
  TIniCmdParseContext IniCmdParseContext(const TExpandScope& aScope = {});
  // A command value reference (an INI command line naming a file, section and key) read from
  // the file on disk, with the language override; empty on any failure.
  std::string ReadCommandValue(std::string_view aReference);
  // The script's translation of aText; with doTranslateVars, a text that the translation
  // changed also has its variables replaced.
  std::string TranslateText(std::string_view aText, bool doTranslateVars);
  TTranslation& Translations() { return FTranslation; }

  // Update mode: where an earlier installation put main option aOption (from 1) and its
  // sub-option aSubOption, when the script says how to find out ("MainPath", "LibAlias"). Empty
  // when the script names no place or nothing is found there.
  std::string LoadMainPath(int aOption, const std::string& aOptionPath);
  std::string LoadLibAlias(int aOption, int aSubOption, const std::string& aOptionPath, const std::string& aLibName);

  // The setup log (written only when logging is on). A line that cannot be written is
  // followed by the reason; when that cannot be written either, LogFailed() turns true and,
  // inside a step, TLogWriteError stops the step: the sequence ends there, and the exit code
  // says the run could not be carried out. Outside the steps nothing is thrown.
  void Log(const std::string& aLogMessage);
  bool LogFailed() const { return fLogFailed; }
  // Shows the message through the channel (a silent run only logs it) and logs it.
  void LogAndShowMsg(const std::string& aCaption, const std::string& aMsg, int aType);
  // The run's channel for messages and questions.
  IUserChannel& Channel() { return *fChannel; }
  void SetChannel(IUserChannel* aChannel) { fChannel = aChannel ? aChannel : fSilentChannel.get(); }

  // Published properties.
  TStepTypes PrevStep();  // pops the Back stack; an empty stack gives stStart
  void SetPrevStep(TStepTypes aStep) { fPrevSteps.push_back(TPrevStep{aStep}); }
  TStepTypes Step() const { return fStep; }
  TStepTypes NextStep() const { return fNextStep; }
  void SetNextStep(TStepTypes aStep) { fNextStep = aStep; }
  TStepAction StepAction() const { return fStepAction; }
  TStepMessage StepMessage() const { return fStepMessage; }
  TChoiceStates ChoiceState() const { return FChoiceState; }
  void SetChoiceState(TChoiceStates aState) { FChoiceState = aState; }
  TRunStates RunExtState() const { return fRunExtState; }
  void SetRunExtState(TRunStates aState) { fRunExtState = aState; }
  const TStepEvent& OnStep() const { return FOnStep; }
  void SetOnStep(TStepEvent aHandler) { FOnStep = std::move(aHandler); }
  bool Silent() const { return fChannel->Silent(); }
  const std::string& Info() const { return fInfo; }
  const std::vector<std::string>& InfoLines() const { return fInfoLines; }
  bool IsUnpacking() const { return fIsUnPacking; }
  TProgressMonitor* ProgressMonitor() const { return FProgressMonitor.get(); }
  // The run ended without doing what it was asked: a check failed, a load failed, the user or
  // an error aborted it. The start-up turns this into the exit code.
  bool RunFailed() const { return fRunFailed; }
  // The front end's stop button, watched during the search for an installed system.
  void* StopBtnHandle() const { return fStopbtnHandle; }
  void SetStopBtnHandle(void* aButton) { fStopbtnHandle = aButton; }
  const std::vector<std::string>& WorkStationFiles() const { return fWorkStationFiles; }
  const std::vector<std::string>& WorkStationCleanupFiles() const { return fWorkStationCleanupFiles; }
  // The common-file commands for the workstations; null until a sub-option names some.
  const TCommonFileList* WorkStationCommonFiles() const { return fWorkStationCommonFiles.get(); }
  // A restart is needed at the end: a file in use is replaced at the next start.
  bool AskReboot() const { return fAskReboot; }
  const std::string& DiskDrive() const { return fDiskDrive; }
  const std::vector<std::string>& CleanUpDirList() const { return fCleanUpDirList; }
  bool StopCleanUp() const { return fStopCleanUp; }
  void SetStopCleanUp(bool aStop) { fStopCleanUp = aStop; }
  bool CleanupErrors() const { return fCleanUpErrors; }
  const std::vector<std::string>& CleanuUpErrorList() const { return fCleanUpErrorList; }
  bool doLog() const { return fDoLog; }
  void SetdoLog(bool aDoLog) { fDoLog = aDoLog; }
  const std::string& LogFileName() const { return fLogFileName; }
  int InstallMode() const { return fInstallMode; }
  void SetInstallMode(int aMode) { fInstallMode = aMode; }
  std::int64_t FreeDiskSpace() const { return fFreeDiskSpace; }
  void SetFreeDiskSpace(std::int64_t aBytes) { fFreeDiskSpace = aBytes; }
  std::int64_t Installsize() const { return fInstallSize; }
  void SetInstallsize(std::int64_t aBytes) { fInstallSize = aBytes; }
  // The user ended the run in the wizard before its work was done (Exit, Cancel, No, a close).
  bool UserCancelled() const { return fUserCancelled; }
  void SetUserCancelled(bool aCancelled) { fUserCancelled = aCancelled; }
  std::vector<std::string>& ErrorLog() { return fErrorLog; }
  // Texts of the script, translated and expanded when asked for.
  std::string SetupCaption() { return TranslateText(fSystemInfo.SetupCaption, true); }
  std::string FlashStr() { return TranslateText(fSystemInfo.FlashStr, true); }
  std::string SystemName() { return TranslateText(fSystemInfo.SystemName, true); }
  std::string SystemTitle() { return TranslateText(fSystemInfo.SystemTitle, true); }
  std::string WelcomeTitle() { return TranslateText(fSystemInfo.WelcomeTitle, true); }
  std::string DefaultBtnCaption() { return TranslateText(fDialogCaptions.DefaultBtn, true); }
  std::string DefaultLabelCaption() { return TranslateText(fDialogCaptions.DefaultLabel, true); }
  std::string CustomBtnCaption() { return TranslateText(fDialogCaptions.CustomBtn, true); }
  std::string CustomLabelCaption() { return TranslateText(fDialogCaptions.CustomLabel, true); }
  // The script's system section as loaded at stStart (or from the cleanup record).
  const TSystemInfo& SystemInfo() const { return fSystemInfo; }
  const std::string& SystemVer() const { return fSystemInfo.SystemVer; }
  const std::string& SystemFileVer() const { return fSystemInfo.SystemFileVer; }
  bool SaveCleanUpInfo() const { return fSystemInfo.SaveCleanUpInfo; }
  bool SaveCleanUpProgInfo() const { return fSystemInfo.SaveCleanUpProgInfo; }
  bool CopySetupExeFile() const { return fSystemInfo.CopySetupExeFile; }
  bool EncodeSysDir() const { return fSystemInfo.EncodeSysDir; }
  bool OemGui() const { return fSystemInfo.OemGui; }
  bool LicensAgreementTest() const { return fSystemInfo.LicensAgreementTest; }
  // The rights flags (TRightsFlag) that an installation and an update need.
  std::uint8_t InstallUserRights() const { return fSystemInfo.InstallUserRights; }
  std::uint8_t UpdateUserRights() const { return fSystemInfo.UpdateUserRights; }
  const TUnInstallInfo& UninstallInfo() const { return fSystemInfo.UninstallInfo; }
  const std::vector<TUnInstallInfo>& UninstallExternals() const { return fUninstallExternals; }
  const std::vector<TUnInstallInfo>& WorkStationUninstallExternals() const { return fWorkStationUninstallExternals; }
  const std::vector<TFileVersionCheck>& VersionCheckList() const { return fVersionCheckList; }
  const std::optional<TCleanUpGroup>& CleanUpGrp() const { return fCleanUpGrp; }
  int Instmode() const { return fInstmode; }
  void SetInstmode(int aMode) { fInstmode = aMode; }
  bool GroupUpdate() const { return fGroupUpdate; }
  const std::string& RunOnExit() const { return fRunOnExit; }
  void SetRunOnExit(const std::string& aCommand) { fRunOnExit = aCommand; }
  bool DoRunOnExit() const { return fDoRunOnExit; }
  void SetDoRunOnExit(bool aDo) { fDoRunOnExit = aDo; }
  bool ShowWelcomePicture() const { return fShowWelcomePicture; }
  // The picture decoded from the script's picture block, if any; the front end draws it.
  const std::optional<TWelcomePicture>& WelcomePicture() const { return fWelcomePicture; }
  void SetWelcomePicture(std::optional<TWelcomePicture> aPicture) { fWelcomePicture = std::move(aPicture); }
  // The start and final info pages of the options in force (empty until they are loaded).
  const std::vector<TCommonInfo>& StartInfoList() const { return fStartInfoList; }
  const std::vector<TCommonInfo>& FinalInfoList() const { return fFinalInfoList; }
  void SetStartInfoList(std::vector<TCommonInfo> aPages) { fStartInfoList = std::move(aPages); }
  void SetFinalInfoList(std::vector<TCommonInfo> aPages) { fFinalInfoList = std::move(aPages); }
  // What turns an info page into the lines shown: this run's translation, variables and files.
  TInfoTextEnv InfoTextEnv();
  // The agreement of the run's language, else the default one; null when the script has none.
  const TAgreement* LicensAgreement() const;
  void SetLicensAgreementList(TAgreementList aList) { FLicensAgreementList = std::move(aList); }
  bool hasLicenseAgreementTest() const;
  int DeftCustMode() const { return fDeftCustMode; }
  void SetDeftCustMode(int aMode) { fDeftCustMode = aMode; }
  bool OverrideVersionCheck() const { return fOverrideVersionCheck; }
  void SetOverrideVersionCheck(bool aOverride) { fOverrideVersionCheck = aOverride; }
  // The work of the run needs a restart that the run did not make: a copy scheduled for the next
  // start, or an external program that asked for it. The restart itself is not carried out by
  // this program, so a restart agreed to is pending too.
  bool RestartPending() const { return fAskReboot || fExternalReboot; }
  // What the run did, for its result file.
  const TRunRecord& RunRecord() const { return fRunRecord; }
  bool ExternalReboot() const { return fExternalReboot; }
  void SetExternalReboot(bool aReboot) { fExternalReboot = aReboot; }
  bool cmdLineInstallPath() const { return fcmdLineInstallPath; }
  void SetcmdLineInstallPath(bool aFromCommandLine) { fcmdLineInstallPath = aFromCommandLine; }
  TRunContext& Context() { return fContext; }

  // The options as loaded (the default selection) and the copy a custom installation edits;
  // MainOptionList points at the one in force, or is null before the options are loaded.
  TMainOptionList* MainOptionList = nullptr;
  std::unique_ptr<TMainOptionList> NormalMainOptionList;
  std::unique_ptr<TMainOptionList> CustomMainOptionList;

 private:
  // Sets StepAction and StepMessage and calls OnStep; false (and nothing changed) without one.
  bool NotifyStep(TStepAction aAction, TStepMessage aMessage);
  // The one place where a step's outcome takes effect: the run's verdict, NextStep, and the
  // next step performed at once when the outcome says so.
  void GoOn(const TStepOutcome& aOutcome);
  TStepOutcome PerformStep(TStepTypes aStep);
  // The two ways through the default/custom page, as outcomes of the step that takes them.
  TStepOutcome UseDefaultOptions();
  TStepOutcome UseCustomOptions();
  // The environment of the script loaders: this run's expansion, channel and platform values.
  TLoaderEnv LoaderEnv();
  void LoadSystemSection();
  // The agreements and the welcome picture: text blocks of the script file, read in one pass.
  void LoadScriptBlocks();
  bool LoadOptions();
  void LoadUninstallExternals();
  // One log line for each part of the script that this program does not carry out yet.
  void LogWhatIsNotBuilt();

  // One member function per step (SetupSteps.cpp); each returns what comes next.
  TStepOutcome DoStart();
  TStepOutcome DoAppRunTest();
  TStepOutcome DoShowWelcomePicture();
  TStepOutcome DoInstUpd();
  TStepOutcome DoSelectLanguage();
  TStepOutcome DoSetLanguage();
  TStepOutcome DoStartInfo();
  TStepOutcome DoAcceptLicens();
  TStepOutcome DoDeftCust();
  TStepOutcome DoIoptions();
  TStepOutcome DoWhereTo();
  TStepOutcome DoReadInstallIniExternals();
  TStepOutcome DoInstallFiles();
  TStepOutcome DoIconfirm();
  TStepOutcome DoReadInstallIniOptions();
  TStepOutcome DoUpdGroups();
  TStepOutcome DoDoUpdGroups();
  TStepOutcome DoDoForceUpdGroups();
  TStepOutcome DoUpdUnInstallInfo();
  TStepOutcome DoCopyExternals();
  TStepOutcome DoExecuteExternals();
  TStepOutcome DoCheckWhereTo();
  TStepOutcome DoVerifySystemInfoUserRights();
  TStepOutcome DoVerifyUserRights();
  TStepOutcome DoExecuteChoices();
  TStepOutcome DoCleanUpStart();
  TStepOutcome DoCleanUpDirInfo();
  TStepOutcome DoCleanUpExecute();
  TStepOutcome DoCleanUpShowErrors();
  TStepOutcome DoFinalInfo();
  TStepOutcome DoFinish();
  TStepOutcome DoTerminate();

  friend class TFileInstaller;

  // A common file is about to be copied: the front end shows where from and where to.
  void BeginCopyCommonFile(const std::string& aSource, const std::string& aTarget);

  // The values that expansions read, refreshed for each use.
  TExpandContext& ExpandContext();
  // The workstation update file of this run, created on the first %WSUPDATE%.
  std::string CreateWsUpdateFile();

  // The INI and registry commands of the sub-options (IniCommands.cpp): what running them
  // needs, the load of every selected sub-option's section with the prefix "IIniFiles" or
  // "UIniFiles", and the run of one sub-option's list.
  TIniCmdRun IniCmdRun();
  void LoadSubOptionCommands(const std::string& aIniPrefix);
  void ExecuteIniFileCmds(const TSubOption& aSubOption);

  // Pieces of the steps.
  // False when the installation was aborted.
  // aAllInstalled: false when a file of the packs could not be installed.
  bool InstallFilesWithMonitor(bool& aAllInstalled);
  void OpenCleanUpScript();
  // Creates a folder with its missing parents and remembers those it created for the record.
  SysResult CreateFolders(const std::string& aPath);
  void WriteCleanUpScript(bool aFinal = false);
  // Takes the single-run lock of the installation in aFolder (SingleRunLock.h) and keeps it
  // until the process ends; false, after saying so, when another run holds it.
  bool LockSystemFolder(const std::string& aFolder);
  // The folder an install run is about to make its system folder, before anything is created.
  std::string PlannedSystemFolder() const;
  bool CheckInstalledSystem();
  std::optional<std::string> SearchForSystem(const std::vector<std::string>& aNames);
  bool VersionChecksPass();
  void LoadUpdatePaths();
  bool SystemInfoRightsPass();
  bool CheckWhereTo();
  std::string InstallPathBelowRoot(const std::string& aRootName) const;
  bool PrepareFolder(const std::string& aRootName, bool aAllowCreate);
  bool AskExistingSystem();
  bool CreateSystemFolder();
  // Puts the list in force into effect: fInstallSize becomes the size of its selection.
  void UseOptionList(TMainOptionList* aList);
  // Gives every option of the list in force its target folder below aBase (the install path)
  // and the chosen install root.
  void SetOptionPaths(const std::string& aBase);
  // The rights tests of the selected options; failures are listed in fInfoLines.
  bool SelectionRightsPass();
  // A silent run's check of the free space on the target drives; false (logged) when short.
  bool SilentSpacePasses();
  void TakeBackStartedRecord();
  void SaveCleanUpScript();
  bool UninstallRecordHasKey() const;
  void WriteUninstallRegistration();
  void WriteUninstallEntryValues(const TRegistryKey& aKey, const std::string& aPath);

  // Pieces of a cleanup run (CleanupRun.cpp).
  bool ReadCleanUpRecord();
  void CleanUpUninstallPrograms();
  void CleanUpRecordedFiles();
  void CleanUpRecordedFolders();
  void CleanUpProgramGroups();
  void CleanUpRegistration();
  bool ForEachCleanUpEntry(const std::string& aFolderKey, const std::string& aFolder,
                           const std::function<bool(const std::string&)>& aName);
  void DeleteCleanUpFile(const std::string& aPath);
  void RemoveCleanUpFolder(const std::string& aFolder);
  void AddCleanUpError(const std::string& aLine);
  TKeepFolder KeepFolder() const;
  void KeepInstallationFiles();
  bool CleanUpStopped();
  bool NetInstallWithoutTerminalServer() const;

  TRunContext& fContext;

  // The channel of the run; fSilentChannel serves a run that was given none.
  std::unique_ptr<IUserChannel> fSilentChannel;
  IUserChannel* fChannel = nullptr;
  bool fLogFailed = false;
  int fStepDepth = 0;  // ExecuteStep calls under way
  TStepTypes fStep = stStart;
  std::vector<TPrevStep> fPrevSteps;
  TStepEvent FOnStep;
  TStepTypes fNextStep = stStart;
  TStepMessage fStepMessage = smNone;
  TStepAction fStepAction = saNone;
  std::string fInfo;
  std::vector<std::string> fInfoLines;
  bool fIsUnPacking = false;
  std::unique_ptr<TProgressMonitor> FProgressMonitor;
  bool fRunFailed = false;
  bool fUserCancelled = false;
  TRunRecord fRunRecord;
  // The cleanup record while the files of an install run are installed.
  std::unique_ptr<TCleanupScript> CleanUpScript;
  void* fStopbtnHandle = nullptr;
  std::vector<std::string> fWorkStationFiles;
  std::vector<std::string> fWorkStationCleanupFiles;
  std::unique_ptr<TCommonFileList> fWorkStationCommonFiles;
  TRunStates fRunExtState = rs_getprog;
  std::string fDiskDrive;
  std::vector<std::string> fCleanUpDirList;
  std::vector<std::string> CleanUpSubDirList;
  bool fStopCleanUp = false;
  bool fCleanUpErrors = false;
  std::vector<std::string> fCleanUpErrorList;
  // The cleanup record that a cleanup run reads.
  std::unique_ptr<TCleanupScript> CleanUpIni;
  // What a cleanup never removes, gathered once per run.
  TProtectedFolders fProtectedFolders;
  // Recorded files that could not be deleted: the folders that hold them are reported too.
  std::vector<std::string> fCleanUpFailedFiles;
  // Files a cleanup never deletes: the running program, its script and language library.
  std::vector<std::string> fCleanUpKeptFiles;
  // Folders already reported as not removable.
  std::vector<std::string> fCleanUpReportedFolders;
  // Folders that this install run created, for the cleanup record.
  std::vector<std::string> fCreatedFolders;
  // The single-run locks this run holds (SingleRunLock.h).
  std::vector<TNamedMutex> fRunLocks;
  std::vector<std::string> fRunLockNames;
  std::string fLogFileName;
  std::unique_ptr<TAppendFile> fLogFile;
  bool fDoLog = false;
  std::string ScandirSystem;
  std::string FoundFile;
  bool CopyExtProg2Net = false;
  int ExtProgIndex = 0;
  int ChoiceIndex = 0;
  int fInstallMode = 0;
  std::int64_t fFreeDiskSpace = 0;
  std::int64_t fInstallSize = 0;
  std::vector<std::string> fErrorLog;
  // What the script's system section and dialog section say, as the loader returned them.
  TSystemInfo fSystemInfo;
  TDialogCaptions fDialogCaptions;
  int fInstmode = 0;
  bool fGroupUpdate = false;
  std::string fRunOnExit;
  bool fDoRunOnExit = false;
  bool fShowWelcomePicture = false;
  std::optional<TWelcomePicture> fWelcomePicture;
  std::vector<TCommonInfo> fStartInfoList;
  std::vector<TCommonInfo> fFinalInfoList;
  TAgreementList FLicensAgreementList;
  int fDeftCustMode = -1;
  bool fOverrideVersionCheck = false;
  bool fAskReboot = false;
  bool fExternalReboot = false;
  bool fdoReboot = false;
  bool fdoLogOffOn = false;
  bool fcmdLineInstallPath = false;
  TChoiceStates FChoiceState = ch_ask;
  TTranslation FTranslation{"UK"};
  std::vector<TUnInstallInfo> fUninstallExternals;
  std::vector<TUnInstallInfo> fWorkStationUninstallExternals;
  std::vector<TFileVersionCheck> fVersionCheckList;
  std::optional<TCleanUpGroup> fCleanUpGrp;

  // The script store of the run, and the user variables that the script defines.
  TScriptFile fScript;
  TUserVariables fUserVariables;
  TExpandContext fExpandContext{fContext, fUserVariables, {}, std::nullopt, {}, {}};
  bool fSystemFoldersRead = false;
  // The machine's INI files and registry as the script's commands change them.
  std::unique_ptr<IIniRegistry> fIniRegistry;
};

}  // namespace vek
