#pragma once
// Text operations that script values share: trimming, and finding and replacing names without
// regard to case. Upper-casing may change the UTF-8 length of a character ("ı" becomes "I"),
// so a match reports its own length in the searched text, never the length of the name.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// True for blanks and control characters (code units up to the space).
bool IsBlank(char aChar);
// The text without leading and trailing blanks and control characters.
std::string_view TrimBlanks(std::string_view aText);

struct TTextMatch {
  std::size_t pos = std::string_view::npos;  // npos: not found
  std::size_t length = 0;                    // bytes of the searched text that matched
  bool found() const { return pos != std::string_view::npos; }
};

// The first occurrence of aWhat at or after aFrom, compared without regard to case.
TTextMatch FindTextMatch(std::string_view aText, std::string_view aWhat, std::size_t aFrom = 0);

// Replaces every occurrence of aWhat, without regard to case, in one pass from the left;
// replacement text is never searched again. Returns whether anything was replaced.
bool ReplaceAllText(std::string& aText, std::string_view aWhat, std::string_view aWith);

// The lines of a text, split at CR LF, LF or a lone CR; a line break at the end adds no empty
// line.
std::vector<std::string> SplitTextLines(std::string_view aText);

}  // namespace vek
