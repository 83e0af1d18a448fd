#pragma once
// Starting processes and reading this process's own command line.
#include <cstdint>
#include <string>

#include "system/SysResult.h"

namespace vek {

// The command line of this process as the system holds it.
std::string GetProcessCommandLine();
// Starts a command line without waiting for it; the new process's handles are closed at once.
SysResult StartProcess(const std::string& aCommandLine);
// Starts a command line and waits for its end, processing window messages meanwhile.
SysResult RunProcessAndWait(const std::string& aCommandLine, std::uint32_t& aExitCode);

}  // namespace vek
