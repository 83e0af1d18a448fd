#include "script/SubOptionSelection.h"

#include <string_view>

#include "script/OptionSelection.h"

namespace vek {

namespace {

bool IsValidNameChar(unsigned char aChar) {
  if (aChar < 32) return false;
  return std::string_view("<>:\"/\\|").find(static_cast<char>(aChar)) == std::string_view::npos;
}

// One pattern with its wildcards taken as ordinary name characters.
bool IsValidPattern(std::string_view aPattern) {
  for (const char c : aPattern) {
    if (!IsValidNameChar(static_cast<unsigned char>(c))) return false;
  }
  if (aPattern.back() == ' ') return false;
  return aPattern.find_first_not_of('.') != std::string_view::npos;
}

}  // namespace

bool IsValidPatternList(const std::string& aPatterns) {
  bool any = false;
  std::size_t from = 0;
  while (from <= aPatterns.size()) {
    std::size_t end = aPatterns.find(';', from);
    if (end == std::string::npos) end = aPatterns.size();
    const std::string_view part = std::string_view(aPatterns).substr(from, end - from);
    if (!part.empty()) {
      if (!IsValidPattern(part)) return false;
      any = true;
    }
    from = end + 1;
  }
  return any;
}

TSubOptionSelection::TSubOptionSelection(const TMainOption& aOption, std::int64_t aInstallsize)
    : fTotal(aInstallsize < 0 ? 0 : aInstallsize) {
  for (std::size_t j = 0; j < aOption.SubOption.Count(); ++j) {
    if (const TSubOption* sub = aOption.SubOptionAt(j)) fWork.Add(sub->Copy());
  }
}

void TSubOptionSelection::Select(TSubOption& aSub, int aState) {
  aSub.State = aState;
  fTotal = AddSize(fTotal, aSub.Size);
}

void TSubOptionSelection::Clear(TSubOption& aSub) {
  aSub.State = 0;
  fTotal = SubtractSize(fTotal, aSub.Size);
}

void TSubOptionSelection::Toggle(std::size_t aRow) {
  TSubOption& sub = Row(aRow);
  if (sub.State != 0) {
    Clear(sub);
  } else {
    Select(sub, SelectedStateFor(sub.Files));
  }
}

void TSubOptionSelection::SelectAll() {
  for (std::size_t k = 0; k < Count(); ++k) {
    TSubOption& sub = Row(k);
    if (sub.State == 0) Select(sub, sub.Files == "*.*" ? 1 : 2);
  }
}

void TSubOptionSelection::ClearAll() {
  for (std::size_t k = 0; k < Count(); ++k) {
    TSubOption& sub = Row(k);
    if (sub.State != 0) Clear(sub);
  }
}

bool TSubOptionSelection::SetFiles(std::size_t aRow, const std::string& aPatterns) {
  if (!IsValidPatternList(aPatterns)) return false;
  TSubOption& sub = Row(aRow);
  sub.Files = aPatterns;
  if (sub.State != 0) sub.State = SelectedStateFor(aPatterns);
  return true;
}

void TSubOptionSelection::WriteBack(TMainOption& aOption) const { aOption.SubOption.Assign(fWork); }

TSubOptionRowText SubOptionRowText(const TSubOption& aSub, const std::string& aCaption,
                                   const std::string& aDecimalSeparator) {
  const std::string size = FormatKb(aSub.Size, aDecimalSeparator) + " Kb";
  if (aSub.Files.find("*.*") != std::string::npos) return {aCaption, size};
  return {aCaption + " (" + aSub.Files + ")", "<" + size};
}

}  // namespace vek
