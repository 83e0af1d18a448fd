#include "app/CmdLine.h"

#include <array>

#include "base/CaseMap.h"
#include "system/PathText.h"

namespace vek {
namespace {

enum class Match { exact, prefix };

// Run-mode switches of the first pass; the first argument that matches one ends the pass.
enum class ModeSwitch {
  cleanUp, runCleanUp, uninstall, workStation, workStationSetup, workStationUpdateShort,
  workStationUpdate, uninstallWorkStation, cleanUpWorkStation, runCleanUpWorkStation, count
};

struct ModeSwitchRow {
  std::string_view text;
  Match match;
  ModeSwitch id;
};

constexpr std::array<ModeSwitchRow, static_cast<std::size_t>(ModeSwitch::count)> kModeSwitches{{
    {"/CLEANUP", Match::exact, ModeSwitch::cleanUp},
    {"/RUNCLEANUP", Match::exact, ModeSwitch::runCleanUp},
    {"/UNINSTALL", Match::exact, ModeSwitch::uninstall},
    {"/G", Match::exact, ModeSwitch::workStation},
    {"/WORKSTATIONSETUP", Match::exact, ModeSwitch::workStationSetup},
    {"/GU", Match::prefix, ModeSwitch::workStationUpdateShort},
    {"/WORKSTATIONUPDATE:", Match::prefix, ModeSwitch::workStationUpdate},
    {"/UNINSTALLWORKSTATION", Match::exact, ModeSwitch::uninstallWorkStation},
    {"/CLEANUPWORKSTATION", Match::exact, ModeSwitch::cleanUpWorkStation},
    {"/RUNCLEANUPWORKSTATION", Match::exact, ModeSwitch::runCleanUpWorkStation},
}};

// General switches of the second pass, in the order they are tried.
enum class Switch {
  silentQ, silentQN, silentY, language, install, installTo, update, updateTo, runOnExit, log,
  defaultOptions, customOptions, askOptions, sourceDir, network, terminalServer, workStation,
  workStationUpdateShort, overrideVersion, skipExtVersion, workStationSetup, workStationUpdate, wait, resultFile,
  helpShort, help, count
};

struct SwitchRow {
  std::string_view text;
  Match match;
  Switch id;
  std::string_view passOn;  // appended to PassOnArgs as it stands (values are added after)
};

constexpr std::array<SwitchRow, static_cast<std::size_t>(Switch::count)> kSwitches{{
    {"/Q", Match::exact, Switch::silentQ, " /Q"},
    {"/QN", Match::exact, Switch::silentQN, " /Q"},
    {"/Y", Match::exact, Switch::silentY, " /Q"},
    {"/LANG:", Match::prefix, Switch::language, ""},
    {"/I", Match::exact, Switch::install, " /I"},
    {"/I:", Match::prefix, Switch::installTo, " /I:"},
    {"/U", Match::exact, Switch::update, " /U"},
    {"/U:", Match::prefix, Switch::updateTo, " /U:"},
    {"/L:", Match::prefix, Switch::runOnExit, " /L:"},
    {"/LOG", Match::exact, Switch::log, " /LOG"},
    {"/D", Match::exact, Switch::defaultOptions, " /D"},
    {"/C", Match::exact, Switch::customOptions, " /C"},
    {"/O", Match::exact, Switch::askOptions, " /O"},
    {"/S", Match::prefix, Switch::sourceDir, ""},
    {"/N", Match::exact, Switch::network, " /N"},
    {"/TS", Match::exact, Switch::terminalServer, " /TS"},
    {"/G", Match::exact, Switch::workStation, " /WORKSTATIONSETUP"},
    {"/GU", Match::prefix, Switch::workStationUpdateShort, " /WORKSTATIONUPDATE:"},
    {"/V", Match::exact, Switch::overrideVersion, " /V"},
    {"/X", Match::exact, Switch::skipExtVersion, " /X"},
    {"/WORKSTATIONSETUP", Match::exact, Switch::workStationSetup, ""},
    {"/WORKSTATIONUPDATE:", Match::prefix, Switch::workStationUpdate, ""},
    {"/WAIT", Match::exact, Switch::wait, " /WAIT"},
    {"/RESULT:", Match::prefix, Switch::resultFile, " /RESULT:"},
    {"/?", Match::exact, Switch::helpShort, ""},
    {"/HELP", Match::exact, Switch::help, ""},
}};

template <typename Row, std::size_t N>
constexpr bool TableInEnumOrder(const std::array<Row, N>& aRows) {
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(aRows[i].id) != i) return false;
  }
  return true;
}
static_assert(TableInEnumOrder(kModeSwitches), "one row per run-mode switch, in enum order");
static_assert(TableInEnumOrder(kSwitches), "one row per switch, in enum order");

template <typename Row, std::size_t N>
const Row* FindSwitch(const std::array<Row, N>& aRows, std::string_view aUpper) {
  for (const Row& row : aRows) {
    const bool hit = row.match == Match::exact ? aUpper == row.text : aUpper.starts_with(row.text);
    if (hit) return &row;
  }
  return nullptr;
}

std::string WithoutQuotes(std::string_view aText) {
  std::string out;
  for (char c : aText) {
    if (c != '"') out += c;
  }
  return out;
}

// The argument from the given character on, or empty when it is shorter.
std::string From(const std::string& aArg, std::size_t aPos) {
  return aPos < aArg.size() ? aArg.substr(aPos) : std::string();
}

std::string ProgramDir(const CmdLineHost& aHost) { return ExtractFilePath(aHost.programPath); }

std::string ProgramName(const CmdLineHost& aHost) { return ExtractFileName(aHost.programPath); }

std::string InFolderOfScript(const TRunContext& aContext, std::string_view aName) {
  return ExtractFilePath(aContext.ScriptFileName) + std::string(aName);
}

void ApplyModeSwitch(ModeSwitch aId, const std::vector<std::string>& aArgs, std::size_t aIndex,
                     TRunContext& aContext, TCmdLineSettings& aSettings, const CmdLineHost& aHost) {
  const std::string& arg = aArgs[aIndex];
  const bool hasNext = aIndex + 1 < aArgs.size();
  switch (aId) {
    case ModeSwitch::cleanUp:
      aContext.ScriptFileName = InFolderOfScript(aContext, "CLEANUP.INI");
      aContext.SourceDir = ProgramDir(aHost);
      aContext.RunMode = rmCleanUp;
      break;
    case ModeSwitch::runCleanUp:
      aContext.RunMode = rmCleanUp;
      aContext.RemoveSelfOnExit = true;
      aContext.RunHere = true;
      break;
    case ModeSwitch::uninstall:
      aContext.RunMode = rmCleanUp;
      aContext.ScriptFileName = ProgramDir(aHost) + "CLEANUP.INI";
      aContext.SourceDir = ProgramDir(aHost);
      aContext.RunHere = aContext.RemoveSelfOnExit = aContext.RemoveScriptOnExit = true;
      break;
    case ModeSwitch::workStation:
      aContext.ScriptFileName = InFolderOfScript(aContext, "WSTATION.INI");
      aContext.RunMode = rmWorkStationSetup;
      break;
    case ModeSwitch::workStationSetup:
      aContext.RunMode = rmWorkStationSetup;
      break;
    case ModeSwitch::workStationUpdateShort:
      // "/GU" and one separator character, then the path.
      aContext.InstallPath = From(arg, 4);
      aContext.ScriptFileName = InFolderOfScript(aContext, "WSUPDATE.INI");
      aContext.RunMode = rmWorkStationUpdate;
      break;
    case ModeSwitch::workStationUpdate:
      aContext.InstallPath = WithoutQuotes(From(arg, 19));
      aSettings.fcmdLineInstallPath = true;
      aContext.RunMode = rmWorkStationUpdate;
      break;
    case ModeSwitch::uninstallWorkStation: {
      aContext.RunMode = rmWorkStationCleanUp;
      if (hasNext) aContext.ScriptFileName = JoinPath(aArgs[aIndex + 1], "CLEANUP.INI");
      // Run from a copy, so that the installation's own folder can be removed.
      const std::string copy = aHost.tempDir() + "LUMCLEAN.INI";
      if (aHost.copyFile(aContext.ScriptFileName, copy)) aContext.ScriptFileName = copy;
      aContext.RunHere = true;
      aContext.RemoveSelfOnExit = false;
      aContext.RemoveScriptOnExit = true;
      break;
    }
    case ModeSwitch::cleanUpWorkStation:
      aContext.RunMode = rmWorkStationCleanUp;
      if (hasNext) aContext.ScriptFileName = JoinPath(aArgs[aIndex + 1], "CLEANUP.INI");
      break;
    case ModeSwitch::runCleanUpWorkStation:
      aContext.RunMode = rmWorkStationCleanUp;
      aContext.RemoveSelfOnExit = true;
      aContext.RunHere = true;
      break;
    case ModeSwitch::count:
      break;
  }
}

void ApplySourceDir(const std::string& aArg, TRunContext& aContext, const CmdLineHost& aHost) {
  aContext.SourceDir = WithoutQuotes(From(aArg, 3));
  if (aContext.RunMode == rmCleanUp || aContext.RunMode == rmWorkStationCleanUp) return;
  if (aContext.SourceDir.empty()) {
    aContext.SourceDir = ProgramDir(aHost);
    aContext.RemoveSelfOnExit = false;
  } else {
    aContext.RemoveSelfOnExit = true;
  }
  aContext.RunHere = true;
  aContext.StartedAsSetupExe = SameText(ProgramName(aHost), "setup.exe");
}

void SetInstallPath(int aMode, const std::string& aValue, TRunContext& aContext, TCmdLineSettings& aSettings) {
  aSettings.fInstmode = aMode;
  aContext.InstallPath = WithoutQuotes(aValue);
  aSettings.fcmdLineInstallPath = true;
}

// Applies one general switch and returns what it hands on to a temporary copy.
std::string ApplySwitch(const SwitchRow& aRow, const std::string& aArg, const std::string& aUpper,
                        TRunContext& aContext, TCmdLineSettings& aSettings, const CmdLineHost& aHost) {
  const std::string value = From(aArg, aRow.text.size());
  std::string passOn(aRow.passOn);
  switch (aRow.id) {
    case Switch::silentQ:
    case Switch::silentQN:
    case Switch::silentY:
      aSettings.fSilent = aSettings.doLog = true;
      break;
    case Switch::language: aSettings.languageCode = From(aUpper, aRow.text.size()); break;
    case Switch::install: aSettings.fInstmode = 1; break;
    case Switch::installTo:
      SetInstallPath(1, value, aContext, aSettings);
      passOn += QuoteValue(value);
      break;
    case Switch::update: aSettings.fInstmode = 2; break;
    case Switch::updateTo:
      SetInstallPath(2, value, aContext, aSettings);
      passOn += QuoteValue(value);
      break;
    case Switch::runOnExit:
      aSettings.fRunOnExit = value;
      passOn += QuoteValue(value);
      break;
    case Switch::log: aSettings.doLog = true; break;
    case Switch::defaultOptions: aSettings.fDeftCustMode = 1; break;
    case Switch::customOptions: aSettings.fDeftCustMode = 2; break;
    case Switch::askOptions: aSettings.fDeftCustMode = 0; break;
    case Switch::sourceDir: ApplySourceDir(aArg, aContext, aHost); break;
    case Switch::network: aContext.doNetInstall = true; break;
    case Switch::terminalServer: aContext.doTSInstall = true; break;
    case Switch::workStation: break;
    case Switch::workStationUpdateShort: passOn += "\"" + From(aUpper, 4) + "\""; break;
    case Switch::overrideVersion: aSettings.fOverrideVersionCheck = true; break;
    case Switch::skipExtVersion: aContext.SkipExtVersionCheck = true; break;
    case Switch::wait: aSettings.waitForCopy = true; break;
    case Switch::resultFile:
      aSettings.resultFileGiven = true;
      aSettings.resultFile = WithoutQuotes(value);
      // The copy runs in the temporary folder: a relative path is made absolute here.
      if (!aSettings.resultFile.empty()) aSettings.resultFile = aHost.fullPath(aSettings.resultFile);
      passOn += QuoteValue(aSettings.resultFile);
      break;
    case Switch::helpShort:
    case Switch::help: aSettings.showHelp = true; break;
    case Switch::workStationSetup:
    case Switch::workStationUpdate:
    case Switch::count:
      break;
  }
  return passOn;
}

bool IsScriptArgument(const std::string& aArg, const TRunContext& aContext, const CmdLineHost& aHost) {
  return SameText(aArg, aContext.ScriptFileName) ||
         (aArg.find('/') == std::string::npos && SameText(aHost.fullPath(aArg), aContext.ScriptFileName));
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view aCommandLine) {
  std::vector<std::string> args;
  std::size_t pos = 0;
  for (;;) {
    while (pos < aCommandLine.size() && static_cast<unsigned char>(aCommandLine[pos]) <= ' ') ++pos;
    if (pos >= aCommandLine.size()) return args;
    std::string arg;
    bool quoted = false;
    for (; pos < aCommandLine.size(); ++pos) {
      const char c = aCommandLine[pos];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && static_cast<unsigned char>(c) <= ' ') {
        break;
      } else {
        arg += c;
      }
    }
    args.push_back(std::move(arg));
  }
}

std::string QuoteValue(const std::string& aValue) {
  const bool hasBlank = aValue.find(' ') != std::string::npos;
  const bool quotedAtEnd = !aValue.empty() && (aValue.front() == '"' || aValue.back() == '"');
  return hasBlank && !quotedAtEnd ? "\"" + aValue + "\"" : aValue;
}

void ChooseRunModeAndScript(const std::vector<std::string>& aArgs, TRunContext& aContext,
                            TCmdLineSettings& aSettings, const CmdLineHost& aHost) {
  if (aArgs.empty()) {
    const std::string station = InFolderOfScript(aContext, "WSTATION.INI");
    if (!aHost.fileExists(aContext.ScriptFileName) && aHost.fileExists(station)) {
      aContext.ScriptFileName = station;
      aContext.PassOnArgs += " /WORKSTATIONSETUP";
      aContext.RunMode = rmWorkStationSetup;
    }
    return;
  }
  for (std::size_t i = 0; i < aArgs.size(); ++i) {
    if (const ModeSwitchRow* row = FindSwitch(kModeSwitches, UpperCase(aArgs[i]))) {
      ApplyModeSwitch(row->id, aArgs, i, aContext, aSettings, aHost);
      return;
    }
    if (aArgs[i].find('/') == std::string::npos && !aArgs[i].empty() && aHost.fileExists(aArgs[i])) {
      aContext.ScriptFileName = aHost.fullPath(aArgs[i]);
      aContext.RunMode = rmInstall;
    }
  }
}

SecondPassResult ReadSwitches(const std::vector<std::string>& aArgs, TRunContext& aContext,
                              TCmdLineSettings& aSettings, const CmdLineHost& aHost) {
  if (aArgs.empty()) {
    aContext.SourceDir = ProgramDir(aHost);
    aContext.RemoveSelfOnExit = false;
    aContext.RunHere = true;
    return {};
  }
  // Every argument is read, also after an unknown one, so that a silent switch anywhere on the
  // line keeps the unknown-switch report out of a window in an unattended run.
  SecondPassResult result;
  for (const std::string& arg : aArgs) {
    const std::string upper = UpperCase(arg);
    if (const SwitchRow* row = FindSwitch(kSwitches, upper)) {
      aContext.PassOnArgs += ApplySwitch(*row, arg, upper, aContext, aSettings, aHost);
      continue;
    }
    if (IsScriptArgument(arg, aContext, aHost)) continue;
    // The cleanup modes carry folder and script arguments of their own.
    if (aContext.RunMode == rmCleanUp || aContext.RunMode == rmWorkStationCleanUp) continue;
    if (result.ok) result = {false, arg};
  }
  return result;
}

void DecideSourceDirAndRunHere(TRunContext& aContext, const CmdLineHost& aHost) {
  if (!aContext.RemoveSelfOnExit) {
    aContext.SourceDir = aContext.RunMode == rmInstall ? ExtractFilePath(aContext.ScriptFileName) : ProgramDir(aHost);
  }
  const std::string name = ProgramName(aHost);
  if (!aContext.RunHere) aContext.RunHere = SameText(name, "lumsetup.exe");
  if (!aContext.StartedAsSetupExe && !aContext.RemoveSelfOnExit && aContext.RunHere &&
      aContext.RunMode != rmWorkStationCleanUp) {
    aContext.RunHere = !SameText(name, "setup.exe");
  }
}

TProgramCommand RelaunchCommand(const std::string& aCopyPath, const TRunContext& aContext) {
  // The source folder and the cleanup script are quoted when they hold a blank: the copy splits
  // its command line at blanks outside quotes, so an unquoted "C:\Users\A B\..." would reach it
  // as two arguments and end as an unknown switch. The program itself is always quoted.
  const auto quoteIfBlank = [](const std::string& aText) {
    return aText.find(' ') != std::string::npos ? "\"" + aText + "\"" : aText;
  };
  std::string line = aContext.PassOnArgs + " /s:" + quoteIfBlank(aContext.SourceDir);
  if (aContext.RunMode == rmCleanUp) line += " /RUNCLEANUP " + quoteIfBlank(aContext.ScriptFileName);
  if (aContext.RunMode == rmWorkStationCleanUp) {
    line += " /RUNCLEANUPWORKSTATION " + quoteIfBlank(aContext.ScriptFileName);
  }
  // Every piece of the line starts with a blank, which the program's own blank replaces.
  return {aCopyPath, line.substr(1)};
}

}  // namespace vek
