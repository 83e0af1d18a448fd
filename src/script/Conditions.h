#pragma once
// Condition texts of choices and external programs: comparisons of user variables with
// literals, joined by "&" (all must hold) and "|" (one must hold); "&" binds weaker, so
// A=1|B=2&C>=10 means (A=1 or B=2) and C>=10. An empty condition holds.
//
// A comparison is "name op literal". The operator is the first of >=, <=, <>, =, >, < (in
// this order of search) that occurs anywhere in the piece; name and literal are the text
// before and after it, blanks included ("NAME = yes" compares the variable "NAME " with " yes").
// "=" compares without regard to case; the other operators compare numbers when both sides
// are numbers (decimal, "$" or "0x" hexadecimal), texts by character codes otherwise. A piece
// without an operator is false. Unknown variables are empty.
#include <string_view>

#include "script/UserVariables.h"

namespace vek {

bool CheckConditions(const TUserVariables& aVars, std::string_view aConditions);

}  // namespace vek
