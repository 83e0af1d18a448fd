// The result file's text: its keys, its encoding, and where it goes without /RESULT:.
#include <gtest/gtest.h>

#include "base/Utf.h"
#include "engine/ResultFile.h"

namespace vek {
namespace {

std::string Decoded(const std::string& aBytes) {
  EXPECT_EQ(aBytes.substr(0, 2), "\xFF\xFE");
  std::u16string units;
  for (std::size_t i = 2; i + 1 < aBytes.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(aBytes[i]) |
                                   (static_cast<unsigned char>(aBytes[i + 1]) << 8));
  }
  return Utf16ToUtf8(units);
}

TEST(ResultFile, HoldsEveryKeyOfACleanupWithPrograms) {
  TRunResult result;
  result.exitCode = 3010;
  result.meaning = "done, a restart is needed";
  result.restartNeeded = true;
  result.runMode = rmCleanUp;
  result.installMode = 2;
  result.installPath = "C:\\Ø Apps";
  result.logFile = "C:\\T\\setup_1.log";
  result.record.start = {2026, 1, 2, 3, 4, 5};
  result.end = {2026, 1, 2, 3, 4, 9};
  result.record.files = {7, 3, 2, 1};
  result.record.programs = {{"un.exe /x\r\n/evil", true, 5}, {"gone.exe", false, 0}};
  const std::string text = Decoded(ResultFileBytes(result));
  for (const char* line :
       {"[Result]\r\nExitCode=3010\r\nMeaning=done, a restart is needed\r\nRestartNeeded=1\r\n",
        "RunMode=cleanup\r\nInstallMode=update\r\nInstallPath=C:\\Ø Apps\r\n",
        "FilesInstalled=7\r\nFilesKept=3\r\nFilesSkipped=2\r\nFilesFailed=1\r\nProgramsRun=2\r\n",
        "LogFile=C:\\T\\setup_1.log\r\nStartTime=2026-01-02 03:04:05\r\nEndTime=2026-01-02 03:04:09\r\n",
        // A line break inside a command cannot start a key of its own.
        "[Programs]\r\nProgram1=un.exe /x  /evil\r\nStarted1=1\r\nExitCode1=5\r\n",
        "Program2=gone.exe\r\nStarted2=0\r\nExitCode2=\r\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  }
}

TEST(ResultFile, ARunWithoutProgramsHasNoProgramsSection) {
  const std::string text = Decoded(ResultFileBytes(TRunResult{}));
  EXPECT_NE(text.find("RunMode=install\r\nInstallMode=none\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("[Programs]"), std::string::npos);
}

TEST(ResultFile, BesideTheLog) {
  EXPECT_EQ(ResultFileBesideLog("C:\\T\\setup_101226_201503.log"), "C:\\T\\setup_101226_201503.result.ini");
  EXPECT_EQ(ResultFileBesideLog(""), "");
}

}  // namespace
}  // namespace vek
