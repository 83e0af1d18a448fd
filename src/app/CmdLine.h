#pragma once
// The command line: two passes over the arguments. The first chooses the run mode and the
// script; the second reads every other switch and collects the switches that a temporary copy
// of the program is started with. Platform facts come in through CmdLineHost, so the passes
// are plain logic that runs the same in both builds.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "script/RunContext.h"
#include "system/ProgramCommand.h"

namespace vek {

struct CmdLineHost {
  std::string programPath;  // full path of this program's file
  std::function<bool(const std::string&)> fileExists;
  std::function<std::string(const std::string&)> fullPath;               // absolute form of a path
  std::function<std::string()> tempDir;                                  // ends with a delimiter
  std::function<bool(const std::string&, const std::string&)> copyFile;  // a fresh copy in place of any file there
};

// The engine fields that the command line sets.
struct TCmdLineSettings {
  bool fSilent = false;
  bool doLog = false;
  int fInstmode = 0;       // 1 install, 2 update
  int fDeftCustMode = -1;  // 0 ask, 1 default options, 2 custom options
  bool fcmdLineInstallPath = false;
  std::string fRunOnExit;
  bool fOverrideVersionCheck = false;
  std::string languageCode;      // from /LANG:, upper case; empty when not given
  bool waitForCopy = false;      // /WAIT: the first process waits for its temporary copy
  bool resultFileGiven = false;  // /RESULT: was on the command line (its path may be empty)
  std::string resultFile;        // the path after /RESULT:, quotes removed
  bool showHelp = false;         // /? or /HELP
};

// Splits a command line as the classic runtime does: blanks separate arguments outside double
// quotes, quotes are removed, backslashes are plain characters. The program name is the first.
std::vector<std::string> SplitCommandLine(std::string_view aCommandLine);

// Start-up step 3 and the first pass. aArgs excludes the program name.
void ChooseRunModeAndScript(const std::vector<std::string>& aArgs, TRunContext& aContext,
                            TCmdLineSettings& aSettings, const CmdLineHost& aHost);

struct SecondPassResult {
  bool ok = true;
  std::string unknownArgument;  // the first argument no switch accepted
};

// The second pass. An unknown argument makes the result fail; the first one is reported.
SecondPassResult ReadSwitches(const std::vector<std::string>& aArgs, TRunContext& aContext,
                              TCmdLineSettings& aSettings, const CmdLineHost& aHost);

// Start-up steps 8 and 10: the source folder and whether this process runs the engine.
void DecideSourceDirAndRunHere(TRunContext& aContext, const CmdLineHost& aHost);

// The temporary copy at aCopyPath and the arguments it is started with.
TProgramCommand RelaunchCommand(const std::string& aCopyPath, const TRunContext& aContext);

// A value handed on after "/I:", "/U:" or "/L:": quoted when it holds a blank and is not
// already quoted at either end.
std::string QuoteValue(const std::string& aValue);

}  // namespace vek
