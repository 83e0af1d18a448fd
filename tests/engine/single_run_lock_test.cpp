#include <gtest/gtest.h>

#include "engine/CleanupScript.h"
#include "engine/SingleRunLock.h"

namespace vek {
namespace {

TEST(SingleRunLock, EverySpellingOfAFolderGivesOneNameAndOtherFoldersOthers) {
  const std::string name = SingleRunLockName("C:\\Apps\\Sys");
  for (const char* same : {"c:\\apps\\sys", "C:\\APPS\\SYS\\", "C:/Apps/Sys", "C:\\Apps\\\\Sys\\\\"}) {
    EXPECT_EQ(SingleRunLockName(same), name) << same;
  }
  for (const char* other : {"C:\\Apps\\Sys2", "C:\\Apps", "D:\\Apps\\Sys", "\\\\server\\share\\Apps\\Sys"}) {
    EXPECT_NE(SingleRunLockName(other), name) << other;
  }
  // A share keeps its leading pair of delimiters: it is not the folder of the same name on a drive.
  EXPECT_NE(SingleRunLockName("\\\\srv\\s"), SingleRunLockName("\\srv\\s"));
  // A kernel object name: no delimiter after the namespace, short whatever the folder.
  EXPECT_EQ(name.rfind("Global\\", 0), 0u);
  EXPECT_EQ(name.find('\\', 7), std::string::npos);
  EXPECT_LT(SingleRunLockName("C:\\" + std::string(5000, 'x')).size(), 64u);
}

TEST(SingleRunLock, ACleanupLocksTheFolderThatHoldsItsRecord) {
  TCleanupScript record("C:\\Temp\\LUMCLEAN.INI");
  record.WriteString("LuM CleanUp Directories", "C:\\Apps\\Prog", "0");
  record.WriteString("LuM CleanUp Directories", "%SYSDIR%", "1");
  record.WriteString("C:\\Apps\\Prog", "CLEANUP.INI", "");
  record.WriteString("%SYSDIR%", "CLEANUP.INI", "1");
  EXPECT_EQ(RecordedSystemFolder(record), "%SYSDIR%");
  EXPECT_EQ(RecordedSystemFolder(TCleanupScript("C:\\x.ini")), "");
}

}  // namespace
}  // namespace vek
