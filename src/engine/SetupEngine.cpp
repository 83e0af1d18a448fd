#include "engine/SetupEngine.h"

#include "archive/ZipFiles.h"
#include "base/Format.h"
#include "base/Utf.h"
#include "commands/SystemValueSource.h"
#include "commands/ValueReference.h"
#include "engine/NotBuilt.h"
#include "engine/SetupLog.h"
#include "language/LanguageText.h"
#include "script/LoaderRules.h"
#include "script/ScriptEncoding.h"
#include "script/ScriptLoader.h"
#include "script/ScriptText.h"
#include "script/ScriptTranslations.h"
#include "system/AnsiCodePage.h"
#include "system/Clock.h"
#include "system/Drives.h"
#include "system/Files.h"
#include "system/Folders.h"
#include "system/PathText.h"
#include "system/SysInfo.h"

namespace vek {
namespace {

// The local date and time for %NOW%.
std::string NowText() {
  const LocalDateTime now = GetLocalDateTime();
  return FormatText("%04d-%02d-%02d %02d:%02d:%02d", {now.year, now.month, now.day, now.hour, now.minute, now.second});
}

// "ddmmyyyyhhmm": the time stamp of a workstation update file.
std::string WsUpdateStamp() {
  const LocalDateTime now = GetLocalDateTime();
  return FormatText("%02d%02d%04d%02d%02d", {now.day, now.month, now.year, now.hour, now.minute});
}

// The text as a UTF-16 little-endian file with its byte-order mark, the form in which the
// profile functions keep writing UTF-16 to the file later.
std::string Utf16FileBytes(std::string_view aText) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : Utf8ToUtf16(aText)) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace

TSetupEngine::TSetupEngine(TRunContext& aContext, IUserChannel* aChannel)
    : fContext(aContext),
      fSilentChannel(std::make_unique<TSilentChannel>([this](const std::string& aLine) { Log(aLine); })) {
  SetChannel(aChannel);
  const LocalDateTime now = GetLocalDateTime();
  fRunRecord.start = {now.year, now.month, now.day, now.hour, now.minute, now.second};
  fLogFileName = MakeLogFileName(GetTempDir(), ExtractFileName(GetProgramPath()),
                                 {now.year, now.month, now.day, now.hour, now.minute, now.second});
  fExpandContext.Now = NowText;
  fExpandContext.CreateWsUpdateFile = [this] { return CreateWsUpdateFile(); };
}

void TSetupEngine::LoadScript(const std::string& aFileName, bool aCleanUpRecord) {
  OpenScriptFile(fScript, aFileName, aCleanUpRecord ? RecordFileListsLeftOut : TScriptFile::TLinesFilterMaker{});
  LoadScriptTranslations(FTranslation, fScript.Store());
}

TExpandContext& TSetupEngine::ExpandContext() {
  if (!fSystemFoldersRead) {
    fExpandContext.Folders = {GetWindowsDir(), GetSystemDir(), GetCommonFilesDir(), GetProgramFilesDir(),
                              GetWinVersion().ntFamily};
    fSystemFoldersRead = true;
  }
  // %LCID% and %LANGCODE% wait for the language choice and its selected option.
  fExpandContext.Language.reset();
  return fExpandContext;
}

std::string TSetupEngine::ExpandText(std::string_view aText, const TExpandScope& aScope) {
  return ExpandVars(ExpandContext(), aScope, aText);
}

TIniCmdParseContext TSetupEngine::IniCmdParseContext(const TExpandScope& aScope) {
  return {ExpandContext(), aScope, fSystemInfo.EncodeSysDir,
          [this](std::string_view aText) { return FTranslation.Translate(aText); }};
}

std::string TSetupEngine::ReadCommandValue(std::string_view aReference) {
  const TSystemValueSource disk;
  return CommandValueReference(disk, fScript.LangCode(), IniCmdParseContext(), aReference);
}

std::string TSetupEngine::TranslateText(std::string_view aText, bool doTranslateVars) {
  // The language of the run may change after the script was loaded (/LANG:, the language page).
  const std::string translated = FTranslation.Translate(CurrentLanguageCode(), aText);
  if (doTranslateVars && translated != aText) return ExpandText(translated);
  return translated;
}

std::string TSetupEngine::CreateWsUpdateFile() {
  const std::string stamp = WsUpdateStamp();
  std::string name = JoinPath(fContext.SystemInstallDir, "ws" + stamp + ".wsupdate");
  for (int k = 1; FileExists(name) && k < 100000; ++k) {
    name = JoinPath(fContext.SystemInstallDir, "ws" + stamp + "-" + std::to_string(k) + ".wsupdate");
  }
  const SysResult created =
      AppendToFile(name, Utf16FileBytes("[WorkStation Update]\r\ncreated=" + stamp + "\r\n"));
  if (!created) Log(FailureLine("Create", name, created));
  return name;
}

TSetupEngine::~TSetupEngine() = default;

bool TSetupEngine::NotifyStep(TStepAction aAction, TStepMessage aMessage) {
  if (!FOnStep) return false;
  fStepAction = aAction;
  fStepMessage = aMessage;
  FOnStep(*this);
  return true;
}

void TSetupEngine::ExecuteStep() {
  const TStepTypes step = fNextStep;
  fStep = step;
  fStepAction = saEnter;
  fStepMessage = smNone;
  if (FOnStep) FOnStep(*this);
  ++fStepDepth;
  try {
    Log(GetStepName(step));
    GoOn(PerformStep(step));
  } catch (const TLogWriteError&) {
    // The step stopped where its log line was lost; GoOn performs nothing after it.
    fRunFailed = true;
  }
  --fStepDepth;
  // Steps performed inside this one have changed Step; the front end must see this step's
  // own leave, after theirs: enter(A), enter(B), leave(B), leave(A).
  const TStepTypes latest = fStep;
  fStep = step;
  fStepAction = saLeave;
  fStepMessage = smNone;
  if (FOnStep) FOnStep(*this);
  // Afterwards Step is the step the sequence stopped at, which the front end's buttons act on.
  fStep = latest;
}

void TSetupEngine::ExecuteStepIfSilent() {
  if (Silent()) ExecuteStep();
}

void TSetupEngine::GoOn(const TStepOutcome& aOutcome) {
  // A check that fails and waits for the user (a wrong folder, rights that the selection needs)
  // is not the run's verdict: the user may still go back and change it, or end the run, which
  // the front end reports itself. A run without a user ends there, failed.
  if (aOutcome.failed && (aOutcome.goOn != goWait || Silent())) fRunFailed = true;
  // A log that cannot be written any more ends the run where it stands: a run that cannot
  // explain itself must not go on changing the machine.
  if (fLogFailed) return;
  if (aOutcome.goOn == goEnd) return;
  fNextStep = aOutcome.next;
  if (aOutcome.goOn == goAtOnce || (aOutcome.goOn == goIfSilent && Silent())) ExecuteStep();
}

void TSetupEngine::UseOptionList(TMainOptionList* aList) {
  MainOptionList = aList;
  fInstallSize = aList ? aList->SelectedSize() : 0;
}

void TSetupEngine::ExecuteUseDefaultOptions() { GoOn(UseDefaultOptions()); }

void TSetupEngine::ExecuteUseCustomOptions() { GoOn(UseCustomOptions()); }

TStepOutcome TSetupEngine::UseDefaultOptions() {
  Log("   Use Default Options");
  UseOptionList(NormalMainOptionList.get());
  return TStepOutcome::AtOnce(stExecuteChoices);
}

TStepOutcome TSetupEngine::UseCustomOptions() {
  Log("   Use Custom Options");
  // A front end may choose before stDeftCust made the copy; the copy is made then.
  if (!CustomMainOptionList && NormalMainOptionList) {
    CustomMainOptionList = std::make_unique<TMainOptionList>();
    CustomMainOptionList->Assign(*NormalMainOptionList);
  }
  UseOptionList(CustomMainOptionList.get());
  return TStepOutcome::AtOnce(stIoptions);
}

void TSetupEngine::UpdatePrevSteps() {
  bool push = false;
  switch (fStep) {
    case stStart:
    case stShowWelcomePicture:
    case stInstUpd:
    case stIoptions:
    case stInstallFiles:
    case stCleanUpStart:
      push = true;
      break;
    case stSelectLanguage: push = false; break;  // the language choice has no options yet
    case stDeftCust: push = fDeftCustMode == 0; break;
    case stWhereTo: push = !fcmdLineInstallPath; break;
    case stExecuteChoices: push = ChoiceIndex == 0; break;
    case stAppRunTest:
    case stSetLanguage:
    case StStartInfo:
    case stSmallFontTest:
    case stAcceptLicens:
    case StReadInstallIniExternals:
    case stIconfirm:
    case StReadInstallIniOptions:
    case stUpdGroups:
    case stDoUpdGroups:
    case stDoForceUpdGroups:
    case stUpdUnInstallInfo:
    case stCopyExternals:
    case stExecuteExternals:
    case stCheckWhereTo:
    case stVerifySystemInfoUserRights:
    case stVerifyUserRights:
    case stCleanUpDirInfo:
    case stCleanUpExecute:
    case stCleanUpShowErrors:
    case stFinishGenWorkStation:
    case stFinishCleanUp:
    case stFinalInfo:
    case stFinish:
    case stTerminate:
    case stWait:
      break;
  }
  if (push) SetPrevStep(fStep);
}

TStepTypes TSetupEngine::PrevStep() {
  if (fPrevSteps.empty()) return stStart;
  const TStepTypes step = fPrevSteps.back().PrevStep;
  fPrevSteps.pop_back();
  return step;
}

void TSetupEngine::Log(const std::string& aLogMessage) {
  if (!fDoLog) return;
  // The file stays open between lines: an extraction logs one line per file.
  if (!fLogFile || fLogFile->Path() != fLogFileName) fLogFile = std::make_unique<TAppendFile>(fLogFileName);
  const SysResult first = fLogFile->Append(LogLine(aLogMessage));
  if (first) return;
  // Keep the run going as long as the reason for the lost line can be written instead.
  const std::string reason = FailureLine("Append to", fLogFileName, first);
  if (fLogFile->Append(LogLine(reason))) return;
  fLogFailed = true;
  if (fStepDepth > 0) throw TLogWriteError(reason);
}

void TSetupEngine::LogAndShowMsg(const std::string& aCaption, const std::string& aMsg, int aType) {
  fChannel->ShowMessage(aCaption, aMsg, static_cast<TMsgDlgType>(aType & 0x7F));
}

TLoaderEnv TSetupEngine::LoaderEnv() {
  TLoaderEnv env;
  env.expand = [this](std::string_view aText) { return ExpandText(aText); };
  env.translate = [this](std::string_view aText) { return TranslateText(aText, true); };
  env.defineVariable = [this](const std::string& aName, const std::string& aValue) {
    fUserVariables.SetVariable(aName, aValue);
  };
  env.channel = fChannel;
  env.winMajor = GetWinVersion().major;
  env.freeSpace = [] { return GetDiskFreeSpace(GetCurrentDir()); };
  env.fileExists = [](const std::string& aPath) { return FileExists(aPath); };
  env.packFiles = &NativeZipFiles();
  return env;
}

void TSetupEngine::LoadSystemSection() {
  std::optional<TSystemInfo> info = LoadSystemInfo(fScript, fContext, LoaderEnv());
  if (!info) return;
  fSystemInfo = std::move(*info);
  if (fInstmode == 0) fInstmode = fSystemInfo.Installmode;
  if (fInstmode == 0) fInstallMode = 2;
  fFreeDiskSpace = fSystemInfo.FreeDiskSpace;
}

// The agreements and the picture are blocks of lines in the script file, not keys, so the file
// is read again as text, once for all of them.
void TSetupEngine::LoadScriptBlocks() {
  std::string bytes;
  (void)ReadWholeFile(fScript.FileName(), bytes);  // an unreadable file has no blocks
  const std::vector<std::string> lines = SplitTextLines(DecodeScriptBytes(bytes, AnsiToUtf8));
  const std::string code = CurrentLanguageCode();
  FLicensAgreementList = vek::LoadAgreements(lines, fScript,
                                             code.empty() ? std::vector<std::string>{} : std::vector<std::string>{code});
  fWelcomePicture.reset();
  fShowWelcomePicture = false;
  std::optional<TWelcomePictureResult> picture = LoadWelcomePicture(lines);
  if (!picture) return;
  if (!picture->Picture) {
    Log("Welcome picture not shown: " + picture->Reason);
    return;
  }
  fWelcomePicture = std::move(picture->Picture);
  fShowWelcomePicture = true;
}

const TAgreement* TSetupEngine::LicensAgreement() const {
  return FindAgreement(FLicensAgreementList, CurrentLanguageCode());
}

bool TSetupEngine::hasLicenseAgreementTest() const {
  return AgreementTestDue(LicensAgreement(), fSystemInfo.LicensAgreementTest);
}

TInfoTextEnv TSetupEngine::InfoTextEnv() {
  TInfoTextEnv env;
  env.translate = [this](std::string_view aText) { return FTranslation.Translate(CurrentLanguageCode(), aText); };
  env.expand = [this](std::string_view aText) { return ExpandText(aText); };
  env.readLines = [](const std::string& aFileName, std::vector<std::string>& aLines) {
    std::string bytes;
    if (!ReadWholeFile(aFileName, bytes)) return false;
    aLines = SplitTextLines(DecodeScriptBytes(bytes, AnsiToUtf8));
    return true;
  };
  return env;
}

bool TSetupEngine::LoadOptions() {
  fInstallSize = 0;
  std::optional<TOptionSet> set = LoadOptionSet(fScript, fInstallMode, fContext, LoaderEnv());
  if (!set) return false;
  const std::string prefix = InstallPrefix(fInstallMode);
  const auto expand = [this](std::string_view aText) { return ExpandText(aText); };
  fStartInfoList = LoadInfoPages(fScript, prefix + "StartInfo", expand);
  fFinalInfoList = LoadInfoPages(fScript, prefix + "FinalInfo", expand);
  fDialogCaptions = set->Captions;
  if (fDeftCustMode == -1) fDeftCustMode = set->Captions.DeftCustMode;
  NormalMainOptionList = std::move(set->Options);
  MainOptionList = NormalMainOptionList.get();
  fInstallSize = set->InstallSize;
  fFreeDiskSpace = set->FreeDiskSpace;
  return true;
}

void TSetupEngine::LogWhatIsNotBuilt() {
  for (const std::string& line : NotBuiltLines(fScript.Store())) Log(line);
}

void TSetupEngine::LoadUninstallExternals() {
  TUninstallExternals externals = vek::LoadUninstallExternals(fScript, LoaderEnv());
  fUninstallExternals = std::move(externals.Local);
  fWorkStationUninstallExternals = std::move(externals.WorkStation);
}

}  // namespace vek
