// The setup log on the real file system of the test machine.
#include <gtest/gtest.h>

#include "engine/SetupEngine.h"
#include "system/Files.h"
#include "base/FakeUserChannel.h"

namespace vek {
namespace {

class SetupLog : public testing::Test {
 protected:
  void TearDown() override {
    for (const std::string& path : created) {
      (void)ClearFileAttributes(path);
      (void)DeleteFileAt(path);
    }
  }
  std::string LogOf(TSetupEngine& aEngine) {
    created.push_back(aEngine.LogFileName());
    std::string bytes;
    (void)ReadWholeFile(aEngine.LogFileName(), bytes);
    return bytes;
  }

  TRunContext context;
  test::TFakeUserChannel wizard{false};
  std::vector<std::string> created;
};

TEST_F(SetupLog, AppendsUtf8LinesWithCrLf) {
  TSetupEngine engine(context);
  (void)DeleteFileAt(engine.LogFileName());
  engine.SetdoLog(true);
  engine.Log("Start");
  engine.Log("\xC3\x98stfold \xE6\x96\x87");
  engine.Log("two\nlines");
  EXPECT_EQ(LogOf(engine), "Start\r\n\xC3\x98stfold \xE6\x96\x87\r\ntwo\nlines\r\n");
}

TEST_F(SetupLog, TwoEnginesOfTheSameSecondShareTheFile) {
  TSetupEngine first(context);
  TSetupEngine second(context);
  if (first.LogFileName() != second.LogFileName()) GTEST_SKIP() << "the clock ticked between the two";
  (void)DeleteFileAt(first.LogFileName());
  first.SetdoLog(true);
  second.SetdoLog(true);
  first.Log("one");
  second.Log("two");
  EXPECT_EQ(LogOf(first), "one\r\ntwo\r\n");
}

TEST_F(SetupLog, WithoutLoggingNoFileAndMessagesStillShow) {
  TSetupEngine engine(context, &wizard);
  (void)DeleteFileAt(engine.LogFileName());
  engine.Log("nothing");
  engine.LogAndShowMsg("Caption", "Shown text", mtError);
  EXPECT_FALSE(FileExists(engine.LogFileName()));
  ASSERT_EQ(wizard.Messages.size(), 1u);
  EXPECT_EQ(wizard.Messages[0].caption, "Caption");
  EXPECT_EQ(wizard.Messages[0].message, "Shown text");
}

TEST_F(SetupLog, SilentRunShowsNothingButLogsEveryMessage) {
  TSetupEngine engine(context);  // without a channel of its own: the silent one
  (void)DeleteFileAt(engine.LogFileName());
  engine.SetdoLog(true);
  EXPECT_TRUE(engine.Silent());
  engine.LogAndShowMsg("Caption", "Would have been shown", mtWarning);
  EXPECT_EQ(LogOf(engine), "Would have been shown\r\n");  // the caption is not logged
}

TEST_F(SetupLog, AnUnwritableLogIsReportedOutsideTheStepsWithoutRaising) {
  TSetupEngine engine(context);
  (void)DeleteFileAt(engine.LogFileName());
  engine.SetdoLog(true);
  // A folder in the log file's place refuses both the line and the note about it.
  ASSERT_TRUE(ForceDirectories(engine.LogFileName()).ok());
  EXPECT_NO_THROW(engine.Log("second"));
  EXPECT_TRUE(engine.LogFailed());
  EXPECT_TRUE(RemoveEmptyDirectory(engine.LogFileName()).ok());
}

TEST_F(SetupLog, AnUnwritableLogStopsTheStepAndEndsTheRun) {
  context.InstallPath = GetTempDir() + "vek-log-lost";
  context.ScriptFileName = GetTempDir() + "vek-log-lost.ini";
  (void)DeleteFileAt(context.ScriptFileName);
  ASSERT_TRUE(AppendToFile(context.ScriptFileName, "[System Info]\r\nSystemDir=LostSys\r\n").ok());
  created.push_back(context.ScriptFileName);
  TSetupEngine engine(context);
  (void)DeleteFileAt(engine.LogFileName());
  engine.SetdoLog(true);
  std::vector<TStepTypes> entered;
  engine.SetOnStep([&](TSetupEngine& aSender) {
    if (aSender.StepAction() == saEnter) entered.push_back(aSender.Step());
  });
  ASSERT_TRUE(ForceDirectories(engine.LogFileName()).ok());
  EXPECT_NO_THROW(engine.ExecuteStep());
  EXPECT_TRUE(engine.LogFailed());
  EXPECT_TRUE(engine.RunFailed());
  // The first step's name could not be logged: nothing after it ran.
  EXPECT_EQ(entered, std::vector<TStepTypes>{stStart});
  EXPECT_TRUE(RemoveEmptyDirectory(engine.LogFileName()).ok());
}

TEST_F(SetupLog, SilentRunLogsStepsCommandLineAndMode) {
  context.InstallPath = GetTempDir() + "vek-log-run";
  context.ScriptFileName = GetTempDir() + "vek-log-run.ini";
  (void)DeleteFileAt(context.ScriptFileName);
  ASSERT_TRUE(AppendToFile(context.ScriptFileName, "[System Info]\r\nSystemDir=LogSys\r\n"
                                                         "[IMainOption1]\r\nCaption=Main\r\n"
                                                         "[ISubOption1.1]\r\nCaption=Files\r\nSelected=1\r\n").ok());
  created.push_back(context.ScriptFileName);
  TSetupEngine engine(context);
  (void)DeleteFileAt(engine.LogFileName());
  engine.SetdoLog(true);
  engine.ExecuteStep();
  const std::string log = LogOf(engine);
  EXPECT_EQ(log.rfind("Start\r\n", 0), 0u) << log;
  EXPECT_NE(log.find("\r\nUnknown step: 4\r\nUnknown step: 5\r\nInstall or Update\r\n   Install\r\n"), std::string::npos)
      << log;
  EXPECT_NE(log.find("   Use Default Options\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\nFinish\r\nTerminate\r\n"), std::string::npos);
}

// "/I:" with nothing after it: the run cannot use the target folder, ends as failed and says
// why in the log.
TEST_F(SetupLog, AnEmptyTargetFolderFailsTheRunWithTheReasonLogged) {
  context.InstallPath.clear();
  context.ScriptFileName = GetTempDir() + "vek-log-empty-target.ini";
  (void)DeleteFileAt(context.ScriptFileName);
  ASSERT_TRUE(AppendToFile(context.ScriptFileName,
                           "[System Info]\r\nName=Demo\r\nSystemDir=DemoSys\r\n"
                           "[IMainOption1]\r\nCaption=Program\r\n"
                           "[ISubOption1.1]\r\nCaption=Files\r\nSelected=1\r\n")
                  .ok());
  created.push_back(context.ScriptFileName);
  TSetupEngine engine(context);
  (void)DeleteFileAt(engine.LogFileName());
  engine.SetdoLog(true);
  engine.SetInstmode(1);
  engine.SetcmdLineInstallPath(true);
  engine.ExecuteStep();
  EXPECT_TRUE(engine.RunFailed());
  const std::string log = LogOf(engine);
  EXPECT_NE(log.find("\r\nCheck Installpath\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" cannot "), std::string::npos) << log;
  EXPECT_NE(log.find("\r\nTerminate\r\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace vek
