#include "app/Startup.h"

#include <windows.h>

#include <exception>
#include <string_view>

#include "app/CmdLine.h"
#include "app/Relaunch.h"
#include "base/Format.h"
#include "engine/FinishRoutine.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "script/LoaderRules.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/Process.h"
#include "system/SysInfo.h"
#include "system/WinText.h"
#include "ui/Msgdlg.h"

namespace vek {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitUnknownSwitch = 1;
constexpr int kExitRunFailed = 1;  // a check, a load or the user stopped the run (see the log)
constexpr int kExitFailed = 2;     // the run could not be carried out (see the log)

std::string FullPath(const std::string& aPath) {
  wchar_t buffer[32768];
  const DWORD length = ::GetFullPathNameW(Wide(aPath).c_str(), 32768, buffer, nullptr);
  return length == 0 || length >= 32768 ? aPath : Narrow(std::wstring_view(buffer, length));
}

CmdLineHost RealHost() {
  return {GetProgramPath(),
          [](const std::string& aPath) { return FileExists(aPath); },
          FullPath,
          GetTempDir,
          [](const std::string& aFrom, const std::string& aTo) { return CopyFileOverwrite(aFrom, aTo).ok(); }};
}

void ApplySettings(const TCmdLineSettings& aSettings, TSetupEngine& aEngine) {
  aEngine.SetSilent(aSettings.fSilent);
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
  aEngine.Log(aMessage);
  if (!aEngine.Silent()) MessageOk(LanguageText(109), aMessage, mtError);
}

int RunEngineHere(TSetupEngine& aEngine) {
  // A silent run is one outermost ExecuteStep. Until the wizard window exists an interactive
  // run is driven the same way and ends at the first step that waits for the user.
  aEngine.ExecuteStep();
  return aEngine.RunFailed() ? kExitRunFailed : kExitOk;
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
  ApplySettings(settings, engine);
  if (!settings.languageCode.empty()) SelectLanguage(settings.languageCode);
  if (!switches.ok) {
    ReportStartupError(engine, FormatText(LanguageText(107), {switches.unknownArgument,
                                                              ExtractFileName(host.programPath)}));
    return kExitUnknownSwitch;
  }

  DecideSourceDirAndRunHere(context, host);
  if (!FileExists(context.ScriptFileName)) {
    ReportStartupError(engine, FormatText(LanguageText(66), {context.ScriptFileName}));
    return kExitOk;
  }
  if (!context.RemoveSelfOnExit && !context.RunHere) {
    return RelaunchFromTempDir(context, engine) ? kExitOk : kExitFailed;
  }
  if (!context.RunHere) return kExitOk;
  const FinishRoutineScope finish(context, engine);
  try {
    return RunEngineHere(engine);
  } catch (const std::exception& error) {
    // Log only if the log itself is not what failed.
    try {
      engine.Log(std::string("Setup stopped by an error: ") + error.what());
    } catch (const std::exception&) {
    }
    return kExitFailed;
  }
}

}  // namespace

int RunSetup() {
  const LanguageTableScope languages;
  return RunSetupWithLanguage();
}

}  // namespace vek
