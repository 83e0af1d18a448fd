#include "app/RunResultFile.h"

#include "app/ExitCode.h"
#include "engine/ResultFile.h"
#include "engine/SetupEngine.h"
#include "system/Clock.h"
#include "system/Files.h"

namespace vek {
namespace {

std::string ResultFilePath(TSetupEngine& aEngine, const TCmdLineSettings& aSettings,
                           const std::string& aLogFile) {
  if (aSettings.resultFileGiven && !aSettings.resultFile.empty()) return aSettings.resultFile;
  if (aSettings.resultFileGiven) aEngine.Log("/RESULT: names no file; the result goes beside the log");
  return ResultFileBesideLog(aLogFile);
}

}  // namespace

void WriteRunResult(TSetupEngine& aEngine, const TCmdLineSettings& aSettings, int aExitCode) {
  const std::string logFile =
      aEngine.doLog() && FileExists(aEngine.LogFileName()) ? aEngine.LogFileName() : "";
  const std::string path = ResultFilePath(aEngine, aSettings, logFile);
  if (path.empty()) return;
  TRunResult result;
  result.exitCode = aExitCode;
  result.meaning = ExitCodeMeaning(aExitCode);
  result.restartNeeded = aExitCode == kExitRestartNeeded;
  result.runMode = aEngine.Context().RunMode;
  result.installMode = aEngine.InstallMode();
  result.installPath = aEngine.Context().InstallPath;
  result.logFile = logFile;
  result.record = aEngine.RunRecord();
  const LocalDateTime now = GetLocalDateTime();
  result.end = {now.year, now.month, now.day, now.hour, now.minute, now.second};
  // Only a failure is logged: the log of a run ends with the run's own last line.
  if (const SysResult written = WriteResultFile(path, ResultFileBytes(result)); !written) {
    aEngine.Log(FailureLine("Write result file", path, written));
  }
}

}  // namespace vek
