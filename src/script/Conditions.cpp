#include "script/Conditions.h"

#include <array>
#include <compare>

#include "base/CaseMap.h"
#include "script/ScriptNumber.h"
#include "script/ScriptText.h"

namespace vek {
namespace {

enum class TOperator { EqualOrGreater, EqualOrLess, NotEqual, Equal, Greater, Less };

struct TOperatorToken {
  std::string_view text;
  TOperator op;
};

// Two-character operators first, so that ">=" is not taken for ">".
constexpr std::array<TOperatorToken, 6> kOperators{{
    {">=", TOperator::EqualOrGreater},
    {"<=", TOperator::EqualOrLess},
    {"<>", TOperator::NotEqual},
    {"=", TOperator::Equal},
    {">", TOperator::Greater},
    {"<", TOperator::Less},
}};
static_assert(kOperators.size() == static_cast<std::size_t>(TOperator::Less) + 1, "every operator has its token");

std::strong_ordering Order(std::string_view aValue, std::string_view aLiteral) {
  const auto value = ParseScriptInteger(aValue);
  const auto literal = ParseScriptInteger(aLiteral);
  if (value && literal) return *value <=> *literal;
  // Byte order of UTF-8 is the order of the character codes.
  return aValue.compare(aLiteral) <=> 0;
}

bool Holds(TOperator aOp, std::string_view aValue, std::string_view aLiteral) {
  if (aOp == TOperator::Equal) return SameText(aValue, aLiteral);
  const std::strong_ordering order = Order(aValue, aLiteral);
  switch (aOp) {
    case TOperator::EqualOrGreater: return order >= 0;
    case TOperator::EqualOrLess: return order <= 0;
    case TOperator::NotEqual: return order != 0;
    case TOperator::Greater: return order > 0;
    case TOperator::Less: return order < 0;
    case TOperator::Equal: break;
  }
  return false;
}

bool CheckComparison(const TUserVariables& aVars, std::string_view aPiece) {
  for (const TOperatorToken& token : kOperators) {
    const std::size_t at = aPiece.find(token.text);
    if (at == std::string_view::npos) continue;
    const std::string value = aVars.Value(aPiece.substr(0, at));
    return Holds(token.op, value, aPiece.substr(at + token.text.size()));
  }
  return false;
}

// Calls aPart for each part of the text between separators until it returns aStopOn.
template <typename PartFn>
bool AnyPartIs(std::string_view aText, char aSeparator, bool aStopOn, PartFn aPart) {
  for (;;) {
    const std::size_t end = aText.find(aSeparator);
    if (aPart(aText.substr(0, end)) == aStopOn) return true;
    if (end == std::string_view::npos) return false;
    aText.remove_prefix(end + 1);
  }
}

}  // namespace

bool CheckConditions(const TUserVariables& aVars, std::string_view aConditions) {
  const std::string_view text = TrimBlanks(aConditions);
  if (text.empty()) return true;
  const bool someFalse = AnyPartIs(text, '&', false, [&](std::string_view aPart) {
    return AnyPartIs(aPart, '|', true, [&](std::string_view aPiece) { return CheckComparison(aVars, aPiece); });
  });
  return !someFalse;
}

}  // namespace vek
