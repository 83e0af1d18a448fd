#pragma once
#include <string>

namespace vek {

// Writes aText where the user who started the program reads it: the standard output the program
// was given (a pipe or a file), or else the console of the process that started it. A program
// started from neither writes nothing.
void WriteToParentConsole(const std::string& aText);

}  // namespace vek
