#pragma once
#include <cstdint>

#include "script/RunContext.h"

namespace vek {

class TSetupEngine;

// Copies the program (as "VekSetup.exe") and the script into the temporary folder and starts
// the copy with the handed-on switches and the source folder. False when it could not start;
// nothing is started when either copy could not be made and checked (a file of that name that
// this run did not write is never run or read as its own).
// With aCopyExitCode the call waits for the copy to end and gives its exit code; this process
// keeps its own file open meanwhile, so a CD it was started from stays in use.
bool RelaunchFromTempDir(TRunContext& aContext, TSetupEngine& aEngine,
                         std::uint32_t* aCopyExitCode = nullptr);

}  // namespace vek
