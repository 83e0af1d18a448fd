#pragma once
// The result file of a run, written by the process that ran the engine or ended before it.
#include "app/CmdLine.h"

namespace vek {

class TSetupEngine;

// Writes the result file named by /RESULT:, or beside the log when the run wrote one. A file
// that cannot be written is a log line; the run's exit code stays what it was.
void WriteRunResult(TSetupEngine& aEngine, const TCmdLineSettings& aSettings, int aExitCode);

}  // namespace vek
