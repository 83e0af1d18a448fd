#include <gtest/gtest.h>

#include "archive/MaskMatch.h"

namespace vek {
namespace {

struct TMaskCase {
  const char* Name;
  const char* Masks;
  bool Matches;
};

void PrintTo(const TMaskCase& aCase, std::ostream* aOut) {
  *aOut << '"' << aCase.Name << "\" against \"" << aCase.Masks << '"';
}

class MaskListTest : public ::testing::TestWithParam<TMaskCase> {};

TEST_P(MaskListTest, Matches) {
  const TMaskCase& c = GetParam();
  EXPECT_EQ(MatchesMaskList(c.Name, c.Masks), c.Matches)
      << "name \"" << c.Name << "\", masks \"" << c.Masks << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Wildcards, MaskListTest,
    ::testing::Values(TMaskCase{"setup.exe", "*.exe", true}, TMaskCase{"setup.exe", "*.dll", false},
                      TMaskCase{"SETUP.EXE", "setup.*", true},
                      TMaskCase{"bin/tool.dll", "*.dll", true},  // "*" spans folders
                      TMaskCase{"bin/tool.dll", "bin/*", true}, TMaskCase{"bin/tool.dll", "tool.dll", false},
                      TMaskCase{"a.txt", "?.txt", true}, TMaskCase{"ab.txt", "?.txt", false},
                      TMaskCase{"grüße.txt", "GRÜ?E.TXT", true}, TMaskCase{"Ørsted.txt", "ø*", true},
                      TMaskCase{"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*c", false},
                      TMaskCase{"", "*", true}, TMaskCase{"x", "", false}));

// Windows takes a final ".*" as "any extension or none": "*.*" is every file.
INSTANTIATE_TEST_SUITE_P(DotStar, MaskListTest,
                         ::testing::Values(TMaskCase{"README", "*.*", true},
                                           TMaskCase{"docs/LICENSE", "*.*", true},
                                           TMaskCase{"readme", "readme.*", true},
                                           TMaskCase{"readme2", "readme.*", false},
                                           TMaskCase{"readme", "readme.?", false}));

INSTANTIATE_TEST_SUITE_P(
    Sets, MaskListTest,
    ::testing::Values(TMaskCase{"b.txt", "[a-c].txt", true}, TMaskCase{"B.txt", "[a-c].txt", true},
                      TMaskCase{"d.txt", "[a-c].txt", false}, TMaskCase{"x.txt", "[!x].txt", false},
                      TMaskCase{"X.txt", "[!x].txt", false}, TMaskCase{"y.txt", "[!x].txt", true},
                      TMaskCase{"-.txt", "[a-].txt", true}, TMaskCase{"].txt", "[]].txt", true},
                      TMaskCase{"f2.dat", "f[0-9xyz].dat", true},
                      // Masks that cannot be evaluated match nothing.
                      TMaskCase{"[a.txt", "[a.txt", false}, TMaskCase{"b.txt", "[c-a].txt", false}));

// ";" separates masks; the text before each ";" counts even when empty, the text after the
// last one only when not empty.
INSTANTIATE_TEST_SUITE_P(
    Lists, MaskListTest,
    ::testing::Values(TMaskCase{"a.dll", "*.exe;*.dll", true}, TMaskCase{"a.hlp", "*.exe;*.dll", false},
                      TMaskCase{"a.dll", "*.exe;[;*.dll", true}, TMaskCase{"", "", false},
                      TMaskCase{"", ";", true}, TMaskCase{"", "a;", false}, TMaskCase{"", "a;;b", true},
                      TMaskCase{"b", "a;;b", true}, TMaskCase{"a.dll", " *.dll", false}));

}  // namespace
}  // namespace vek
