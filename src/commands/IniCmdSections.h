#pragma once
// The lines of one sub-option's INI command section ("IIniFiles<i>.<j>", "UIniFiles<i>.<j>")
// turned into its command list. A lone variable definition (a line whose only option is one
// DEFPATH, DEFVAR, DEFVAL or DEFEXISTSVAL token) runs at once, so that the lines after it can
// use the variable, and is not kept. A line starting with "<WSU>" is also parsed a second time
// as a command that records it in the "Inifiles" section of the workstation update file.
#include <string>
#include <vector>

#include "commands/IniCmdRun.h"
#include "commands/IniFileCmd.h"
#include "script/OptionList.h"

namespace vek {

// True for a command whose option set is exactly one variable definition.
bool IsLoneDefinition(const TIniFileCmd& aCmd);

// Empties aList and fills it from aLines in order; "UpdateFirst=" lines are skipped, and a
// command is kept when its file part is not empty.
void LoadIniFileCmds(const std::vector<std::string>& aLines, const TIniCmdParseContext& aContext,
                     const TIniCmdRun& aRun, TOptionList& aList);

}  // namespace vek
