#pragma once
// The result file: how a run ended, for the tools that start the program unattended. An INI
// file written as UTF-16 at the end of every run, under a temporary name first and then renamed,
// so that a reader never sees it half-written. Its section and key names are documented in
// README.md and are never renamed; new keys may be added.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/RunRecord.h"
#include "script/RunContext.h"
#include "system/SysResult.h"

namespace vek {

struct TRunResult {
  int exitCode = 0;
  std::string meaning;
  bool restartNeeded = false;
  TRunMode runMode = rmInstall;
  int installMode = 0;  // 1 install, 2 update, 0 not chosen
  std::string installPath;
  std::string logFile;  // empty when no log was written
  TRunRecord record;
  TRunTime end;
};

// The file's bytes: UTF-16 little-endian with a byte-order mark.
std::string ResultFileBytes(const TRunResult& aResult);

// Where the result goes without /RESULT: beside the log, its extension replaced by ".result.ini".
std::string ResultFileBesideLog(std::string_view aLogFile);

// Writes the bytes under aPath + ".tmp" and renames that to aPath, replacing an older file that
// is not read-only. A failed write leaves no temporary file behind.
[[nodiscard]] SysResult WriteResultFile(const std::string& aPath, const std::string& aBytes);

}  // namespace vek
