#pragma once
// Windows-1252, the single-byte code page that scripts without a byte-order mark are read in
// when the platform has no ANSI code page of its own (the host build).
#include <string>
#include <string_view>

namespace vek {

// Every byte becomes one character. The five bytes that 1252 leaves undefined (81, 8D, 8F, 90,
// 9D) become the control characters of the same number, as Windows converts them.
std::string DecodeWindows1252(std::string_view aBytes);

}  // namespace vek
