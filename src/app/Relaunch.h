#pragma once
#include "script/RunContext.h"

namespace vek {

class TSetupEngine;

// Copies the program (as "VekSetup.exe") and the script into the temporary folder and starts
// the copy with the handed-on switches and the source folder. False when it could not start.
bool RelaunchFromTempDir(TRunContext& aContext, TSetupEngine& aEngine);

}  // namespace vek
