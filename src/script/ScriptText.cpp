#include "script/ScriptText.h"

#include "base/CaseMap.h"
#include "base/Utf.h"

namespace vek {
namespace {

char32_t NextUpper(std::string_view aText, std::size_t& aPos) { return UpperChar(DecodeUtf8(aText, aPos)); }

bool IsLeadByte(char aChar) { return (static_cast<unsigned char>(aChar) & 0xC0) != 0x80; }

// Length of the match of aWhat at aPos, or npos.
std::size_t MatchAt(std::string_view aText, std::size_t aPos, std::string_view aWhat) {
  std::size_t i = aPos;
  std::size_t j = 0;
  while (j < aWhat.size()) {
    if (i >= aText.size() || NextUpper(aText, i) != NextUpper(aWhat, j)) return std::string_view::npos;
  }
  return i - aPos;
}

}  // namespace

bool IsBlank(char aChar) {
  const auto c = static_cast<unsigned char>(aChar);
  return c <= ' ';
}

std::string_view TrimBlanks(std::string_view aText) {
  while (!aText.empty() && IsBlank(aText.front())) aText.remove_prefix(1);
  while (!aText.empty() && IsBlank(aText.back())) aText.remove_suffix(1);
  return aText;
}

TTextMatch FindTextMatch(std::string_view aText, std::string_view aWhat, std::size_t aFrom) {
  if (aWhat.empty()) return {};
  const char32_t first = UpperChar(static_cast<unsigned char>(aWhat.front()));
  const bool asciiFirst = static_cast<unsigned char>(aWhat.front()) < 0x80;
  for (std::size_t pos = aFrom; pos < aText.size(); ++pos) {
    if (!IsLeadByte(aText[pos])) continue;
    // Most positions fail at the first character; an ASCII first character only matches ASCII
    // or the few letters whose capital is ASCII, which the full comparison below handles.
    if (asciiFirst && static_cast<unsigned char>(aText[pos]) < 0x80 &&
        UpperChar(static_cast<unsigned char>(aText[pos])) != first) {
      continue;
    }
    const std::size_t length = MatchAt(aText, pos, aWhat);
    if (length != std::string_view::npos) return {pos, length};
  }
  return {};
}

bool ReplaceAllText(std::string& aText, std::string_view aWhat, std::string_view aWith) {
  TTextMatch match = FindTextMatch(aText, aWhat);
  if (!match.found()) return false;
  std::string out;
  std::size_t copied = 0;
  while (match.found()) {
    out.append(aText, copied, match.pos - copied);
    out.append(aWith);
    copied = match.pos + match.length;
    match = FindTextMatch(aText, aWhat, copied);
  }
  out.append(aText, copied);
  aText = std::move(out);
  return true;
}

std::vector<std::string> SplitTextLines(std::string_view aText) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < aText.size(); ++i) {
    if (aText[i] != '\r' && aText[i] != '\n') continue;
    lines.emplace_back(aText.substr(start, i - start));
    if (aText[i] == '\r' && i + 1 < aText.size() && aText[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < aText.size()) lines.emplace_back(aText.substr(start));
  return lines;
}

}  // namespace vek
