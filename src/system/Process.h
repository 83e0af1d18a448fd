#pragma once
// Starting processes and reading this process's own command line.
#include <cstdint>
#include <string>

#include "system/ProgramCommand.h"
#include "system/SysResult.h"

namespace vek {

// The command line of this process as the system holds it.
std::string GetProcessCommandLine();

// A started program. It is named to the system by its full path, so the system never searches
// for it; its command line is the quoted path and the arguments as written.
class TProcess {
 public:
  TProcess() = default;
  TProcess(const TProcess&) = delete;
  TProcess& operator=(const TProcess&) = delete;
  ~TProcess();

  // A program that is not a full path is refused (error 2) without a start.
  SysResult Start(const TProgramCommand& aCommand);
  // Waits for the program's end, processing window messages meanwhile.
  SysResult Wait(std::uint32_t& aExitCode);

 private:
  void* fProcess = nullptr;
};

// Starts a program without waiting for it.
SysResult StartProcess(const TProgramCommand& aCommand);
// Starts a program and waits for its end, processing window messages meanwhile.
SysResult RunProcessAndWait(const TProgramCommand& aCommand, std::uint32_t& aExitCode);

}  // namespace vek
