#include "app/Relaunch.h"

#include "app/CmdLine.h"
#include "base/Format.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/Process.h"

namespace vek {
namespace {

// Copies one file for the relaunch; a failure is reported and the relaunch goes on.
void CopyForRelaunch(TSetupEngine& aEngine, const std::string& aFrom, const std::string& aTo,
                     const std::string& aShownPath) {
  if (const SysResult copied = CopyFileOverwrite(aFrom, aTo); !copied) {
    aEngine.Log(FailureLine("Copy", aFrom + " > " + aTo, copied));
    aEngine.LogAndShowMsg(LanguageText(txt::Msg_SetupError),
                          FormatText(LanguageText(txt::Startup_CopyErr), {-1, aShownPath}), mtError);
  }
  (void)ClearFileAttributes(aTo);
}

}  // namespace

bool RelaunchFromTempDir(TRunContext& aContext, TSetupEngine& aEngine, std::uint32_t* aCopyExitCode) {
  const std::string copy = GetTempDir() + "VekSetup.exe";
  CopyForRelaunch(aEngine, GetProgramPath(), copy, copy);
  const std::string scriptCopy = ChangeFileExt(copy, ".ini");
  CopyForRelaunch(aEngine, aContext.ScriptFileName, scriptCopy, aContext.ScriptFileName + " > " + scriptCopy);
  // The language table travels inside the program file, so no language library is copied.
  const std::string commandLine = RelaunchCommandLine(copy, aContext);
  aEngine.Log("Restarting from the temporary folder: " + commandLine);
  const SysResult started =
      aCopyExitCode ? RunProcessAndWait(commandLine, *aCopyExitCode) : StartProcess(commandLine);
  if (!started) {
    aEngine.Log(FailureLine("Start", commandLine, started));
    return false;
  }
  if (aCopyExitCode) aEngine.Log("The temporary copy ended with exit code " + std::to_string(*aCopyExitCode));
  return true;
}

}  // namespace vek
