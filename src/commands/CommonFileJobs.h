#pragma once
// Copies of common files that must wait for the next start of the system (the target is in
// use) become commands under the local machine's RunOnce key, which the system runs once at
// that start. This is the text of those commands and the choice of their value names; writing
// them is the caller's.
//
// The command forms, with <cmd> the interpreter, <src> the source and <dst> the target's folder
// joined with "*.*":
//   NT family, version 5 and later  <cmd> /c "xcopy /I /Y "<src>" "<dst>""
//   NT family, version 4            <cmd> /c "xcopy /I "<src>" "<dst>""
//   other systems                   <cmd> /c xcopy /I /Y "<src>" "<dst>"
// When the source is a temporary copy that goes afterwards, NT systems append
//   "&& Del "<src>"" (after a blank, in one more pair of quotes) to the same command; other
// systems get a second command, <cmd>/c del "<src>", under its own value name.
#include <functional>
#include <string>
#include <string_view>

namespace vek {

// The RunOnce key, below the local machine's root.
inline constexpr const char* kRunOnceKeyPath = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr const char* kCopyJobPrefix = "lum_copy";
inline constexpr const char* kDeleteJobPrefix = "lum_del";
// Value names are numbered from 0 to this; when all are taken the next number is used.
inline constexpr int kLastFreeJobNumber = 100;

struct TCopyJob {
  std::string CopyCommand;
  std::string DeleteCommand;  // empty when none is needed
};

// The interpreter that runs the jobs, with the text variables that name its folder.
std::string JobInterpreter(bool aNtFamily);

TCopyJob CopyJobCommands(std::string_view aInterpreter, std::string_view aSource, std::string_view aTarget,
                         bool aNtFamily, unsigned aMajorVersion, bool aDeleteSource);

// aPrefix followed by the first number from 0 to kLastFreeJobNumber whose name aTaken says is
// free; followed by kLastFreeJobNumber + 1 when all of them are taken.
std::string FirstFreeJobName(std::string_view aPrefix, const std::function<bool(const std::string&)>& aTaken);

}  // namespace vek
