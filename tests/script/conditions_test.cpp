// Condition texts of choices and external programs.
#include <gtest/gtest.h>

#include "script/Conditions.h"

namespace vek {
namespace {

class ConditionsTest : public ::testing::Test {
 protected:
  bool Check(const char* aText) { return CheckConditions(vars, aText); }
  // Sets the variables, then checks the condition.
  bool CheckWith(std::initializer_list<std::pair<const char*, const char*>> aVars, const char* aText) {
    for (const auto& [name, value] : aVars) vars.SetVariable(name, value);
    return Check(aText);
  }
  TUserVariables vars;
};

TEST_F(ConditionsTest, AndOfOrGroups) {
  struct Case {
    const char* a;
    const char* b;
    const char* c;
    bool expected;
  };
  // A=1|B=2&C>=10
  const Case cases[] = {
      {"1", "0", "10", true}, {"0", "2", "11", true}, {"0", "0", "10", false},
      {"1", "2", "9", false},  // 9 < 10 as numbers
      {"1", "0", "x9", true},  // "x9" >= "10" as texts
  };
  for (const Case& c : cases) {
    vars.SetVariable("A", c.a);
    vars.SetVariable("B", c.b);
    vars.SetVariable("C", c.c);
    EXPECT_EQ(Check("A=1|B=2&C>=10"), c.expected) << c.a << " " << c.b << " " << c.c;
  }
}

TEST_F(ConditionsTest, Comparisons) {
  vars.SetVariable("V", "10");
  vars.SetVariable("T", "abc");
  vars.SetVariable("H", "$1F");
  struct Case {
    const char* text;
    bool expected;
  };
  const Case cases[] = {
      {"", true},        {"  \t ", true},    {"V=10", true},     {"V=010", false},  // "=" compares texts
      {"T=ABC", true},   {"T<>ABC", true},   // "<>" compares with case
      {"V<>0xA", false}, {"V>9", true},      {"V<9", false},     {"V<=10", true},
      {"V>=$A", true},   {"H=31", false},    {"H>30", true},     {"H<0x20", true},
      {"V>9a", false},   // not both numbers: "10" < "9a" by character codes
      {"Missing=", true}, {"Missing<>", false}, {"Missing=x", false},
      {"T", false},      // no operator
      {"V=10&", false},  // an empty part has no operator
      {"|V=10", true},
      {"V =10", false},  // the variable "V " does not exist
      {" V=10 ", true},  // the whole condition is trimmed
  };
  for (const Case& c : cases) EXPECT_EQ(Check(c.text), c.expected) << c.text;
}

TEST_F(ConditionsTest, OperatorSearchOrder) {
  // ">=" is searched before "=", so "A>=B" is never read as variable "A>" equal to "B".
  EXPECT_TRUE(CheckWith({{"A>", "B"}, {"A", "C"}}, "A>=B"));  // "C" >= "B"
  // "=" is searched before ">" and "<": "X=<1" compares X with "<1".
  EXPECT_TRUE(CheckWith({{"X", "<1"}}, "X=<1"));
  // "<>" before "=" and "<".
  EXPECT_FALSE(CheckWith({{"Y", "1"}}, "Y<>1"));
}

TEST_F(ConditionsTest, SpacesBelongToNameAndLiteral) {
  EXPECT_TRUE(CheckWith({{"NAME ", " yes"}, {"NAME", "yes"}}, "NAME = yes"));
  EXPECT_FALSE(CheckWith({{"NAME ", "yes"}}, "NAME = yes"));
}

TEST_F(ConditionsTest, PathVariablesAreLookedUpFirst) {
  vars.SetPathVariable("P", "path");
  vars.SetVariable("P", "value");
  EXPECT_TRUE(Check("P=PATH"));
}

}  // namespace
}  // namespace vek
