#include "script/ScriptNumber.h"

#include "script/ScriptText.h"

namespace vek {
namespace {

int DigitValue(char aChar, int aBase) {
  int value = -1;
  if (aChar >= '0' && aChar <= '9') value = aChar - '0';
  if (aChar >= 'a' && aChar <= 'f') value = aChar - 'a' + 10;
  if (aChar >= 'A' && aChar <= 'F') value = aChar - 'A' + 10;
  return value < aBase ? value : -1;
}

// Digits only; nullopt when empty, when another character occurs or when it exceeds aLimit.
std::optional<std::uint64_t> ParseDigits(std::string_view aDigits, int aBase, std::uint64_t aLimit) {
  if (aDigits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : aDigits) {
    const int digit = DigitValue(c, aBase);
    if (digit < 0) return std::nullopt;
    value = value * static_cast<std::uint64_t>(aBase) + static_cast<std::uint64_t>(digit);
    if (value > aLimit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<std::int32_t> ParseScriptInteger(std::string_view aText) {
  std::string_view text = TrimBlanks(aText);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::int64_t value = 0;
  if (text.starts_with("$") || text.starts_with("0x") || text.starts_with("0X")) {
    const auto digits = ParseDigits(text.substr(text.front() == '$' ? 1 : 2), 16, 0xFFFFFFFFu);
    if (!digits) return std::nullopt;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(*digits));
  } else {
    const auto digits = ParseDigits(text, 10, 0x80000000u);
    if (!digits) return std::nullopt;
    value = static_cast<std::int64_t>(*digits);
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<std::uint32_t> ParseScriptBits(std::string_view aText) {
  const std::string_view text = TrimBlanks(aText);
  const bool hex = text.starts_with("$") || text.starts_with("0x") || text.starts_with("0X");
  const auto digits = hex ? ParseDigits(text.substr(text.front() == '$' ? 1 : 2), 16, 0xFFFFFFFFu)
                          : ParseDigits(text, 10, 0xFFFFFFFFu);
  if (!digits) return std::nullopt;
  return static_cast<std::uint32_t>(*digits);
}

}  // namespace vek
