#pragma once
// Base64 (RFC 4648, standard alphabet) as scripts carry binary data: split over lines, so line
// breaks and blanks between the characters are skipped.
#include <optional>
#include <string>
#include <string_view>

namespace vek {

// The bytes of aText, or nothing when it holds a character outside the alphabet, padding
// anywhere but at the end, or a count of characters that no encoder produces.
std::optional<std::string> DecodeBase64(std::string_view aText);

}  // namespace vek
