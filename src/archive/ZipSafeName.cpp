#include "archive/ZipSafeName.h"

#include <array>

#include "base/CaseMap.h"

namespace vek {
namespace {

bool IsSeparator(char aChar) { return aChar == '/' || aChar == '\\'; }

bool HasForbiddenCharacter(std::string_view aName) {
  for (const char c : aName) {
    if (c == ':' || static_cast<unsigned char>(c) < 0x20) return true;
  }
  return false;
}

bool IsOnlyDotsAndSpaces(std::string_view aPart) {
  return aPart.find_first_not_of(". ") == std::string_view::npos;
}

// Windows opens a device for these names in any folder, with or without an extension.
bool IsDeviceName(std::string_view aPart) {
  std::string_view stem = aPart.substr(0, aPart.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                               "NUL", "CONIN$", "CONOUT$"};
  for (const std::string_view device : kDevices) {
    if (SameText(stem, device)) return true;
  }
  if (stem.size() < 4 || !(StartsWithText(stem, "COM") || StartsWithText(stem, "LPT"))) return false;
  const std::string_view number = stem.substr(3);
  // A digit, or the superscripts one to three that Windows also takes as port numbers.
  static constexpr std::array<std::string_view, 3> kSuperscripts = {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
  if (number.size() == 1 && number[0] >= '0' && number[0] <= '9') return true;
  for (const std::string_view superscript : kSuperscripts) {
    if (number == superscript) return true;
  }
  return false;
}

}  // namespace

bool SplitSafeEntryName(std::string_view aName, std::vector<std::string>& aParts) {
  aParts.clear();
  if (aName.empty() || IsSeparator(aName.front()) || HasForbiddenCharacter(aName)) return false;
  std::size_t start = 0;
  while (start <= aName.size()) {
    std::size_t end = start;
    while (end < aName.size() && !IsSeparator(aName[end])) ++end;
    const std::string_view part = aName.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (aParts.empty()) return false;
      aParts.pop_back();
      continue;
    }
    if (IsOnlyDotsAndSpaces(part) || IsDeviceName(part)) return false;
    aParts.emplace_back(part);
  }
  return true;
}

}  // namespace vek
