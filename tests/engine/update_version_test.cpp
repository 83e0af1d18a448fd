// The version tests of an update at the install-path check: what the user is shown when one
// fails (caption, text and the folder of the installation), and that /V and passing tests let the
// update go on.
#include <gtest/gtest.h>

#include <string>

#include "base/FakeUserChannel.h"
#include "engine/SetupEngine.h"
#include "system/Files.h"

namespace vek {
namespace {

class UpdateVersion : public testing::Test {
 protected:
  void SetUp() override {
    base = GetTempDir() + "vek-updver-" + testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_TRUE(ForceDirectories(base + "\\Root\\DemoSys").ok());
    context.InstallPath = base;
    context.ScriptFileName = base + ".ini";
  }
  void TearDown() override { (void)DeleteFileAt(context.ScriptFileName); }

  // A silent update of a product installed below base\Root\DemoSys, with these version tests.
  void Run(const std::string& aChecks, bool aOverride) {
    (void)DeleteFileAt(context.ScriptFileName);
    ASSERT_TRUE(
        AppendToFile(context.ScriptFileName,
                     "[System Info]\r\nName=Demo\r\nVersion=4.2\r\nInstallRoot=Root\r\nSystemDir=DemoSys\r\n"
                     "[UMainOption1]\r\nCaption=Main\r\n[USubOption1.1]\r\nCaption=Files\r\nSelected=1\r\n"
                     "[UVersionCheck]\r\n" +
                         aChecks)
            .ok());
    TSetupEngine engine(context, &channel);
    engine.SetInstmode(2);
    engine.SetOverrideVersionCheck(aOverride);
    engine.ExecuteStep();
    failed = engine.RunFailed();
  }

  TRunContext context;
  test::TFakeUserChannel channel{true};
  std::string base;
  bool failed = false;
};

TEST_F(UpdateVersion, TheFirstFailingTestIsShownWithItsTextAndEndsTheRun) {
  const std::string script = base + ".ini";
  Run("File=" + script +
          ",System Info,Name=Demo\r\nError=Not shown\r\n"
          "File1=" +
          script +
          ",System Info,Version>=5\r\nError1=Version %SysVer% is too old\r\n"
          "File2=" +
          script + ",System Info,Name=Never read\r\nError2=Never shown\r\n",
      false);
  EXPECT_TRUE(failed);
  ASSERT_EQ(channel.Messages.size(), 1u);
  EXPECT_EQ(channel.Messages[0].caption, "Setup error");
  EXPECT_EQ(channel.Messages[0].type, mtError);
  // The folder is the install path with the chosen install root; the error text is expanded.
  EXPECT_EQ(channel.Messages[0].message,
            "The installation in " + base + "\\Root cannot be updated.&&Version 4.2 is too old");
}

TEST_F(UpdateVersion, PassingTestsAndAnOverrideLetTheUpdateGoOn) {
  const std::string failing = "File=" + base + ".ini,System Info,Version>=5\r\nError=Too old\r\n";
  struct Case {
    std::string checks;
    bool override;
  };
  const Case cases[] = {
      {"File=" + base + ".ini,System Info,Version>=4.1\r\nError=Too old\r\n", false},
      {"", false},  // no tests at all
      {failing, true},
  };
  for (const Case& c : cases) {
    channel.Messages.clear();
    Run(c.checks, c.override);
    EXPECT_FALSE(failed) << c.checks;
    EXPECT_TRUE(channel.Messages.empty())
        << c.checks << (channel.Messages.empty() ? "" : channel.Messages[0].message);
  }
}

}  // namespace
}  // namespace vek
