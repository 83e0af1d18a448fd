#pragma once
// Process-wide values of one run: set by the command line and the script loader, changed by
// the engine's steps, read everywhere. One instance lives in the entry point for the whole
// process and is handed to the engine and the loaders by reference.
#include <cstdint>
#include <string>
#include <vector>

namespace vek {

enum TRunMode : std::uint8_t {
  rmInstall,             // 0: install or update the system
  rmCleanUp,             // 1: remove an installation (CLEANUP.INI)
  rmWorkStationSetup,    // 2: set up a client workstation (WSTATION.INI)
  rmWorkStationUpdate,   // 3: update a client workstation (WSUPDATE.INI)
  rmWorkStationCleanUp,  // 4: remove a workstation installation
};

// The runs whose script is a cleanup record; they share their wizard pages.
inline bool IsCleanUpRun(TRunMode aMode) { return aMode == rmCleanUp || aMode == rmWorkStationCleanUp; }

struct TRunContext {
  TRunMode RunMode = rmInstall;
  std::string ScriptFileName;
  std::string SourceDir;
  std::string InstallPath = "C:\\";
  std::string SystemInstallDir;
  std::vector<std::string> InstallRootList;
  int InstallRootIndex = -1;
  std::vector<std::string> SystemDirList;
  int SystemDirIndex = -1;
  std::string WorkStationRootDir;
  bool doNetInstall = false;
  bool doTSInstall = false;
  std::string WsUpdateFileName;
  bool CleanUpInfoFailed = false;

  // The arguments of the process, without the program itself.
  std::vector<std::string> CommandLineArgs;

  // Used by the start-up and the finish routine only.
  bool RemoveSelfOnExit = false;
  bool RemoveScriptOnExit = false;
  bool RunHere = false;
  bool StartedAsSetupExe = false;
  std::string PassOnArgs;
  bool SkipExtVersionCheck = false;
};

}  // namespace vek
