// Both command-line passes over a pretend machine: the files that exist are listed per case.
#include <gtest/gtest.h>

#include <set>

#include "app/CmdLine.h"
#include "base/CaseMap.h"

namespace vek {
namespace {

struct Machine {
  std::string program = "D:\\cd\\setup.exe";
  std::set<std::string, TextLess> files;
  std::vector<std::pair<std::string, std::string>> copies;

  CmdLineHost Host() {
    // Relative names are taken from the current folder, D:\cd.
    const auto fullPath = [](const std::string& aPath) {
      return aPath.find(':') == std::string::npos ? "D:\\cd\\" + aPath : aPath;
    };
    return {program,
            [this, fullPath](const std::string& aPath) { return files.count(fullPath(aPath)) > 0; },
            fullPath,
            [] { return std::string("C:\\TEMP\\"); },
            [this](const std::string& aFrom, const std::string& aTo) {
              copies.emplace_back(aFrom, aTo);
              return files.count(aFrom) > 0;
            }};
  }
};

struct ParsedRun {
  TRunContext context;
  TCmdLineSettings settings;
  SecondPassResult second;
};

ParsedRun Parse(Machine& aMachine, const std::vector<std::string>& aArgs) {
  ParsedRun run;
  const CmdLineHost host = aMachine.Host();
  run.context.ScriptFileName = "D:\\cd\\setup.INI";
  ChooseRunModeAndScript(aArgs, run.context, run.settings, host);
  run.second = ReadSwitches(aArgs, run.context, run.settings, host);
  DecideSourceDirAndRunHere(run.context, host);
  return run;
}

TEST(SplitCommandLine, QuotesGroupAndAreRemoved) {
  EXPECT_EQ(SplitCommandLine("\"C:\\a b\\setup.exe\"  /I:\"C:\\Program Files\\X\" /Q\t/L:x"),
            (std::vector<std::string>{"C:\\a b\\setup.exe", "/I:C:\\Program Files\\X", "/Q", "/L:x"}));
  EXPECT_EQ(SplitCommandLine("a\\\"b c\""), (std::vector<std::string>{"a\\b c"}));  // no backslash escapes
  EXPECT_TRUE(SplitCommandLine("   ").empty());
  EXPECT_EQ(SplitCommandLine("\"\""), (std::vector<std::string>{""}));
}

TEST(QuoteValue, QuotesOnlyUnquotedValuesWithBlanks) {
  EXPECT_EQ(QuoteValue("C:\\Program Files"), "\"C:\\Program Files\"");
  EXPECT_EQ(QuoteValue("C:\\App"), "C:\\App");
  EXPECT_EQ(QuoteValue("\"C:\\a b"), "\"C:\\a b");
  EXPECT_EQ(QuoteValue("a b\""), "a b\"");
  EXPECT_EQ(QuoteValue(""), "");
}

// Cases of both passes; each row: arguments, then what must hold afterwards.
struct SwitchCase {
  const char* name;
  std::vector<std::string> args;
  TRunMode mode;
  const char* script;
  const char* passOn;
  bool ok;
};

class BothPasses : public testing::TestWithParam<SwitchCase> {};

TEST_P(BothPasses, ChooseModeScriptAndPassOn) {
  Machine machine;
  machine.files = {"D:\\cd\\setup.INI", "D:\\cd\\other.ini", "D:\\cd\\third.ini", "D:\\cd\\CLEANUP.INI"};
  const SwitchCase& c = GetParam();
  const ParsedRun run = Parse(machine, c.args);
  EXPECT_EQ(run.context.RunMode, c.mode);
  EXPECT_EQ(run.context.ScriptFileName, c.script);
  EXPECT_EQ(run.context.PassOnArgs, c.passOn);
  EXPECT_EQ(run.second.ok, c.ok);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BothPasses,
    testing::Values(
        SwitchCase{"silent", {"/q"}, rmInstall, "D:\\cd\\setup.INI", " /Q", true},
        SwitchCase{"all_silent_forms", {"/QN", "/y"}, rmInstall, "D:\\cd\\setup.INI", " /Q /Q", true},
        SwitchCase{"lang_not_handed_on", {"/LANG:de", "/LOG"}, rmInstall, "D:\\cd\\setup.INI", " /LOG", true},
        SwitchCase{"install_path_quoted", {"/I:C:\\Program Files\\App"}, rmInstall, "D:\\cd\\setup.INI",
                   " /I:\"C:\\Program Files\\App\"", true},
        SwitchCase{"update_path", {"/U:C:\\App"}, rmInstall, "D:\\cd\\setup.INI", " /U:C:\\App", true},
        SwitchCase{"empty_install_value", {"/I:"}, rmInstall, "D:\\cd\\setup.INI", " /I:", true},
        SwitchCase{"run_on_exit", {"/L:notepad.exe a b"}, rmInstall, "D:\\cd\\setup.INI",
                   " /L:\"notepad.exe a b\"", true},
        SwitchCase{"options_modes", {"/D", "/C", "/O", "/N", "/TS", "/V", "/X"}, rmInstall, "D:\\cd\\setup.INI",
                   " /D /C /O /N /TS /V /X", true},
        SwitchCase{"gu_upper_cased", {"/GU:c:\\ws dir"}, rmWorkStationUpdate, "D:\\cd\\WSUPDATE.INI",
                   " /WORKSTATIONUPDATE:\"C:\\WS DIR\"", true},
        SwitchCase{"g_hands_on_long_form", {"/G"}, rmWorkStationSetup, "D:\\cd\\WSTATION.INI",
                   " /WORKSTATIONSETUP", true},
        SwitchCase{"workstation_update_long", {"/WORKSTATIONUPDATE:\"C:\\w\""}, rmWorkStationUpdate,
                   "D:\\cd\\setup.INI", "", true},
        SwitchCase{"cleanup_then_silent", {"/CLEANUP", "/Q"}, rmCleanUp, "D:\\cd\\CLEANUP.INI", " /Q", true},
        SwitchCase{"file_argument", {"other.ini", "/Q"}, rmInstall, "D:\\cd\\other.ini", " /Q", true},
        SwitchCase{"second_file_rejected", {"other.ini", "third.ini"}, rmInstall, "D:\\cd\\third.ini", "", false},
        SwitchCase{"missing_file_unknown", {"nothere.ini"}, rmInstall, "D:\\cd\\setup.INI", "", false},
        SwitchCase{"missing_file_ignored_in_cleanup", {"/CLEANUP", "nothere"}, rmCleanUp, "D:\\cd\\CLEANUP.INI",
                   "", true},
        SwitchCase{"unknown_switch", {"/BOGUS"}, rmInstall, "D:\\cd\\setup.INI", "", false},
        SwitchCase{"unknown_then_silent", {"/BOGUS", "/Q"}, rmInstall, "D:\\cd\\setup.INI", " /Q", false},
        SwitchCase{"wait_handed_on", {"/wait", "/Q"}, rmInstall, "D:\\cd\\setup.INI", " /WAIT /Q", true},
        SwitchCase{"result_made_absolute", {"/RESULT:out dir\\r.ini"}, rmInstall, "D:\\cd\\setup.INI",
                   " /RESULT:\"D:\\cd\\out dir\\r.ini\"", true},
        SwitchCase{"empty_result_handed_on_empty", {"/RESULT:"}, rmInstall, "D:\\cd\\setup.INI", " /RESULT:", true},
        SwitchCase{"help_not_handed_on", {"/?", "/help"}, rmInstall, "D:\\cd\\setup.INI", "", true},
        SwitchCase{"non_ascii_path", {"/I:C:\\\xC3\x98stfold \xE6\x96\x87"}, rmInstall, "D:\\cd\\setup.INI",
                   " /I:\"C:\\\xC3\x98stfold \xE6\x96\x87\"", true}),
    [](const auto& aInfo) { return std::string(aInfo.param.name); });

TEST(BothPasses, InstallPathNeverHoldsQuotes) {
  Machine machine;
  const ParsedRun run = Parse(machine, {"/I:\"C:\\a b\""});
  EXPECT_EQ(run.context.InstallPath, "C:\\a b");
  EXPECT_EQ(run.settings.fInstmode, 1);
  EXPECT_TRUE(run.settings.fcmdLineInstallPath);
  EXPECT_EQ(run.context.PassOnArgs, " /I:\"C:\\a b\"");
}

TEST(BothPasses, SettingsOfTheSecondPass) {
  Machine machine;
  const ParsedRun run = Parse(machine, {"/U", "/LANG:de", "/L:x?y", "/O", "/Y"});
  EXPECT_EQ(run.settings.fInstmode, 2);
  EXPECT_EQ(run.settings.languageCode, "DE");
  EXPECT_EQ(run.settings.fRunOnExit, "x?y");
  EXPECT_EQ(run.settings.fDeftCustMode, 0);
  EXPECT_TRUE(run.settings.fSilent);
  EXPECT_TRUE(run.settings.doLog);
}

TEST(BothPasses, DeploymentSwitches) {
  Machine machine;
  const ParsedRun plain = Parse(machine, {"/Q"});
  EXPECT_FALSE(plain.settings.waitForCopy);
  EXPECT_FALSE(plain.settings.resultFileGiven);
  EXPECT_FALSE(plain.settings.showHelp);
  const ParsedRun run = Parse(machine, {"/WAIT", "/RESULT:\"C:\\r s\\x.ini\"", "/HELP"});
  EXPECT_TRUE(run.settings.waitForCopy);
  EXPECT_TRUE(run.settings.resultFileGiven);
  EXPECT_EQ(run.settings.resultFile, "C:\\r s\\x.ini");
  EXPECT_TRUE(run.settings.showHelp);
  const ParsedRun empty = Parse(machine, {"/RESULT:"});
  EXPECT_TRUE(empty.settings.resultFileGiven);
  EXPECT_EQ(empty.settings.resultFile, "");
}

TEST(BothPasses, HugeAndEmptyArgumentsAreHandled) {
  Machine machine;
  const std::string huge(40000, 'x');
  EXPECT_FALSE(Parse(machine, {huge}).second.ok);
  const ParsedRun run = Parse(machine, {"/I:" + huge});
  EXPECT_EQ(run.context.InstallPath.size(), 40000u);
  EXPECT_TRUE(Parse(machine, {"/s:", "/I", "/U"}).second.ok);
  EXPECT_EQ(Parse(machine, {"/GU"}).context.InstallPath, "");
  // "/I:" alone is an install into an empty path, which the check of the target folder refuses.
  const ParsedRun empty = Parse(machine, {"/I:"});
  EXPECT_EQ(empty.context.InstallPath, "");
  EXPECT_TRUE(empty.settings.fcmdLineInstallPath);
  EXPECT_EQ(empty.settings.fInstmode, 1);
}

// Where the process runs: here, or from a temporary copy.
struct PlaceCase {
  const char* name;
  const char* program;
  std::vector<std::string> args;
  bool runHere;
  bool removeSelf;
  const char* sourceDir;
};

class RunPlace : public testing::TestWithParam<PlaceCase> {};

TEST_P(RunPlace, DecidesRunHereAndSourceDir) {
  Machine machine;
  machine.program = GetParam().program;
  machine.files = {"D:\\cd\\setup.INI"};
  const ParsedRun run = Parse(machine, GetParam().args);
  EXPECT_EQ(run.context.RunHere, GetParam().runHere);
  EXPECT_EQ(run.context.RemoveSelfOnExit, GetParam().removeSelf);
  EXPECT_EQ(run.context.SourceDir, GetParam().sourceDir);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RunPlace,
    testing::Values(PlaceCase{"setup_exe_no_args_relaunches", "D:\\cd\\setup.exe", {}, false, false, "D:\\cd\\"},
                    PlaceCase{"other_name_no_args_runs_here", "D:\\cd\\inst.exe", {}, true, false, "D:\\cd\\"},
                    PlaceCase{"any_arg_without_s_relaunches", "D:\\cd\\inst.exe", {"/Q"}, false, false, "D:\\cd\\"},
                    PlaceCase{"lumsetup_runs_here", "D:\\cd\\LUMSETUP.EXE", {"/Q"}, true, false, "D:\\cd\\"},
                    PlaceCase{"empty_s_runs_here_keeps_self", "D:\\cd\\setup.exe", {"/Q", "/s:"}, true, false,
                              "D:\\cd\\"},
                    PlaceCase{"copy_with_source", "C:\\TEMP\\VekSetup.exe", {"/Q", "/s:D:\\cd\\"}, true, true,
                              "D:\\cd\\"},
                    PlaceCase{"quoted_source", "C:\\TEMP\\VekSetup.exe", {"/s:\"E:\\my cd\\\""}, true, true,
                              "E:\\my cd\\"},
                    PlaceCase{"uninstall_runs_here", "D:\\cd\\setup.exe", {"/UNINSTALL"}, true, true, "D:\\cd\\"}),
    [](const auto& aInfo) { return std::string(aInfo.param.name); });

TEST(FirstPass, WorkStationScriptAloneSelectsWorkStationSetup) {
  Machine machine;
  machine.files = {"D:\\cd\\WSTATION.INI"};
  TRunContext context;
  context.ScriptFileName = "D:\\cd\\setup.INI";
  TCmdLineSettings settings;
  ChooseRunModeAndScript({}, context, settings, machine.Host());
  EXPECT_EQ(context.RunMode, rmWorkStationSetup);
  EXPECT_EQ(context.ScriptFileName, "D:\\cd\\WSTATION.INI");
  EXPECT_EQ(context.PassOnArgs, " /WORKSTATIONSETUP");
}

TEST(FirstPass, UninstallWorkStationRunsFromATemporaryCopy) {
  Machine machine;
  machine.files = {"E:\\ws\\CLEANUP.INI"};
  const ParsedRun run = Parse(machine, {"/UNINSTALLWORKSTATION", "E:\\ws"});
  EXPECT_EQ(run.context.RunMode, rmWorkStationCleanUp);
  ASSERT_EQ(machine.copies.size(), 1u);
  EXPECT_EQ(machine.copies[0].first, "E:\\ws\\CLEANUP.INI");
  EXPECT_EQ(run.context.ScriptFileName, "C:\\TEMP\\LUMCLEAN.INI");
  EXPECT_TRUE(run.context.RunHere);
  EXPECT_FALSE(run.context.RemoveSelfOnExit);
  EXPECT_TRUE(run.context.RemoveScriptOnExit);
  EXPECT_TRUE(run.second.ok);
}

TEST(FirstPass, FailedCopyKeepsTheScriptName) {
  Machine machine;
  const ParsedRun run = Parse(machine, {"/UNINSTALLWORKSTATION", "E:\\gone"});
  EXPECT_EQ(run.context.ScriptFileName, "E:\\gone\\CLEANUP.INI");
}

TEST(Relaunch, CommandLineOfTheTemporaryCopy) {
  TRunContext context;
  context.PassOnArgs = " /Q /I:\"C:\\a b\"";
  context.SourceDir = "D:\\my cd\\";
  EXPECT_EQ(ProgramCommandLine(RelaunchCommand("C:\\TEMP\\VekSetup.exe", context)),
            "\"C:\\TEMP\\VekSetup.exe\" /Q /I:\"C:\\a b\" /s:\"D:\\my cd\\\"");
  context.RunMode = rmCleanUp;
  context.SourceDir = "C:\\App\\";
  context.ScriptFileName = "C:\\App\\CLEANUP.INI";
  context.PassOnArgs.clear();
  EXPECT_EQ(ProgramCommandLine(RelaunchCommand("C:\\TEMP\\VekSetup.exe", context)),
            "\"C:\\TEMP\\VekSetup.exe\" /s:C:\\App\\ /RUNCLEANUP C:\\App\\CLEANUP.INI");
  context.RunMode = rmWorkStationCleanUp;
  const TProgramCommand workStation = RelaunchCommand("C:\\Users\\A B\\VekSetup.exe", context);
  EXPECT_EQ(workStation.program, "C:\\Users\\A B\\VekSetup.exe");
  EXPECT_EQ(workStation.arguments, "/s:C:\\App\\ /RUNCLEANUPWORKSTATION C:\\App\\CLEANUP.INI");
}

}  // namespace
}  // namespace vek
