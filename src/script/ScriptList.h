#pragma once
// The list rule of script values (InstallRoot, SystemDir, PackFile, DeleteFiles): entries are
// separated by ";" and also by blanks and control characters; an entry holding a blank is
// written in double quotes, and two double quotes inside it stand for one. A ";" as the very
// last character adds an empty last entry; two ";" in a row give an empty entry between them;
// an empty value gives an empty list. A quoted entry without its closing quote runs to the end.
#include <string>
#include <string_view>
#include <vector>

namespace vek {

std::vector<std::string> SplitScriptList(std::string_view aText);
// The same rule with another separator in place of ";" (file-attribute values use ",").
std::vector<std::string> SplitScriptList(std::string_view aText, char aDelimiter);

}  // namespace vek
