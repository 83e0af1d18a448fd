#pragma once
// Entry names as text. A pack stores a name either as UTF-8 (general-purpose flag bit 11, or
// Info-ZIP's Unicode path extra field) or in the DOS code page 437 that the format assumes
// when nothing says otherwise; inside the program every name is UTF-8.
#include <string>
#include <string_view>

namespace vek {

std::string Cp437ToUtf8(std::string_view aBytes);
// The bytes as UTF-8 with every ill-formed sequence replaced by U+FFFD.
std::string CleanUtf8(std::string_view aBytes);

}  // namespace vek
