#include "script/UserVariables.h"

#include <algorithm>

#include "base/CaseMap.h"

namespace vek {
namespace {

template <typename TList>
auto FindName(TList& aList, std::string_view aName) {
  return std::find_if(aList.begin(), aList.end(), [aName](const auto& aEntry) { return SameText(aEntry.first, aName); });
}

void Erase(TUserVariables::TList& aList, std::string_view aName) {
  std::erase_if(aList, [aName](const auto& aEntry) { return SameText(aEntry.first, aName); });
}

}  // namespace

void TUserVariables::Set(TList& aList, std::string_view aName, std::string_view aValue) {
  if (const auto it = FindName(aList, aName); it != aList.end()) {
    it->second = std::string(aValue);
  } else {
    aList.emplace_back(std::string(aName), std::string(aValue));
  }
}

void TUserVariables::Delete(std::string_view aName) {
  Erase(fPathVariables, aName);
  Erase(fVariables, aName);
}

bool TUserVariables::Exists(std::string_view aName) const {
  return FindName(fPathVariables, aName) != fPathVariables.end() || FindName(fVariables, aName) != fVariables.end();
}

std::string TUserVariables::Value(std::string_view aName) const {
  if (const auto it = FindName(fPathVariables, aName); it != fPathVariables.end()) return it->second;
  if (const auto it = FindName(fVariables, aName); it != fVariables.end()) return it->second;
  return {};
}

}  // namespace vek
