#pragma once
// A program to start and its arguments, kept apart. The program is always a full path: a
// name without one would be searched for (the program's folder, the current folder, PATH),
// and whoever can write to one of those would choose what runs.
#include <optional>
#include <string>
#include <string_view>

namespace vek {

struct TProgramCommand {
  std::string program;    // a full path: "X:\..." or "\\server\share\..."
  std::string arguments;  // passed on as written
};

// "X:\..." with a folder delimiter after the drive, or "\\server\share\...".
bool IsFullProgramPath(std::string_view aPath);

// The program a stored command line starts and the rest of the line: the first token, in
// double quotes or up to the first blank. Nothing when the line is empty or does not start
// with a full path (an unquoted path with a blank thus names the part before the blank, which
// is then started or not found, never searched for).
std::optional<TProgramCommand> ParseProgramCommand(std::string_view aLine);

// The command line a started program sees: the program in double quotes, then the arguments.
std::string ProgramCommandLine(const TProgramCommand& aCommand);

}  // namespace vek
