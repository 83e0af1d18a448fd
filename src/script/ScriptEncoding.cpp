#include "script/ScriptEncoding.h"

#include "base/Utf.h"
#include "script/CodePage1252.h"

namespace vek {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

std::string DecodeUtf16(std::string_view aBytes, bool aBigEndian) {
  // Converted in slices, so that a large file (a cleanup record of many files) is not held a
  // third time as UTF-16 units. A slice never ends inside a surrogate pair.
  constexpr std::size_t kSlice = 32768;
  std::string text;
  text.reserve(aBytes.size() / 2);
  std::u16string units;
  for (std::size_t i = 0; i + 1 < aBytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(aBytes[i]);
    const auto second = static_cast<unsigned char>(aBytes[i + 1]);
    units += static_cast<char16_t>(aBigEndian ? (first << 8) | second : (second << 8) | first);
    if (units.size() >= kSlice && (units.back() < 0xD800 || units.back() > 0xDBFF)) {
      text += Utf16ToUtf8(units);
      units.clear();
    }
  }
  text += Utf16ToUtf8(units);
  if (aBytes.size() % 2 != 0) AppendUtf8(text, 0xFFFD);
  return text;
}

}  // namespace

TScriptEncoding DetectScriptEncoding(std::string_view aBytes) {
  if (aBytes.starts_with(kUtf8Mark)) return TScriptEncoding::Utf8;
  if (aBytes.starts_with(kUtf16LEMark)) return TScriptEncoding::Utf16LE;
  if (aBytes.starts_with(kUtf16BEMark)) return TScriptEncoding::Utf16BE;
  return TScriptEncoding::Ansi;
}

std::string ValidUtf8(std::string_view aText) {
  std::string out;
  out.reserve(aText.size());
  std::size_t pos = 0;
  while (pos < aText.size()) AppendUtf8(out, DecodeUtf8(aText, pos));
  return out;
}

std::string DecodeScriptBytes(std::string_view aBytes, const TAnsiDecoder& aAnsi) {
  switch (DetectScriptEncoding(aBytes)) {
    case TScriptEncoding::Utf8: return ValidUtf8(aBytes.substr(kUtf8Mark.size()));
    case TScriptEncoding::Utf16LE: return DecodeUtf16(aBytes.substr(kUtf16LEMark.size()), false);
    case TScriptEncoding::Utf16BE: return DecodeUtf16(aBytes.substr(kUtf16BEMark.size()), true);
    case TScriptEncoding::Ansi: break;
  }
  // A decoder that hands back damaged text must not leak ill-formed UTF-8 into the store.
  return aAnsi ? ValidUtf8(aAnsi(aBytes)) : DecodeWindows1252(aBytes);
}

}  // namespace vek
