// The finish routine against real files and the current user's real RunOnce key. The program
// file it registers is one of the test's own in a temporary folder; the RunOnce values that the
// tests touch are saved before each test and put back afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../system/temp_folder.h"
#include "base/CaseMap.h"
#include "engine/FinishRoutine.h"
#include "language/LanguageText.h"
#include "system/Files.h"
#include "system/Folders.h"
#include "system/PathText.h"
#include "system/Registry.h"
#include "system/UniqueResource.h"
#include "system/WinText.h"

namespace vek {
namespace {

constexpr const char* kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kCmd = "C:\\windows\\system32\\cmd.exe";
constexpr const char* kMissing = "<missing>";

std::vector<std::string> TouchedNames() {
  std::vector<std::string> names = FinishValueNames();
  names.emplace_back(kOldFinishValueName);
  return names;
}

class FinishRoutineWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.Path().empty());
    ASSERT_TRUE(TRegistryKey::Create(TRegistryRoot::CurrentUser, kRunOnce, runOnce).ok());
    for (const std::string& name : TouchedNames()) {
      if (const std::string data = Value(name); data != kMissing) saved.push_back({name, data});
    }
    RemoveTouchedValues();
    ASSERT_TRUE(WriteWholeFile(place.programPath, "program").ok());
    ASSERT_TRUE(WriteWholeFile(context.ScriptFileName, "[Setup]").ok());
    ASSERT_TRUE(WriteWholeFile(library, "library").ok());
  }
  void TearDown() override {
    RemoveTouchedValues();
    for (const TRunOnceValue& value : saved) EXPECT_TRUE(runOnce.WriteString(value.name, value.data).ok());
  }

  void RemoveTouchedValues() {
    for (const std::string& name : TouchedNames()) (void)runOnce.DeleteValue(name);
  }
  std::string Value(const std::string& aName) const {
    std::string data;
    return runOnce.ReadString(aName, data) ? data : kMissing;
  }
  void Put(const std::string& aName, const std::string& aData) {
    ASSERT_TRUE(runOnce.WriteString(aName, aData).ok()) << aName;
  }
  void Run() {
    RunFinishRoutineAt(context, place, [this](const std::string& aLine) { lines.push_back(aLine); });
  }
  // The command as the next logon must see it, written out in full.
  std::string Expected(const std::string& aRmdir = {}) const {
    return "\"" + std::string(kCmd) + "\" /c \"Del \"" + place.programPath + "\" \"" + library + "\"" +
           (aRmdir.empty() ? "" : " && rmdir \"" + aRmdir + "\"") + "\"";
  }
  TRunContext SelfRemoval(TRunMode aMode = rmCleanUp) const {
    TRunContext run = context;
    run.RemoveSelfOnExit = true;
    run.RunMode = aMode;
    return run;
  }

  test::TempFolder folder;
  TRegistryKey runOnce;
  std::vector<TRunOnceValue> saved;
  TFinishPlace place{folder.File("Vek Setup.exe"), kCmd, "DK"};
  std::string library = folder.File("setup_dk.dll");
  TRunContext context = [this] {
    TRunContext run;
    run.ScriptFileName = folder.File("Vek Setup.ini");
    run.SourceDir = "D:\\cd\\";
    return run;
  }();
  std::vector<std::string> lines;
};

TEST_F(FinishRoutineWinTest, SelfRemovalDeletesScriptAndLibraryAndRegistersTheProgramOnce) {
  context = SelfRemoval();
  Run();
  EXPECT_FALSE(FileExists(context.ScriptFileName));
  EXPECT_FALSE(FileExists(library));
  EXPECT_TRUE(FileExists(place.programPath));  // left to the command at the next logon
  EXPECT_EQ(Value("Finish_VEKsetup"), Expected());
  EXPECT_EQ(Value("Finish_VEKsetup1"), kMissing);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Delete \"" + context.ScriptFileName + "\": done");
  EXPECT_EQ(lines[1], "Delete \"" + library + "\": done");
  EXPECT_EQ(lines[2], "Write \"HKEY_CURRENT_USER\\" + std::string(kRunOnce) + "\\Finish_VEKsetup\" = \"" +
                          Expected() + "\": done");

  // A second run finds its files gone (no failure to report) and its registration in place.
  lines.clear();
  Run();
  EXPECT_EQ(Value("Finish_VEKsetup1"), kMissing);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].starts_with("Write ")) << lines[0];
}

TEST_F(FinishRoutineWinTest, ProgramFolderAsSourceDirAlsoRemovesTheFolder) {
  context = SelfRemoval();
  context.SourceDir = IncludeTrailingPathDelimiter(UpperCase(folder.Path()));
  Run();
  EXPECT_EQ(Value("Finish_VEKsetup"), Expected(UpperCase(folder.Path())));
}

TEST_F(FinishRoutineWinTest, TakenNamesAreSkippedAndTheLastIsOverwritten) {
  context = SelfRemoval();
  const std::vector<std::string>& names = FinishValueNames();
  for (const std::string& name : names) Put(name, "other " + name);
  Run();
  for (std::size_t i = 0; i + 1 < names.size(); ++i) EXPECT_EQ(Value(names[i]), "other " + names[i]);
  EXPECT_EQ(Value("Finish_VEKsetup10"), Expected());
}

TEST_F(FinishRoutineWinTest, TheSameCommandInAnotherCaseIsNotRegisteredTwice) {
  context = SelfRemoval();
  Put("Finish_VEKsetup", "other");
  Put("Finish_VEKsetup3", LowerCase(Expected()));
  Run();
  EXPECT_EQ(Value("Finish_VEKsetup"), "other");
  EXPECT_EQ(Value("Finish_VEKsetup1"), kMissing);
  EXPECT_EQ(Value("Finish_VEKsetup3"), Expected());
}

TEST_F(FinishRoutineWinTest, ReinstallationCancelsTheRemovalOfTheInstalledSetupProgram) {
  const struct {
    TRunMode mode;
    bool cancelled;
  } cases[] = {{rmInstall, true}, {rmCleanUp, false}, {rmWorkStationSetup, false}};
  const std::string installed =
      "cmd.exe /c \"Del \"c:\\prog\\APPS\\setup.exe\" && rmdir \"c:\\prog\\apps\"\"";
  const std::string elsewhere = "cmd.exe /c \"Del \"C:\\Prog\\Other\\setup.exe\"\"";
  for (const auto& c : cases) {
    RemoveTouchedValues();
    Put("Finish_VEKsetup", installed);
    Put("Finish_VEKsetup1", elsewhere);
    Put("Finish_VEKsetup4", installed);
    context = SelfRemoval(c.mode);
    context.InstallPath = "C:\\Prog";
    context.InstallRootList = {"Other", "Apps"};
    context.InstallRootIndex = 1;
    lines.clear();
    Run();
    EXPECT_EQ(Value("Finish_VEKsetup1"), elsewhere) << c.mode;
    if (c.cancelled) {
      EXPECT_EQ(Value("Finish_VEKsetup"), Expected()) << "the freed name is taken";
      EXPECT_EQ(Value("Finish_VEKsetup4"), kMissing);
      EXPECT_NE(std::find(lines.begin(), lines.end(),
                          "Delete value \"HKEY_CURRENT_USER\\" + std::string(kRunOnce) +
                              "\\Finish_VEKsetup4\": done"),
                lines.end());
    } else {
      EXPECT_EQ(Value("Finish_VEKsetup"), installed) << c.mode;
      EXPECT_EQ(Value("Finish_VEKsetup4"), installed) << c.mode;
      EXPECT_EQ(Value("Finish_VEKsetup2"), Expected()) << c.mode;
    }
    ASSERT_TRUE(WriteWholeFile(context.ScriptFileName, "[Setup]").ok());
  }
}

TEST_F(FinishRoutineWinTest, ScriptAloneOrNothingLeavesTheRegistryAlone) {
  const struct {
    bool removeScript;
    bool scriptGone;
    std::size_t logLines;
  } cases[] = {{true, true, 1}, {false, false, 0}};
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteWholeFile(context.ScriptFileName, "[Setup]").ok());
    context.RemoveScriptOnExit = c.removeScript;
    lines.clear();
    Run();
    EXPECT_EQ(FileExists(context.ScriptFileName), !c.scriptGone);
    EXPECT_TRUE(FileExists(library));
    EXPECT_TRUE(FileExists(place.programPath));
    EXPECT_EQ(lines.size(), c.logLines);
    for (const std::string& name : TouchedNames()) EXPECT_EQ(Value(name), kMissing) << name;
  }
}

TEST_F(FinishRoutineWinTest, ReadOnlyScriptIsDeletedAndALockedOneReported) {
  ASSERT_TRUE(::SetFileAttributesW(Wide(context.ScriptFileName).c_str(), FILE_ATTRIBUTE_READONLY));
  context.RemoveScriptOnExit = true;
  Run();
  EXPECT_FALSE(FileExists(context.ScriptFileName));

  // A file another program holds open stays, the failure is logged, and the registration
  // still happens.
  context = SelfRemoval();
  const UniqueFileHandle held(::CreateFileW(Wide(library).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  lines.clear();
  Run();
  EXPECT_TRUE(FileExists(library));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].starts_with("Delete \"" + library + "\": failed, error 32 (")) << lines[0];
  EXPECT_EQ(Value("Finish_VEKsetup"), Expected());
}

TEST_F(FinishRoutineWinTest, CancelPendingDeletionRemovesEveryRegistrationOfTheFile) {
  const std::string file = "C:\\Program Files\\Vek\\setup.exe";
  const std::string ofFile = "cmd.exe /c \"Del \"c:\\program files\\VEK\\SETUP.EXE\"\"";
  const std::string other = "cmd.exe /c \"Del \"C:\\Program Files\\Other\\setup.exe\"\"";
  Put("Finish_VEKsetup", other);
  Put("Finish_VEKsetup3", ofFile);
  Put("Finish_VEKsetup10", ofFile);
  Put(std::string(kOldFinishValueName), ofFile);
  CancelPendingDeletion("");  // no file: nothing is cancelled
  EXPECT_EQ(Value("Finish_VEKsetup3"), ofFile);

  CancelPendingDeletion(file, [this](const std::string& aLine) { lines.push_back(aLine); });
  EXPECT_EQ(Value("Finish_VEKsetup"), other);
  EXPECT_EQ(Value("Finish_VEKsetup3"), kMissing);
  EXPECT_EQ(Value("Finish_VEKsetup10"), kMissing);
  EXPECT_EQ(Value(std::string(kOldFinishValueName)), kMissing);
  EXPECT_EQ(lines.size(), 3u);
}

TEST_F(FinishRoutineWinTest, RunFinishRoutineNamesThisProgramAndTheSystemInterpreter) {
  context = SelfRemoval();
  RunFinishRoutine(context, nullptr);
  const std::string program = GetProgramPath();
  const std::string expected = "\"" + JoinPath(GetSystemDir(), "cmd.exe") + "\" /c \"Del \"" + program + "\" \"" +
                               ExtractFilePath(program) + LanguageLibraryName(CurrentLanguageCode()) + "\"\"";
  EXPECT_EQ(Value("Finish_VEKsetup"), expected);
  EXPECT_FALSE(FileExists(context.ScriptFileName));
}

}  // namespace
}  // namespace vek
