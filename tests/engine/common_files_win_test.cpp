// A silent installation whose sub-option names common files, on the real file system: the
// files are copied into the common folder with a notice to the front end, and the sub-option's
// workstation common files are collected for the workstation script with the system folder
// written as %SYSDIR%.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZipBuilder.h"
#include "base/CaseMap.h"
#include "base/FakeUserChannel.h"
#include "engine/SetupEngine.h"
#include "system/Files.h"
#include "system/PathText.h"

namespace vek {
namespace {

TEST(EngineCommonFiles, CopiedAfterUnpackingAndCollectedForTheWorkstations) {
  const std::string base = GetTempDir() + "vek-engine-common";
  const std::string dist = base + "-dist";
  const std::string common = base + "-common";
  ASSERT_TRUE(ForceDirectories(dist));
  ASSERT_TRUE(WriteWholeFile(JoinPath(dist, "core.zip"), test::SimplePack({"a.dll", "w.dll"})));
  (void)DeleteFileAt(JoinPath(common, "a.dll"));

  TRunContext context;
  context.InstallPath = base;
  context.SourceDir = dist;
  context.ScriptFileName = JoinPath(dist, "setup.ini");
  ASSERT_TRUE(WriteWholeFile(context.ScriptFileName,
                             "[System Info]\r\nName=Demo\r\nSystemDir=DemoSys\r\nCopySetup=0\r\nEncodeSysDir=1\r\n"
                             "[IMainOption1]\r\nCaption=Main\r\nRootLib=DemoSys\r\n"
                             "[ISubOption1.1]\r\nCaption=Files\r\nSelected=1\r\nLibName=Lib\r\nPackFile=core.zip\r\n"
                             "CommonFolder=" + common + "\r\nCommonfiles=a.dll;missing.dll\r\n"
                             "WorkStationCommonFolder=%COMMONFILES%\\Shared\r\nWorkStationCommonFiles=w.dll\r\n"));
  test::TFakeUserChannel silent{true};
  TSetupEngine engine(context, &silent);
  std::vector<std::vector<std::string>> copies;
  engine.SetOnStep([&](TSetupEngine& aSender) {
    if (aSender.StepAction() == saUpdate && aSender.StepMessage() == smFromToFile) copies.push_back(aSender.InfoLines());
  });
  engine.ExecuteStep();

  EXPECT_FALSE(engine.RunFailed());
  EXPECT_TRUE(FileExists(JoinPath(common, "a.dll")));
  ASSERT_EQ(copies.size(), 1u);
  ASSERT_EQ(copies[0].size(), 2u);
  EXPECT_TRUE(EndsWithText(copies[0][0], "\\Lib\\a.dll")) << copies[0][0];
  EXPECT_EQ(copies[0][1], JoinPath(common, "a.dll"));
  EXPECT_FALSE(engine.AskReboot());

  const TCommonFileList* workstation = engine.WorkStationCommonFiles();
  ASSERT_NE(workstation, nullptr);
  ASSERT_EQ(workstation->Count(), 1u);
  const TCommonFileCmd* command = workstation->Item(0);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->FCommonFolder, "%COMMONFILES%\\Shared");
  EXPECT_TRUE(SameText(command->FSourcePath, "%SYSDIR%Lib")) << command->FSourcePath;
  EXPECT_EQ(command->FFiles, "w.dll");
  EXPECT_TRUE(command->doEncodeSysdir);
  // The workstation files are only collected here, never copied into a common folder.
  EXPECT_FALSE(FileExists(JoinPath(common, "w.dll")));
}

}  // namespace
}  // namespace vek
