#pragma once
// UTF-8 <-> UTF-16 conversion. Every text inside the program is UTF-8 in std::string; this
// pair of functions is the only place where the UTF-16 form of the Win32 API is produced.
// Invalid input never fails: ill-formed UTF-8 sequences and unpaired surrogates each become
// U+FFFD, so a damaged script or file name still gives a defined text.

#include <cstdint>
#include <string>
#include <string_view>

namespace vek {

std::u16string Utf8ToUtf16(std::string_view aText);
std::string Utf16ToUtf8(std::u16string_view aText);

// Decodes the code point at aPos and advances aPos past it (U+FFFD for a bad sequence,
// advancing by at least one byte). aPos must be below aText.size().
char32_t DecodeUtf8(std::string_view aText, std::size_t& aPos);
void AppendUtf8(std::string& aOut, char32_t aCodePoint);

}  // namespace vek
