// The step machine driven the way the wizard and a silent run drive it, with a front end that
// records every notification.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/SetupEngine.h"
#include "system/Files.h"
#include "base/FakeUserChannel.h"

namespace vek {
namespace {

struct Recorder {
  std::vector<std::string> events;
  std::vector<TStepTypes> entered;

  void Attach(TSetupEngine& aEngine) {
    aEngine.SetOnStep([this](TSetupEngine& aSender) {
      switch (aSender.StepAction()) {
        case saEnter:
          entered.push_back(aSender.Step());
          events.push_back("enter " + GetStepName(aSender.Step()));
          break;
        case saLeave: events.push_back("leave " + GetStepName(aSender.Step())); break;
        case saUpdate:
          events.push_back("update " + GetStepName(aSender.Step()) + " " + std::to_string(aSender.StepMessage()));
          break;
        case saNone: break;
      }
    });
  }
};

class StepSequence : public testing::Test {
 protected:
  void SetUp() override {
    fTarget = GetTempDir() + "vek-engine-" + testing::UnitTest::GetInstance()->current_test_info()->name();
    context.InstallPath = fTarget;
    UseScript("[System Info]\r\nName=Demo\r\n");
  }

  // The engine reads the system section from the script at stStart.
  // Every script gets one main option with one selected sub-option without pack files.
  void UseScript(const std::string& aText) {
    context.ScriptFileName = fTarget + ".ini";
    (void)DeleteFileAt(context.ScriptFileName);
    ASSERT_TRUE(AppendToFile(context.ScriptFileName, aText + kOneOption).ok());
  }
  static constexpr const char* kOneOption =
      "[IMainOption1]\r\nCaption=Main\r\n[ISubOption1.1]\r\nCaption=Files\r\nSelected=1\r\n";
  void UseSystemDir() { UseScript("[System Info]\r\nName=Demo\r\nSystemDir=DemoSys\r\n"); }

  TRunContext context;
  // The channels of a silent run and of a wizard run; no test opens a window.
  test::TFakeUserChannel silent{true};
  test::TFakeUserChannel wizard{false};
  std::string fTarget;
};

const std::vector<TStepTypes> kSilentInstallWithoutFiles = {
    stStart, stSelectLanguage, stSetLanguage, stInstUpd, stVerifySystemInfoUserRights, stAppRunTest,
    StReadInstallIniOptions, StStartInfo, stAcceptLicens, stWhereTo, stCheckWhereTo, StReadInstallIniExternals,
    stDeftCust, stExecuteChoices, stVerifyUserRights, stCopyExternals, stExecuteExternals, stFinalInfo, stFinish,
    stTerminate};

TEST_F(StepSequence, SilentInstallIsOneNestedCallFromStartToTerminate) {
  UseSystemDir();
  TSetupEngine engine(context, &silent);
  Recorder recorder;
  recorder.Attach(engine);
  engine.ExecuteStep();

  EXPECT_EQ(recorder.entered, kSilentInstallWithoutFiles);
  // Every step is entered before any is left, and left in reverse order.
  const std::size_t n = recorder.entered.size();
  ASSERT_GE(recorder.events.size(), 2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    EXPECT_EQ(recorder.events[recorder.events.size() - 1 - i], "leave " + GetStepName(recorder.entered[i]));
  }
  EXPECT_EQ(engine.InstallMode(), 1);
  EXPECT_TRUE(DirectoryExists(context.SystemInstallDir)) << context.SystemInstallDir;
  EXPECT_TRUE(silent.Messages.empty());
}

TEST_F(StepSequence, WithoutAnySystemFolderTheCheckEndsTheRun) {
  TSetupEngine engine(context, &silent);
  Recorder recorder;
  recorder.Attach(engine);
  engine.ExecuteStep();
  ASSERT_GE(recorder.entered.size(), 2u);
  EXPECT_EQ(recorder.entered[recorder.entered.size() - 2], stCheckWhereTo);
  EXPECT_EQ(recorder.entered.back(), stTerminate);
  EXPECT_TRUE(engine.RunFailed());
  // The reason goes to the run's channel, which in a silent run only logs it.
  ASSERT_EQ(silent.Messages.size(), 1u);
  EXPECT_EQ(silent.Messages[0].type, mtError);
}

TEST_F(StepSequence, SilentCleanupSequence) {
  struct Case {
    const char* record;
    std::vector<TStepTypes> steps;
    bool failed;
  };
  const Case cases[] = {
      // A record that names nothing that exists: nothing to do and no error.
      {"[LuM CleanUp]\r\nSystem=Demo\r\n[LuM CleanUp Directories]\r\nC:\\vek-no-such-folder=1\r\n",
       {stStart, stCleanUpStart, stCleanUpDirInfo, stAppRunTest, stCleanUpExecute, stFinishCleanUp, stTerminate},
       false},
      // Not a cleanup record: the run ends at once.
      {"[Settings]\r\nA=1\r\n", {stStart, stCleanUpStart, stTerminate}, true},
  };
  for (const Case& c : cases) {
    UseScript(c.record);
    context.RunMode = rmCleanUp;
    TSetupEngine engine(context, &silent);
    Recorder recorder;
    recorder.Attach(engine);
    engine.ExecuteStep();
    EXPECT_EQ(recorder.entered, c.steps) << c.record;
    EXPECT_EQ(engine.RunFailed(), c.failed) << c.record;
  }
}

TEST_F(StepSequence, WizardRunStopsWhereTheUserDecides) {
  UseSystemDir();
  TSetupEngine engine(context, &wizard);
  Recorder recorder;
  recorder.Attach(engine);

  engine.ExecuteStep();  // stStart continues only if silent
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"enter Start", "leave Start"}));
  EXPECT_EQ(engine.NextStep(), stSelectLanguage);

  recorder.events.clear();
  engine.ExecuteStep();  // language steps continue at once; install-or-update waits
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"enter Unknown step: 4", "enter Unknown step: 5", "update Unknown step: 5 0",
                                      "enter Install or Update", "leave Install or Update", "leave Unknown step: 5",
                                      "leave Unknown step: 4"}));
  EXPECT_EQ(engine.NextStep(), stVerifySystemInfoUserRights);
  EXPECT_EQ(engine.InstallMode(), 0);  // the front end lets the user choose

  engine.SetInstallMode(1);
  recorder.entered.clear();
  engine.ExecuteStep();  // rights and running-application tests pass at once; reading options waits
  EXPECT_EQ(recorder.entered,
            (std::vector<TStepTypes>{stVerifySystemInfoUserRights, stAppRunTest, StReadInstallIniOptions}));
  engine.ExecuteStep();  // no start info pages: on to the agreement, which stops without pages
  EXPECT_EQ(engine.NextStep(), stWhereTo);
  engine.ExecuteStep();  // the user edits the path
  EXPECT_EQ(engine.NextStep(), stCheckWhereTo);
  recorder.entered.clear();
  engine.ExecuteStep();  // the check and everything after it up to the default/custom question
  EXPECT_EQ(recorder.entered, (std::vector<TStepTypes>{stCheckWhereTo, StReadInstallIniExternals, stDeftCust}));
  EXPECT_EQ(recorder.events.back(), "leave Check Installpath");  // the outermost call's own leave comes last
}

TEST_F(StepSequence, DefaultOrCustomFromTheCommandLine) {
  UseSystemDir();
  for (const int mode : {1, 2}) {
    TSetupEngine engine(context, &wizard);
    Recorder recorder;
    recorder.Attach(engine);
    engine.SetDeftCustMode(mode);
    engine.SetNextStep(stDeftCust);
    engine.ExecuteStep();
    // Default options go straight on; custom options stop on the option page.
    EXPECT_EQ(recorder.entered.size() > 1 ? recorder.entered[1] : stWait, mode == 1 ? stExecuteChoices : stIoptions);
  }
}

TEST_F(StepSequence, BackStackRemembersOnlyReturnableSteps) {
  const struct {
    TStepTypes step;
    bool pushed;
  } cases[] = {{stStart, true},       {stInstUpd, true},      {stAppRunTest, false}, {stWhereTo, true},
               {stInstallFiles, true}, {stIconfirm, false},    {stDeftCust, false},   {stCleanUpStart, true},
               {stExecuteChoices, true}, {stSelectLanguage, false}};
  for (const auto& c : cases) {
    TSetupEngine engine(context);
    EXPECT_EQ(engine.PrevStep(), stStart);  // an empty stack sends the user back to the start
    // The front end remembers the page it is on when the user goes forward.
    bool done = false;
    engine.SetOnStep([&](TSetupEngine& aSender) {
      if (!done && aSender.StepAction() == saEnter && aSender.Step() == c.step) {
        aSender.UpdatePrevSteps();
        done = true;
      }
    });
    engine.SetNextStep(c.step);
    engine.ExecuteStep();
    EXPECT_EQ(engine.PrevStep(), c.pushed ? c.step : stStart) << GetStepName(c.step);
    EXPECT_EQ(engine.PrevStep(), stStart);
  }
}

TEST_F(StepSequence, UnreachableStepsOnlyAnnounceThemselves) {
  for (const TStepTypes step : {stSmallFontTest, stFinishGenWorkStation, stWait}) {
    TSetupEngine engine(context);
    Recorder recorder;
    recorder.Attach(engine);
    engine.SetNextStep(step);
    engine.ExecuteStep();
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"enter " + GetStepName(step), "leave " + GetStepName(step)}));
  }
}

}  // namespace
}  // namespace vek
