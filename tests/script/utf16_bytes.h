#pragma once
// Test files in UTF-16 with a byte-order mark, as editors and this program write them.
#include <string>

#include "base/Utf.h"

namespace vek {

inline std::string Utf16Bytes(const std::string& aText, bool aBigEndian = false) {
  std::string bytes = aBigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : Utf8ToUtf16(aText)) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += aBigEndian ? high : low;
    bytes += aBigEndian ? low : high;
  }
  return bytes;
}

}  // namespace vek
