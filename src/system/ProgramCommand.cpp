#include "system/ProgramCommand.h"

#include "system/PathText.h"

namespace vek {

bool IsFullProgramPath(std::string_view aPath) {
  if (ContainsNul(aPath) || aPath.find('"') != std::string_view::npos) return false;
  if (HasDriveLetter(aPath)) return aPath.size() > 3 && IsPathDelimiter(aPath[2]);
  // A share path names a server and a share before the file: "\\srv\share\x.exe".
  if (!aPath.starts_with("\\\\") || aPath.starts_with("\\\\?\\") || aPath.starts_with("\\\\.\\"))
    return false;
  const std::size_t share = aPath.find('\\', 2);
  return share != std::string_view::npos && share > 2 &&
         aPath.find('\\', share + 1) != std::string_view::npos;
}

std::optional<TProgramCommand> ParseProgramCommand(std::string_view aLine) {
  while (!aLine.empty() && aLine.front() == ' ') aLine.remove_prefix(1);
  std::string_view program;
  std::string_view rest;
  if (aLine.starts_with('"')) {
    const std::size_t close = aLine.find('"', 1);
    if (close == std::string_view::npos) return std::nullopt;
    program = aLine.substr(1, close - 1);
    rest = aLine.substr(close + 1);
  } else {
    const std::size_t blank = aLine.find(' ');
    program = aLine.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : aLine.substr(blank);
  }
  if (!IsFullProgramPath(program)) return std::nullopt;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  return TProgramCommand{std::string(program), std::string(rest)};
}

std::string ProgramCommandLine(const TProgramCommand& aCommand) {
  std::string line = "\"" + aCommand.program + "\"";
  if (!aCommand.arguments.empty()) line += " " + aCommand.arguments;
  return line;
}

}  // namespace vek
