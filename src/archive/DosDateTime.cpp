#include "archive/DosDateTime.h"

#include <algorithm>

namespace vek {

TDosDateTime SplitDosDateTime(std::uint32_t aDosDateTime) {
  const std::uint32_t date = aDosDateTime >> 16;
  const std::uint32_t time = aDosDateTime & 0xFFFF;
  TDosDateTime result;
  result.Year = 1980 + static_cast<int>(date >> 9);
  result.Month = static_cast<int>((date >> 5) & 0x0F);
  result.Day = static_cast<int>(date & 0x1F);
  result.Hour = static_cast<int>(time >> 11);
  result.Minute = static_cast<int>((time >> 5) & 0x3F);
  result.Second = static_cast<int>((time & 0x1F) * 2);
  return result;
}

std::uint32_t MakeDosDateTime(const TDosDateTime& aTime) {
  const auto field = [](int aValue, int aMax) {
    return static_cast<std::uint32_t>(std::clamp(aValue, 0, aMax));
  };
  const std::uint32_t date =
      (field(aTime.Year - 1980, 127) << 9) | (field(aTime.Month, 15) << 5) | field(aTime.Day, 31);
  const std::uint32_t time =
      (field(aTime.Hour, 31) << 11) | (field(aTime.Minute, 63) << 5) | field(aTime.Second / 2, 31);
  return (date << 16) | time;
}

bool IsValidDosDateTime(std::uint32_t aDosDateTime) {
  static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const TDosDateTime t = SplitDosDateTime(aDosDateTime);
  return t.Month >= 1 && t.Month <= 12 && t.Day >= 1 && t.Day <= kDaysInMonth[t.Month - 1] && t.Hour < 24 &&
         t.Minute < 60 && t.Second < 60;
}

}  // namespace vek
