#include "base/CaseMap.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "base/Utf.h"

namespace vek {
namespace {

struct CaseRun {
  std::uint32_t first;
  std::uint32_t last;
  std::uint32_t stride;
  std::int32_t delta;
};

#include "base/CaseMapTable.inc"

template <std::size_t N>
char32_t MapChar(const CaseRun (&aRuns)[N], char32_t aChar) {
  if (aChar < 0x80) return aChar;  // callers handle ASCII before reaching here
  const auto* it = std::upper_bound(std::begin(aRuns), std::end(aRuns), aChar,
                                    [](char32_t c, const CaseRun& r) { return c < r.first; });
  if (it == std::begin(aRuns)) return aChar;
  const CaseRun& run = *std::prev(it);
  if (aChar > run.last || (aChar - run.first) % run.stride != 0) return aChar;
  return static_cast<char32_t>(static_cast<std::int64_t>(aChar) + run.delta);
}

template <typename MapFn>
std::string MapText(std::string_view aText, MapFn aMap) {
  std::string out;
  out.reserve(aText.size());
  std::size_t pos = 0;
  while (pos < aText.size()) {
    const auto byte = static_cast<unsigned char>(aText[pos]);
    if (byte < 0x80) {
      out += static_cast<char>(aMap(byte));
      ++pos;
    } else {
      AppendUtf8(out, aMap(DecodeUtf8(aText, pos)));
    }
  }
  return out;
}

// Reads the next code point, fast for ASCII.
char32_t NextUpper(std::string_view aText, std::size_t& aPos) {
  const auto byte = static_cast<unsigned char>(aText[aPos]);
  if (byte < 0x80) {
    ++aPos;
    return UpperChar(byte);
  }
  return UpperChar(DecodeUtf8(aText, aPos));
}

}  // namespace

char32_t UpperChar(char32_t aChar) {
  if (aChar < 0x80) return (aChar >= 'a' && aChar <= 'z') ? aChar - 32 : aChar;
  return MapChar(kUpperRuns, aChar);
}

char32_t LowerChar(char32_t aChar) {
  if (aChar < 0x80) return (aChar >= 'A' && aChar <= 'Z') ? aChar + 32 : aChar;
  return MapChar(kLowerRuns, aChar);
}

std::string UpperCase(std::string_view aText) { return MapText(aText, UpperChar); }
std::string LowerCase(std::string_view aText) { return MapText(aText, LowerChar); }

int CompareText(std::string_view aLeft, std::string_view aRight) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < aLeft.size() && j < aRight.size()) {
    const char32_t a = NextUpper(aLeft, i);
    const char32_t b = NextUpper(aRight, j);
    if (a != b) return a < b ? -1 : 1;
  }
  if (i < aLeft.size()) return 1;
  if (j < aRight.size()) return -1;
  return 0;
}

bool SameText(std::string_view aLeft, std::string_view aRight) {
  return CompareText(aLeft, aRight) == 0;
}

bool StartsWithText(std::string_view aText, std::string_view aPrefix) {
  // Walk both texts together: upper-casing may change a character's UTF-8 length.
  std::size_t i = 0;
  std::size_t j = 0;
  while (j < aPrefix.size()) {
    if (i >= aText.size()) return false;
    if (NextUpper(aText, i) != NextUpper(aPrefix, j)) return false;
  }
  return true;
}

bool EndsWithText(std::string_view aText, std::string_view aSuffix) {
  const std::string text = UpperCase(aText);
  const std::string suffix = UpperCase(aSuffix);
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::size_t FindText(std::string_view aText, std::string_view aWhat, std::size_t aFrom) {
  for (std::size_t pos = aFrom; pos <= aText.size(); ++pos) {
    if (pos < aText.size() && (static_cast<unsigned char>(aText[pos]) & 0xC0) == 0x80) continue;
    if (StartsWithText(aText.substr(pos), aWhat)) return pos;
  }
  return std::string_view::npos;
}

}  // namespace vek
