#pragma once
// Numbers written in a script: decimal with an optional sign, or hexadecimal after "0x" or "$"
// (also after a sign). A value is a number only when all of it is one (surrounding blanks
// aside) and it fits 32 bits; hexadecimal values of up to eight digits are taken as their 32-bit
// pattern ("$FFFFFFFF" is -1), as Windows programs conventionally read them.
#include <cstdint>
#include <optional>
#include <string_view>

namespace vek {

std::optional<std::int32_t> ParseScriptInteger(std::string_view aText);

// A bit mask written in a script: decimal, or hexadecimal after "0x" or "$", without a sign,
// surrounding blanks aside, at most 32 bits. A sign or a larger value makes it no number: a
// negative mask would silently stand for nearly every bit.
std::optional<std::uint32_t> ParseScriptBits(std::string_view aText);

}  // namespace vek
