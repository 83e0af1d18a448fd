#pragma once
// File masks as setup scripts write them: "*" any run of characters (folders included), "?"
// one character, "[a-c]" and "[!x]" one character in or not in a set; letters match without
// regard to case. As in Windows, a mask that ends in ".*" also matches names without an
// extension, so "*.*" matches every name and "readme.*" matches "README".
#include <string_view>

namespace vek {

// False for a mask that cannot be evaluated (an unclosed "[" or a range written backwards).
bool MatchesMask(std::string_view aName, std::string_view aMask);

// aMaskList holds masks separated by ";": the text before each ";" is a mask, also when empty
// (it then matches only an empty name), and the text after the last ";" is one when not empty.
// The name matches when any mask matches; an empty list matches nothing.
bool MatchesMaskList(std::string_view aName, std::string_view aMaskList);

}  // namespace vek
