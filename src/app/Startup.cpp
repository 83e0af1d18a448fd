#include "app/Startup.h"

#include <windows.h>

#include <exception>
#include <memory>
#include <string_view>

#include "app/CmdLine.h"
#include "app/Relaunch.h"
#include "base/Format.h"
#include "engine/FinishRoutine.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/LoaderRules.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/Process.h"
#include "system/SysInfo.h"
#include "ui/Msgdlg.h"
#include "ui/WizardForm.h"

namespace vek {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitUnknownSwitch = 1;
constexpr int kExitRunFailed = 1;  // a check, a load or the user stopped the run (see the log)
constexpr int kExitFailed = 2;     // the run could not be carried out (see the log)

CmdLineHost RealHost() {
  return {GetProgramPath(),
          [](const std::string& aPath) { return FileExists(aPath); },
          GetFullPathNameOf,
          GetTempDir,
          [](const std::string& aFrom, const std::string& aTo) { return CopyFileOverwrite(aFrom, aTo).ok(); }};
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

int RunEngineHere(TSetupEngine& aEngine) {
  if (aEngine.Silent()) {
    // A silent run is one outermost ExecuteStep.
    aEngine.ExecuteStep();
  } else if (!RunWizard(aEngine)) {
    return kExitFailed;
  }
  if (aEngine.LogFailed()) return kExitFailed;
  // A run the user ended before its work was done did not do what it was asked.
  return aEngine.RunFailed() || aEngine.UserCancelled() ? kExitRunFailed : kExitOk;
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
  engine.LoadScript(context.ScriptFileName);
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
  if (!switches.ok) {
    ReportStartupError(engine, FormatText(LanguageText(txt::Startup_BadSwitch),
                                          {switches.unknownArgument, ExtractFileName(host.programPath)}));
    return engine.LogFailed() ? kExitFailed : kExitUnknownSwitch;
  }

  DecideSourceDirAndRunHere(context, host);
  if (!FileExists(context.ScriptFileName)) {
    ReportStartupError(engine, FormatText(LanguageText(txt::Startup_NoScript), {context.ScriptFileName}));
    return engine.LogFailed() ? kExitFailed : kExitOk;
  }
  if (!context.RemoveSelfOnExit && !context.RunHere) {
    return RelaunchFromTempDir(context, engine) ? kExitOk : kExitFailed;
  }
  if (!context.RunHere) return kExitOk;
  const FinishRoutineScope finish(context, engine);
  try {
    return RunEngineHere(engine);
  } catch (const std::exception& error) {
    engine.Log(std::string("Setup stopped by an error: ") + error.what());
    return kExitFailed;
  }
}

}  // namespace

int RunSetup() {
  const LanguageTableScope languages;
  return RunSetupWithLanguage();
}

}  // namespace vek
