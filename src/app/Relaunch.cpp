#include "app/Relaunch.h"

#include "app/CmdLine.h"
#include "base/Format.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/PrivateCopy.h"
#include "system/Process.h"

namespace vek {
namespace {

// Copies one file for the relaunch; a failure is reported and ends the relaunch: the temporary
// folder may hold a file of that name that someone else left there.
bool CopyForRelaunch(TSetupEngine& aEngine, const std::string& aFrom, const std::string& aTo,
                     const std::string& aShownPath, TPrivateCopy& aCopy) {
  const SysResult copied = aCopy.Make(aFrom, aTo);
  if (copied) return true;
  aEngine.Log(FailureLine(copied));
  aEngine.LogAndShowMsg(LanguageText(txt::Msg_SetupError),
                        FormatText(LanguageText(txt::Startup_CopyErr), {-1, aShownPath}), mtError);
  return false;
}

}  // namespace

bool RelaunchFromTempDir(TRunContext& aContext, TSetupEngine& aEngine, std::uint32_t* aCopyExitCode) {
  const std::string copy = GetTempDir() + "VekSetup.exe";
  TPrivateCopy program;
  if (!CopyForRelaunch(aEngine, GetProgramPath(), copy, copy, program)) return false;
  const std::string scriptCopy = ChangeFileExt(copy, ".ini");
  TPrivateCopy script;
  if (!CopyForRelaunch(aEngine, aContext.ScriptFileName, scriptCopy,
                       aContext.ScriptFileName + " > " + scriptCopy, script)) {
    return false;
  }
  // The language table travels inside the program file, so no language library is copied.
  const TProgramCommand command = RelaunchCommand(copy, aContext);
  aEngine.Log("Restarting from the temporary folder: " + ProgramCommandLine(command));
  TProcess started;
  const SysResult start = started.Start(command);
  // Held until the copy has started: it deletes its script copy itself when it ends.
  program.Release();
  script.Release();
  if (!start) {
    aEngine.Log(FailureLine(start));
    return false;
  }
  if (!aCopyExitCode) return true;
  if (const SysResult waited = started.Wait(*aCopyExitCode); !waited) {
    aEngine.Log(FailureLine("Wait for", copy, waited));
    return false;
  }
  aEngine.Log("The temporary copy ended with exit code " + std::to_string(*aCopyExitCode));
  return true;
}

}  // namespace vek
