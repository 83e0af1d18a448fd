// The one decision from how a run ended to its exit code.
#include <gtest/gtest.h>

#include "app/ExitCode.h"

namespace vek {
namespace {

struct ExitCase {
  const char* name;
  TRunEnd end;
  int code;
};

class ExitCodes : public testing::TestWithParam<ExitCase> {};

TEST_P(ExitCodes, FromHowTheRunEnded) { EXPECT_EQ(ExitCodeOf(GetParam().end), GetParam().code); }

INSTANTIATE_TEST_SUITE_P(
    Table, ExitCodes,
    testing::Values(ExitCase{"done", {}, 0}, ExitCase{"restart_pending", {false, false, false, true}, 3010},
                    ExitCase{"stopped_by_a_check", {false, true, false, false}, 1},
                    // A stopped run needs no restart for the work it did not do.
                    ExitCase{"stopped_with_restart_flag", {false, true, false, true}, 1},
                    ExitCase{"cancelled_in_the_wizard", {false, true, true, false}, 1602},
                    ExitCase{"cancel_flag_alone", {false, false, true, false}, 1602},
                    ExitCase{"error_wins_over_cancel", {true, true, true, true}, 2},
                    ExitCase{"not_carried_out", {true, false, false, false}, 2}),
    [](const auto& aInfo) { return std::string(aInfo.param.name); });

TEST(ExitCodes, EveryCodeHasItsMeaning) {
  for (const int code : {kExitDone, kExitStopped, kExitNotCarriedOut, kExitCancelled, kExitRestartNeeded}) {
    EXPECT_NE(ExitCodeMeaning(code), "unknown") << code;
  }
  EXPECT_EQ(ExitCodeMeaning(77), "unknown");
}

}  // namespace
}  // namespace vek
