#include "engine/ResultFile.h"

#include <array>

#include "base/Format.h"
#include "engine/CleanupScript.h"
#include "system/PathText.h"

namespace vek {
namespace {

constexpr std::string_view kSection = "Result";
constexpr std::string_view kPrograms = "Programs";

constexpr std::array<std::string_view, 5> kRunModeNames{"install", "cleanup", "workstation setup",
                                                        "workstation update", "workstation cleanup"};
static_assert(kRunModeNames.size() == rmWorkStationCleanUp + 1, "one name per run mode");

std::string_view InstallModeName(int aMode) {
  if (aMode == 1) return "install";
  if (aMode == 2) return "update";
  return "none";
}

std::string TimeText(const TRunTime& aTime) {
  return FormatText("%04d-%02d-%02d %02d:%02d:%02d",
                    {aTime.year, aTime.month, aTime.day, aTime.hour, aTime.minute, aTime.second});
}

// A value stays on its line: a line break inside a command or a path would end it early.
std::string OneLine(std::string aValue) {
  for (char& c : aValue) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return aValue;
}

}  // namespace

std::string ResultFileBytes(const TRunResult& aResult) {
  TCleanupScript ini("");
  const auto put = [&ini](std::string_view aSection, std::string_view aKey, const std::string& aValue) {
    ini.SetString(aSection, aKey, OneLine(aValue));
  };
  const TExtractTally& files = aResult.record.files;
  put(kSection, "ExitCode", std::to_string(aResult.exitCode));
  put(kSection, "Meaning", aResult.meaning);
  put(kSection, "RestartNeeded", aResult.restartNeeded ? "1" : "0");
  put(kSection, "RunMode", std::string(kRunModeNames.at(aResult.runMode)));
  put(kSection, "InstallMode", std::string(InstallModeName(aResult.installMode)));
  put(kSection, "InstallPath", aResult.installPath);
  put(kSection, "FilesInstalled", std::to_string(files.installed));
  put(kSection, "FilesKept", std::to_string(files.kept));
  put(kSection, "FilesSkipped", std::to_string(files.skipped));
  put(kSection, "FilesFailed", std::to_string(files.failed));
  put(kSection, "ProgramsRun", std::to_string(aResult.record.programs.size()));
  put(kSection, "LogFile", aResult.logFile);
  put(kSection, "StartTime", TimeText(aResult.record.start));
  put(kSection, "EndTime", TimeText(aResult.end));
  int number = 0;
  for (const TProgramRun& program : aResult.record.programs) {
    const std::string n = std::to_string(++number);
    put(kPrograms, "Program" + n, program.commandLine);
    put(kPrograms, "Started" + n, program.started ? "1" : "0");
    put(kPrograms, "ExitCode" + n, program.started ? std::to_string(program.exitCode) : std::string());
  }
  return ini.Serialize();
}

std::string ResultFileBesideLog(std::string_view aLogFile) {
  if (aLogFile.empty()) return std::string();
  return ChangeFileExt(std::string(aLogFile), ".result.ini");
}

}  // namespace vek
