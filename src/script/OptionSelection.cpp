#include "script/OptionSelection.h"


#include "base/CaseMap.h"

namespace vek {

int SelectedStateFor(const std::string& aFiles) { return aFiles.find("*.*") != std::string::npos ? 1 : 2; }

std::int64_t SubtractSize(std::int64_t aTotal, std::int64_t aTake) {
  if (aTake <= 0) return aTotal;
  return aTotal > aTake ? aTotal - aTake : 0;
}

namespace {

void ClearSubOptions(TMainOption& aOption) {
  for (std::size_t j = 0; j < aOption.SubOption.Count(); ++j) {
    if (TSubOption* sub = aOption.SubOptionAt(j)) sub->State = 0;
  }
}

}  // namespace

TToggleOutcome ToggleMainOption(TMainOption& aOption, std::int64_t& aInstallsize) {
  switch (aOption.GetState()) {
    case -1:
      return TToggleOutcome::None;
    case 0:
      if (aOption.SubOption.Count() >= 2) return TToggleOutcome::OpenSubOptions;
      if (TSubOption* first = aOption.SubOptionAt(0)) first->State = SelectedStateFor(first->Files);
      aInstallsize = AddSize(aInstallsize, aOption.GetSize());
      return TToggleOutcome::Selected;
    default:
      aInstallsize = SubtractSize(aInstallsize, aOption.GetSize());
      ClearSubOptions(aOption);
      return TToggleOutcome::Cleared;
  }
}

std::int64_t ResizedTotal(std::int64_t aInstallsize, std::int64_t aOldSize, const TMainOption& aOption) {
  return AddSize(SubtractSize(aInstallsize, aOldSize), aOption.GetSize());
}

bool ChangeOptionPath(TMainOption& aOption, const std::string& aPath) {
  if (SameText(aPath, aOption.Path)) return false;
  aOption.Path = aPath;
  for (std::size_t j = 0; j < aOption.SubOption.Count(); ++j) {
    if (TSubOption* sub = aOption.SubOptionAt(j)) sub->LibAlias.clear();
  }
  return true;
}

std::string FormatKb(std::int64_t aBytes, const std::string& aDecimalSeparator) {
  // Whole kilobytes and tenths in integers: a double loses the last digits of sizes near the
  // largest count, and aBytes * 10 would overflow there.
  const bool negative = aBytes < 0;
  const std::uint64_t bytes = negative ? 0 - static_cast<std::uint64_t>(aBytes) : static_cast<std::uint64_t>(aBytes);
  std::uint64_t whole = bytes / 1024;
  std::uint64_t tenths = ((bytes % 1024) * 10 + 512) / 1024;
  if (tenths == 10) {
    ++whole;
    tenths = 0;
  }
  const bool zero = whole == 0 && tenths == 0;
  return (negative && !zero ? "-" : "") + std::to_string(whole) + aDecimalSeparator + std::to_string(tenths);
}

}  // namespace vek
