#pragma once
// What a run did, kept for its result file: when it started, the files of its packs and the
// programs it ran.
#include <cstdint>
#include <string>
#include <vector>

#include "archive/ExtractTally.h"

namespace vek {

struct TRunTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct TProgramRun {
  std::string commandLine;
  bool started = false;
  std::uint32_t exitCode = 0;  // when started
};

struct TRunRecord {
  TRunTime start;
  TExtractTally files;
  std::vector<TProgramRun> programs;
};

}  // namespace vek
