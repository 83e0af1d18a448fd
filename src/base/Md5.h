#pragma once
// MD5 message digest (RFC 1321). Used only to check that a block of text in a script arrived as
// it was written, never for security: MD5 does not resist a deliberate forgery.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vek {

std::array<std::uint8_t, 16> Md5(std::string_view aBytes);

// The digest as 32 lower-case hexadecimal digits.
std::string Md5Hex(std::string_view aBytes);

}  // namespace vek
