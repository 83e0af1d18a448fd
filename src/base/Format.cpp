#include "base/Format.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace vek {
namespace {

struct Placeholder {
  bool leftAlign = false;
  bool zeroPad = false;
  std::size_t width = 0;
  char conversion = 0;
  std::size_t length = 0;  // characters of the placeholder, from "%" to the conversion
};

// Parses "%[-][0][width]c" at aFormat[aPos] (which is '%'). Width is capped so that a hostile
// translation cannot ask for a gigabyte of padding.
Placeholder ParsePlaceholder(std::string_view aFormat, std::size_t aPos) {
  Placeholder placeholder;
  std::size_t i = aPos + 1;
  for (; i < aFormat.size() && (aFormat[i] == '-' || aFormat[i] == '0'); ++i) {
    (aFormat[i] == '-' ? placeholder.leftAlign : placeholder.zeroPad) = true;
  }
  for (; i < aFormat.size() && std::isdigit(static_cast<unsigned char>(aFormat[i])); ++i) {
    placeholder.width = std::min<std::size_t>(placeholder.width * 10 + static_cast<std::size_t>(aFormat[i] - '0'), 1024);
  }
  if (i < aFormat.size()) placeholder.conversion = aFormat[i++];
  placeholder.length = i - aPos;
  return placeholder;
}

std::string Pad(std::string aText, const Placeholder& aPlaceholder, bool aNumeric) {
  // Width counts bytes; placeholders are filled with short numbers and names, so this is
  // only cosmetic for non-ASCII texts.
  if (aText.size() >= aPlaceholder.width) return aText;
  const std::size_t fill = aPlaceholder.width - aText.size();
  if (aPlaceholder.leftAlign) return aText + std::string(fill, ' ');
  if (aPlaceholder.zeroPad && aNumeric) {
    const std::size_t sign = (!aText.empty() && aText[0] == '-') ? 1 : 0;
    return aText.insert(sign, fill, '0');
  }
  return std::string(fill, ' ') + aText;
}

// Converts one argument, or returns false when it does not fit the conversion.
bool Convert(const Placeholder& aPlaceholder, const FormatArg& aArg, std::string& aOut) {
  const std::int64_t* number = aArg.Number();
  char buffer[32];
  switch (aPlaceholder.conversion) {
    case 's':
      if (const std::string* text = aArg.Text()) {
        aOut = Pad(*text, aPlaceholder, false);
      } else {
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(*number));
        aOut = Pad(buffer, aPlaceholder, false);
      }
      return true;
    case 'd':
    case 'u':
      if (!number) return false;
      std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(*number));
      aOut = Pad(buffer, aPlaceholder, true);
      return true;
    case 'x':
    case 'X':
      if (!number) return false;
      // Negative numbers print as their 32-bit two's complement, as the Windows API shows
      // error codes such as 0x80070005.
      std::snprintf(buffer, sizeof buffer, "%llX",
                    *number < 0 ? static_cast<unsigned long long>(static_cast<std::uint32_t>(*number))
                                : static_cast<unsigned long long>(*number));
      aOut = Pad(buffer, aPlaceholder, true);
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string FormatText(std::string_view aFormat, std::initializer_list<FormatArg> aArgs) {
  std::string out;
  out.reserve(aFormat.size() + 32);
  const FormatArg* next = aArgs.begin();
  std::size_t pos = 0;
  while (pos < aFormat.size()) {
    const std::size_t percent = aFormat.find('%', pos);
    if (percent == std::string_view::npos) {
      out.append(aFormat.substr(pos));
      break;
    }
    out.append(aFormat.substr(pos, percent - pos));
    if (percent + 1 < aFormat.size() && aFormat[percent + 1] == '%') {
      out += '%';
      pos = percent + 2;
      continue;
    }
    const Placeholder placeholder = ParsePlaceholder(aFormat, percent);
    std::string converted;
    if (next != aArgs.end() && Convert(placeholder, *next, converted)) {
      out += converted;
    } else {
      out.append(aFormat.substr(percent, placeholder.length));
    }
    // An argument is used up by every placeholder that could have taken one, fitting or not,
    // so that one wrong placeholder does not shift the arguments of the ones after it.
    if (next != aArgs.end() && (placeholder.conversion == 's' || placeholder.conversion == 'd' || placeholder.conversion == 'u' ||
                                placeholder.conversion == 'x' || placeholder.conversion == 'X')) {
      ++next;
    }
    pos = percent + placeholder.length;
  }
  return out;
}

}  // namespace vek
