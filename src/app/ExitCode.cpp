#include "app/ExitCode.h"

namespace vek {

int ExitCodeOf(const TRunEnd& aEnd) {
  if (aEnd.notCarriedOut) return kExitNotCarriedOut;
  // A cancel in the wizard also stops the run; the tools want to tell the two apart. A silent
  // run stopped by its own rules (an application or version test) has no user and stays 1.
  if (aEnd.userCancelled) return kExitCancelled;
  if (aEnd.stopped) return kExitStopped;
  return aEnd.restartPending ? kExitRestartNeeded : kExitDone;
}

std::string_view ExitCodeMeaning(int aCode) {
  switch (aCode) {
    case kExitDone: return "done";
    case kExitStopped: return "stopped without doing its work";
    case kExitNotCarriedOut: return "could not be carried out";
    case kExitCancelled: return "cancelled by the user";
    case kExitRestartNeeded: return "done, a restart is needed";
    default: return "unknown";
  }
}

}  // namespace vek
