#include "base/Utf.h"

namespace vek {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

char32_t DecodeUtf8(std::string_view aText, std::size_t& aPos) {
  const auto lead = static_cast<unsigned char>(aText[aPos]);
  if (lead < 0x80) {
    ++aPos;
    return lead;
  }
  std::size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    ++aPos;
    return kReplacement;
  }
  if (aPos + length > aText.size()) {
    ++aPos;
    return kReplacement;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto c = static_cast<unsigned char>(aText[aPos + i]);
    if (!IsContinuation(c)) {
      ++aPos;
      return kReplacement;
    }
    value = (value << 6) | (c & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || IsSurrogate(value)) {
    ++aPos;
    return kReplacement;
  }
  aPos += length;
  return value;
}

void AppendUtf8(std::string& aOut, char32_t c) {
  if (c > 0x10FFFF || IsSurrogate(c)) c = kReplacement;
  if (c < 0x80) {
    aOut += static_cast<char>(c);
  } else if (c < 0x800) {
    aOut += static_cast<char>(0xC0 | (c >> 6));
    aOut += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    aOut += static_cast<char>(0xE0 | (c >> 12));
    aOut += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    aOut += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    aOut += static_cast<char>(0xF0 | (c >> 18));
    aOut += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    aOut += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    aOut += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::u16string Utf8ToUtf16(std::string_view aText) {
  std::u16string out;
  out.reserve(aText.size());
  std::size_t pos = 0;
  while (pos < aText.size()) {
    const char32_t c = DecodeUtf8(aText, pos);
    if (c >= 0x10000) {
      const char32_t v = c - 0x10000;
      out += static_cast<char16_t>(0xD800 + (v >> 10));
      out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view aText) {
  std::string out;
  out.reserve(aText.size());
  for (std::size_t i = 0; i < aText.size(); ++i) {
    char32_t c = aText[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < aText.size() && aText[i + 1] >= 0xDC00 &&
        aText[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (aText[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, c);  // an unpaired surrogate becomes U+FFFD there
  }
  return out;
}

}  // namespace vek
