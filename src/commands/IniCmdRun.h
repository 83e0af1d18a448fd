#pragma once
// What running INI and registry commands needs from the run: the machine's INI files and
// registry, the user variables that definitions fill, the run-wide flags that NET, NONET, TS
// and NOTS test, the %SYSDIR% encoding of values, the channel for failure reports and the log.
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/UserChannel.h"
#include "commands/IniFileCmd.h"
#include "script/OptionList.h"
#include "script/UserVariables.h"
#include "system/IniRegistryAccess.h"

namespace vek {

struct TIniCmdRun {
  IIniRegistry& System;
  TUserVariables& Variables;
  IUserChannel& Channel;  // failure reports: shown unless the run is silent, always logged
  bool NetInstall = false;  // doNetInstall
  bool TSInstall = false;   // doTSInstall
  // The run's %SYSDIR% encoding of a value; unset: values stay as they are.
  std::function<std::string(std::string_view)> EncodeSysDir;
  // Appends one line to the setup log; unset when logging is off.
  std::function<void(const std::string&)> Log;
};

// A registry command whose file part is not a root name of the table.
class EUnknownRegistryRootKey : public std::runtime_error {
 public:
  explicit EUnknownRegistryRootKey(const std::string& aName)
      : std::runtime_error("Unknown Registry RootKey : " + aName) {}
};

// Runs every command of aList in list order; items that are not commands are skipped, and an
// absent list does nothing.
void ExecuteIniFileCmds(const TOptionList* aList, const TIniCmdRun& aRun);

}  // namespace vek
