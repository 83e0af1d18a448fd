#pragma once
// The Win32 boundary of text: UTF-8 inside the program, UTF-16 (wchar_t) for the API.
#include <string>
#include <string_view>

#include "base/Utf.h"

namespace vek {

inline std::wstring Wide(std::string_view aText) {
  const std::u16string u16 = Utf8ToUtf16(aText);
  return std::wstring(u16.begin(), u16.end());
}

inline std::string Narrow(std::wstring_view aText) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(aText.data()), aText.size()));
}

}  // namespace vek
