#include <gtest/gtest.h>

#include "system/SysInfo.h"

namespace vek {
namespace {

TEST(WinVersion, NumberReadsMajorDotMinorAsDecimal) {
  const struct {
    unsigned major, minor;
    double expected;
  } cases[] = {
      {4, 0, 4.0},   {5, 1, 5.1}, {6, 1, 6.1},  {6, 3, 6.3},
      {10, 0, 10.0}, {0, 0, 0.0}, {6, 10, 6.1},  // "6.10" read as a decimal number
      {6, 25, 6.25},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ((WinVersion{c.major, c.minor}.Number()), c.expected) << c.major << '.' << c.minor;
  }
}

TEST(WinVersion, TerminalServerNeedsMultiUserTerminalSuiteOnNt5OrLater) {
  constexpr unsigned kTerminal = 0x0010, kSingleUser = 0x0100, kEnterprise = 0x0002;
  const struct {
    WinVersion version;
    bool expected;
  } cases[] = {
      {{5, 0, true, kTerminal}, true},
      {{10, 0, true, kTerminal | kEnterprise}, true},
      {{10, 0, true, kTerminal | kSingleUser}, false},  // a workstation with remote desktop
      {{10, 0, true, kSingleUser}, false},
      {{10, 0, true, 0}, false},
      {{4, 0, true, kTerminal}, false},   // NT 4 terminal server edition is too old
      {{5, 0, false, kTerminal}, false},  // not the NT family
      {{}, false},                        // the version could not be read
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.version.IsTerminalServer(), c.expected)
        << c.version.major << " nt=" << c.version.ntFamily << " suite=" << c.version.suiteMask;
  }
}

}  // namespace
}  // namespace vek
