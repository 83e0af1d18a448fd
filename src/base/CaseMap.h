#pragma once
// One Unicode simple case mapping for the whole program, generated from the Unicode character
// database (tools/gen_casemap.py). Switches, section and key names, paths, variables and
// language codes compare with these functions, so the Windows and host builds agree and
// "ø" upper-cases to "Ø" as Windows does.

#include <cstddef>
#include <string>
#include <string_view>

namespace vek {

char32_t UpperChar(char32_t aChar);
char32_t LowerChar(char32_t aChar);

std::string UpperCase(std::string_view aText);
std::string LowerCase(std::string_view aText);

// Compares code point by code point after upper-casing: <0, 0 or >0.
int CompareText(std::string_view aLeft, std::string_view aRight);
bool SameText(std::string_view aLeft, std::string_view aRight);
bool StartsWithText(std::string_view aText, std::string_view aPrefix);
bool EndsWithText(std::string_view aText, std::string_view aSuffix);
// Byte offset of the first case-insensitive occurrence of aWhat at or after aFrom, or npos.
std::size_t FindText(std::string_view aText, std::string_view aWhat, std::size_t aFrom = 0);

// Ordering and hashing for containers keyed by names that compare without regard to case.
struct TextLess {
  using is_transparent = void;
  bool operator()(std::string_view aLeft, std::string_view aRight) const {
    return CompareText(aLeft, aRight) < 0;
  }
};

}  // namespace vek
