#include "engine/SetupLog.h"

#include <cstdio>

namespace vek {
namespace {

std::string TwoDigits(int aValue) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", aValue % 100);
  return buffer;
}

}  // namespace

std::string MakeLogFileName(std::string_view aTempDir, std::string_view aProgramFileName,
                            const LogTimestamp& aWhen) {
  const std::string_view base = aProgramFileName.substr(0, aProgramFileName.find('.'));
  return std::string(aTempDir) + std::string(base) + "_" + TwoDigits(aWhen.day) + TwoDigits(aWhen.month) +
         TwoDigits(aWhen.year) + "_" + TwoDigits(aWhen.hour) + TwoDigits(aWhen.minute) +
         TwoDigits(aWhen.second) + ".log";
}

std::string LogLine(std::string_view aMessage) { return std::string(aMessage) + "\r\n"; }

}  // namespace vek
