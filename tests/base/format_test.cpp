#include <gtest/gtest.h>

#include "base/Format.h"

namespace vek {
namespace {

TEST(Format, FillsPlaceholdersInOrder) {
  EXPECT_EQ(FormatText("Error %d while copying \"%s\".", {-1, "C:\\a b"}), "Error -1 while copying \"C:\\a b\".");
  EXPECT_EQ(FormatText("code %x", {0x80040002LL}), "code 80040002");
  EXPECT_EQ(FormatText("%x", {-2147024891}), "80070005");
  EXPECT_EQ(FormatText("100%% done", {}), "100% done");
  EXPECT_EQ(FormatText("[%-4s][%4s][%04d]", {"ab", "cd", 7}), "[ab  ][  cd][0007]");
  EXPECT_EQ(FormatText("%s", {42}), "42");
}

// A translation with a wrong placeholder must print it instead of reading past the arguments.
TEST(Format, NeverReadsPastItsArguments) {
  const struct {
    const char* format;
    const char* expected;
  } cases[] = {
      {"%s and %s", "one and %s"},       // too few arguments
      {"%d files", "%d files"},          // text where a number belongs
      {"50%", "50%"},                    // lone percent at the end
      {"%q %s", "%q one"},               // unknown conversion keeps the argument for the next
      {"%999999999s|", "one|"},          // absurd width is capped, not allocated
  };
  for (const auto& c : cases) {
    const std::string out = FormatText(c.format, {"one"});
    if (std::string_view(c.format).starts_with("%9")) {
      EXPECT_EQ(out.size(), 1025u) << c.format;
    } else {
      EXPECT_EQ(out, c.expected) << c.format;
    }
  }
}

TEST(Format, WrongKindStillUsesUpItsArgument) {
  EXPECT_EQ(FormatText("%d of %s", {"x", "y"}), "%d of y");
}

}  // namespace
}  // namespace vek
