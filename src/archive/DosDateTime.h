#pragma once
// DOS date and time as pack entries carry them: local time, two-second steps, the date in the
// high word. The packed value grows with the time it stands for, so two of them compare as
// integers; a newer-only rule converts the file's time with MakeDosDateTime and compares.
#include <cstdint>

namespace vek {

struct TDosDateTime {
  int Year = 1980, Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0;
};

TDosDateTime SplitDosDateTime(std::uint32_t aDosDateTime);
// Seconds are rounded down to the even second; years outside 1980..2107 are clamped.
std::uint32_t MakeDosDateTime(const TDosDateTime& aTime);
// True when the value names a real calendar time (a damaged pack may carry month 0 or hour 31).
bool IsValidDosDateTime(std::uint32_t aDosDateTime);

}  // namespace vek
