#include <gtest/gtest.h>

#include "engine/SetupEngineTypes.h"

namespace vek {
namespace {

TEST(StepNames, NamedAndUnnamedSteps) {
  const struct {
    int step;
    const char* name;
  } cases[] = {
      {stStart, "Start"},
      {stInstUpd, "Install or Update"},
      {stSelectLanguage, "Unknown step: 4"},
      {stSetLanguage, "Unknown step: 5"},
      {StStartInfo, "Start Info"},
      {stVerifyUserRights, "Verify user rigths"},
      {stExecuteChoices, "Unknown step: 25"},
      {stCleanUpStart, "Start clean up"},
      {stTerminate, "Terminate"},
      {stWait, "Wait"},
      {36, "Unknown step: 36"},
      {255, "Unknown step: 255"},
      {-1, "Unknown step: -1"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetStepName(c.step), c.name) << c.step;
}

TEST(StepNames, EnumerationsKeepTheirDeclaredOrder) {
  // Front ends and logs depend on these ordinals.
  EXPECT_EQ(stSelectLanguage, 4);
  EXPECT_EQ(stInstallFiles, 13);
  EXPECT_EQ(stWait, 35);
  EXPECT_EQ(saUpdate, 3);
  EXPECT_EQ(smChoice, 26);
  EXPECT_EQ(sbStop, 14);
  EXPECT_EQ(rs_extAppIsRunning, 6);
  EXPECT_EQ(ch_set, 1);
}

}  // namespace
}  // namespace vek
