#include "commands/CommonFileJobs.h"

#include "system/PathText.h"

namespace vek {
namespace {

std::string Quoted(std::string_view aText) { return "\"" + std::string(aText) + "\""; }

}  // namespace

std::string JobInterpreter(bool aNtFamily) {
  return aNtFamily ? "%WINSYSTEMDIR%\\cmd.exe" : "%WINDIR%\\command.com";
}

TCopyJob CopyJobCommands(std::string_view aInterpreter, std::string_view aSource, std::string_view aTarget,
                         bool aNtFamily, unsigned aMajorVersion, bool aDeleteSource) {
  const std::string targetMask = JoinPath(ExtractFileDir(aTarget), "*.*");
  const std::string files = Quoted(aSource) + " " + Quoted(targetMask);
  TCopyJob job;
  if (!aNtFamily) {
    job.CopyCommand = std::string(aInterpreter) + " /c xcopy /I /Y " + files;
    if (aDeleteSource) job.DeleteCommand = std::string(aInterpreter) + "/c del " + Quoted(aSource);
    return job;
  }
  // Version 4 of the NT family is given xcopy without /Y.
  const char* xcopy = aMajorVersion == 4 ? "xcopy /I " : "xcopy /I /Y ";
  job.CopyCommand = std::string(aInterpreter) + " /c " + Quoted(xcopy + files);
  if (aDeleteSource) job.CopyCommand += " " + Quoted("&& Del " + Quoted(aSource));
  return job;
}

std::string FirstFreeJobName(std::string_view aPrefix, const std::function<bool(const std::string&)>& aTaken) {
  for (int number = 0; number <= kLastFreeJobNumber; ++number) {
    std::string name = std::string(aPrefix) + std::to_string(number);
    if (!aTaken(name)) return name;
  }
  return std::string(aPrefix) + std::to_string(kLastFreeJobNumber + 1);
}

}  // namespace vek
