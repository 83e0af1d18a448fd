#pragma once
// The bytes of a script file as text. A byte-order mark chooses UTF-8, UTF-16 LE or UTF-16 BE;
// a file without one is in the ANSI code page, which the caller decodes (the system's code
// page on Windows; without a decoder, Windows-1252). Damaged input never fails: every ill-formed UTF-8
// sequence, unpaired surrogate or odd trailing byte becomes U+FFFD.
#include <functional>
#include <string>
#include <string_view>

namespace vek {

enum class TScriptEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// Turns bytes of the ANSI code page into UTF-8.
using TAnsiDecoder = std::function<std::string(std::string_view)>;

TScriptEncoding DetectScriptEncoding(std::string_view aBytes);

// The whole file as UTF-8, without its byte-order mark.
std::string DecodeScriptBytes(std::string_view aBytes, const TAnsiDecoder& aAnsi);

// The text with every ill-formed sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view aText);

}  // namespace vek
