#include "app/Startup.h"

#include <windows.h>

#include <exception>
#include <memory>
#include <string_view>

#include "app/CmdLine.h"
#include "app/ExitCode.h"
#include "app/HelpText.h"
#include "app/ParentConsole.h"
#include "app/Relaunch.h"
#include "app/RunResultFile.h"
#include "base/Format.h"
#include "engine/FinishRoutine.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/LoaderRules.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/PrivateCopy.h"
#include "system/Process.h"
#include "system/SysInfo.h"
#include "ui/Msgdlg.h"
#include "ui/WizardForm.h"

namespace vek {
namespace {

constexpr int kExitOk = kExitDone;
constexpr int kExitUnknownSwitch = kExitStopped;
constexpr int kExitRunFailed = kExitStopped;     // a check, a load or the user stopped the run (see the log)
constexpr int kExitFailed = kExitNotCarriedOut;  // the run could not be carried out (see the log)

CmdLineHost RealHost() {
  return {GetProgramPath(),
          [](const std::string& aPath) { return FileExists(aPath); },
          GetFullPathNameOf,
          GetTempDir,
          // A copy in the temporary folder that the run reads as its script: made anew, never
          // a file of that name that someone else left there.
          [](const std::string& aFrom, const std::string& aTo) { return TPrivateCopy().Make(aFrom, aTo).ok(); }};
}

void ApplySettings(const TCmdLineSettings& aSettings, TSetupEngine& aEngine) {
  aEngine.SetdoLog(aSettings.doLog);
  aEngine.SetInstmode(aSettings.fInstmode);
  aEngine.SetDeftCustMode(aSettings.fDeftCustMode);
  aEngine.SetcmdLineInstallPath(aSettings.fcmdLineInstallPath);
  aEngine.SetRunOnExit(aSettings.fRunOnExit);
  aEngine.SetDoRunOnExit(false);
  aEngine.SetOverrideVersionCheck(aSettings.fOverrideVersionCheck);
}

// Shows an error of the start-up unless silent, and logs it when logging is on.
void ReportStartupError(TSetupEngine& aEngine, const std::string& aMessage) {
  aEngine.LogAndShowMsg(LanguageText(txt::Msg_SetupError), aMessage, mtError);
}

// An interactive run: the wizard drives the engine from its message loop until it closes.
// False when an error escaped a step.
bool RunWizard(TSetupEngine& aEngine) {
  TWizardForm wizard;
  wizard.SetSetup(&aEngine);
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  wizard.Run();
  return !wizard.Failed();
}

// The exit code of a run that went through the engine, silent or with the wizard.
int ExitCodeOfEngine(const TSetupEngine& aEngine) {
  return ExitCodeOf(
      {aEngine.LogFailed(), aEngine.RunFailed(), aEngine.UserCancelled(), aEngine.RestartPending()});
}

// /? and /HELP: the switches in the language of the run, in a message box (unless silent) and
// on the console the program was started from.
void ShowHelp(const std::string& aProgramName, bool aSilent) {
  const std::string text = HelpText(aProgramName);
  WriteToParentConsole(text);
  if (!aSilent) MessageOk(LanguageText(txt::Msg_Information), text, mtInformation);
}

int RunEngineHere(TSetupEngine& aEngine) {
  if (aEngine.Silent()) {
    // A silent run is one outermost ExecuteStep.
    aEngine.ExecuteStep();
  } else if (!RunWizard(aEngine)) {
    return kExitFailed;
  }
  return ExitCodeOfEngine(aEngine);
}

// Releases the language table on every way out of the run.
struct LanguageTableScope {
  LanguageTableScope() { OpenLanguageTable(); }
  ~LanguageTableScope() { CloseLanguageTable(); }
  LanguageTableScope(const LanguageTableScope&) = delete;
  LanguageTableScope& operator=(const LanguageTableScope&) = delete;
};

// Runs the finish routine when the engine's run ends, by a return or by an error.
class FinishRoutineScope {
 public:
  FinishRoutineScope(const TRunContext& aContext, TSetupEngine& aEngine)
      : fContext(aContext), fEngine(aEngine) {}
  ~FinishRoutineScope() {
    try {
      RunFinishRoutine(fContext, [this](const std::string& aLine) { LogQuietly(aLine); });
    } catch (const std::exception& error) {
      LogQuietly("Finish routine stopped by an error: ", error.what());
    }
  }
  FinishRoutineScope(const FinishRoutineScope&) = delete;
  FinishRoutineScope& operator=(const FinishRoutineScope&) = delete;

 private:
  // A log that cannot be written must not keep the files from being cleaned up.
  void LogQuietly(std::string_view aText, std::string_view aDetail = {}) const noexcept {
    try {
      fEngine.Log(std::string(aText).append(aDetail));
    } catch (...) {
    }
  }

  const TRunContext& fContext;
  TSetupEngine& fEngine;
};

// What follows the switches: their report, the script check, the hand-over to a temporary
// copy or the run here. aHandedOver tells that a copy took the run over.
int RunAfterSwitches(TRunContext& aContext, TSetupEngine& aEngine, const TCmdLineSettings& aSettings,
                     const SecondPassResult& aSwitches, const CmdLineHost& aHost, bool& aHandedOver) {
  if (!aSwitches.ok) {
    ReportStartupError(aEngine, FormatText(LanguageText(txt::Startup_BadSwitch),
                                           {aSwitches.unknownArgument, ExtractFileName(aHost.programPath)}));
    return aEngine.LogFailed() ? kExitFailed : kExitUnknownSwitch;
  }

  DecideSourceDirAndRunHere(aContext, aHost);
  if (!FileExists(aContext.ScriptFileName)) {
    ReportStartupError(aEngine, FormatText(LanguageText(txt::Startup_NoScript), {aContext.ScriptFileName}));
    return aEngine.LogFailed() ? kExitFailed : kExitOk;
  }
  if (!aContext.RemoveSelfOnExit && !aContext.RunHere) {
    std::uint32_t copyExitCode = kExitOk;
    aHandedOver = RelaunchFromTempDir(aContext, aEngine, aSettings.waitForCopy ? &copyExitCode : nullptr);
    if (!aHandedOver) return kExitFailed;
    return static_cast<int>(copyExitCode);
  }
  if (!aContext.RunHere) return kExitOk;
  const FinishRoutineScope finish(aContext, aEngine);
  try {
    return RunEngineHere(aEngine);
  } catch (const std::exception& error) {
    aEngine.Log(std::string("Setup stopped by an error: ") + error.what());
    return kExitFailed;
  }
}

int RunSetupWithLanguage() {
  TRunContext context;
  TSetupEngine engine(context);
  const CmdLineHost host = RealHost();
  context.doTSInstall = IsTerminalServer();
  context.ScriptFileName = ChangeFileExt(host.programPath, ".INI");

  std::vector<std::string> args = SplitCommandLine(GetProcessCommandLine());
  if (!args.empty()) args.erase(args.begin());  // the program itself
  context.CommandLineArgs = args;
  TCmdLineSettings settings;
  ChooseRunModeAndScript(args, context, settings, host);

  // The script (an empty store when it is missing) chooses the language of the run, with the
  // system's locale mapped through its "Language" section.
  engine.LoadScript(context.ScriptFileName, IsCleanUpRun(context.RunMode));
  SelectLanguage(ReadLanguageCode(engine.Script(), true, GetThreadLocaleId()));

  const SecondPassResult switches = ReadSwitches(args, context, settings, host);
  // Messages and questions go to the user through the message dialog, or into the log alone
  // in a silent run.
  std::unique_ptr<IUserChannel> channel;
  if (!settings.fSilent) {
    channel = std::make_unique<TDialogChannel>([&engine](const std::string& aLine) { engine.Log(aLine); });
  }
  engine.SetChannel(channel.get());
  ApplySettings(settings, engine);
  if (!settings.languageCode.empty()) SelectLanguage(settings.languageCode);
  if (settings.showHelp) {
    ShowHelp(ExtractFileName(host.programPath), settings.fSilent);
    return kExitOk;
  }
  bool handedOver = false;
  const int exitCode = RunAfterSwitches(context, engine, settings, switches, host, handedOver);
  // A copy that took over writes the result of the run itself.
  if (!handedOver) WriteRunResult(engine, settings, exitCode);
  return exitCode;
}

}  // namespace

int RunSetup() {
  const LanguageTableScope languages;
  return RunSetupWithLanguage();
}

}  // namespace vek
