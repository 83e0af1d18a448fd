#include <gtest/gtest.h>

#include "engine/SetupLog.h"

namespace vek {
namespace {

TEST(SetupLogName, ProgramNameDateAndTime) {
  const struct {
    const char* program;
    LogTimestamp when;
    const char* expected;
  } cases[] = {
      {"VekSetup.exe", {2026, 3, 9, 14, 30, 5}, "C:\\T\\VekSetup_090326_143005.log"},
      {"setup.exe", {2031, 12, 31, 0, 0, 0}, "C:\\T\\setup_311231_000000.log"},
      {"my.setup.v2.exe", {2026, 1, 2, 3, 4, 5}, "C:\\T\\my_020126_030405.log"},  // cut at the first "."
      {"noext", {2026, 1, 2, 23, 59, 59}, "C:\\T\\noext_020126_235959.log"},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeLogFileName("C:\\T\\", c.program, c.when), c.expected);
}

TEST(SetupLogName, LinesEndWithCrLfAndKeepInnerBreaks) {
  EXPECT_EQ(LogLine("   Install"), "   Install\r\n");
  EXPECT_EQ(LogLine("a\nb"), "a\nb\r\n");
  EXPECT_EQ(LogLine(""), "\r\n");
}

}  // namespace
}  // namespace vek
