#include "script/ScriptList.h"

#include "script/ScriptText.h"

namespace vek {
namespace {

constexpr char kListDelimiter = ';';
constexpr char kQuote = '"';

void SkipBlanks(std::string_view aText, std::size_t& aPos) {
  while (aPos < aText.size() && IsBlank(aText[aPos])) ++aPos;
}

// Reads a quoted entry starting at the opening quote; leaves aPos after the closing quote.
std::string ReadQuoted(std::string_view aText, std::size_t& aPos) {
  std::string entry;
  ++aPos;
  while (aPos < aText.size()) {
    const char c = aText[aPos++];
    if (c != kQuote) {
      entry += c;
    } else if (aPos < aText.size() && aText[aPos] == kQuote) {
      entry += kQuote;
      ++aPos;
    } else {
      break;
    }
  }
  return entry;
}

std::string ReadPlain(std::string_view aText, std::size_t& aPos, char aDelimiter) {
  const std::size_t start = aPos;
  while (aPos < aText.size() && !IsBlank(aText[aPos]) && aText[aPos] != aDelimiter) ++aPos;
  return std::string(aText.substr(start, aPos - start));
}

}  // namespace

std::vector<std::string> SplitScriptList(std::string_view aText) {
  return SplitScriptList(aText, kListDelimiter);
}

std::vector<std::string> SplitScriptList(std::string_view aText, char aDelimiter) {
  std::vector<std::string> entries;
  std::size_t pos = 0;
  SkipBlanks(aText, pos);
  while (pos < aText.size()) {
    entries.push_back(aText[pos] == kQuote ? ReadQuoted(aText, pos) : ReadPlain(aText, pos, aDelimiter));
    SkipBlanks(aText, pos);
    if (pos < aText.size() && aText[pos] == aDelimiter) {
      ++pos;
      if (pos == aText.size()) entries.emplace_back();
      SkipBlanks(aText, pos);
    }
  }
  return entries;
}

}  // namespace vek
