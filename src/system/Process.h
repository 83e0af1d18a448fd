#pragma once
// Starting processes and reading this process's own command line.
#include <string>

#include "system/SysResult.h"

namespace vek {

// The command line of this process as the system holds it.
std::string GetProcessCommandLine();
// Starts a command line without waiting for it; the new process's handles are closed at once.
SysResult StartProcess(const std::string& aCommandLine);

}  // namespace vek
