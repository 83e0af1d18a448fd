// Update mode: the folders of an earlier installation, read from the files the script names.
#include <gtest/gtest.h>

#include "engine/SetupEngine.h"
#include "system/Files.h"

namespace vek {
namespace {

TEST(UpdatePaths, FromAnEarlierInstallation) {
  const std::string old = GetTempDir() + "vek_old_install.ini";
  const std::string scriptPath = GetTempDir() + "vek_update_paths.ini";
  (void)DeleteFileAt(old);
  (void)DeleteFileAt(scriptPath);
  ASSERT_TRUE(AppendToFile(old, "[Paths]\r\nMain=D:\\Old\\Main\\\r\nLib=%OPTIONPATH%\\lib\r\n").ok());
  ASSERT_TRUE(AppendToFile(scriptPath, "[UMainOption1]\r\nMainPath=" + old + ",Paths,Main\r\n"
                                       "[USubOption1.2]\r\nLibAlias=" + old + ",Paths,Lib\r\n"
                                       "[UMainOption2]\r\nMainPath=" + old + ",Paths,Missing\r\n").ok());
  TRunContext run;
  TSetupEngine e(run);
  e.LoadScript(scriptPath);
  EXPECT_EQ(e.LoadMainPath(1, "C:\\New"), "D:\\Old\\Main");  // without trailing "\"
  EXPECT_EQ(e.LoadMainPath(2, "C:\\New"), "");
  EXPECT_EQ(e.LoadMainPath(3, "C:\\New"), "");  // no such section
  EXPECT_EQ(e.LoadLibAlias(1, 2, "D:\\Old\\Main", "Lib"), "D:\\Old\\Main\\lib");
  EXPECT_EQ(e.LoadLibAlias(1, 1, "D:\\Old\\Main", "Lib"), "");
  (void)DeleteFileAt(old);
  (void)DeleteFileAt(scriptPath);
}

}  // namespace
}  // namespace vek
