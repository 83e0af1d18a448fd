#pragma once
// Text in the system's ANSI code page (scripts without a byte-order mark), as UTF-8.
#include <string>
#include <string_view>

namespace vek {

std::string AnsiToUtf8(std::string_view aBytes);

}  // namespace vek
