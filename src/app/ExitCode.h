#pragma once
// The process exit code: one decision from how the run ended. Deployment tools read these
// numbers, so they never change meaning; README.md lists them.
#include <string_view>

namespace vek {

inline constexpr int kExitDone = 0;              // the run did its work
inline constexpr int kExitStopped = 1;           // stopped without doing its work (see the log)
inline constexpr int kExitNotCarriedOut = 2;     // the run could not be carried out
inline constexpr int kExitCancelled = 1602;      // the user cancelled the wizard
inline constexpr int kExitRestartNeeded = 3010;  // done; a restart is needed and was not made

// How a run ended, as the start-up and the engine know it.
struct TRunEnd {
  bool notCarriedOut = false;   // an error escaped, the log could not be written, no copy started
  bool stopped = false;         // a check, a load, an abort or the user stopped the run
  bool userCancelled = false;   // the user ended the wizard before the work was done
  bool restartPending = false;  // the work needs a restart that this run did not make
};

int ExitCodeOf(const TRunEnd& aEnd);

// One short English phrase per exit code, for the result file ("unknown" for any other code).
std::string_view ExitCodeMeaning(int aCode);

}  // namespace vek
