#include <gtest/gtest.h>

#include "system/SysInfo.h"

namespace vek {
namespace {

// The test prefix runs at the standard 96 pixels per inch.
TEST(Screen, StandardResolutionIsSmallFonts) { EXPECT_TRUE(IsSmallFonts()); }

}  // namespace
}  // namespace vek
