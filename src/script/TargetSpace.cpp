#include "script/TargetSpace.h"

#include <algorithm>

#include "base/CaseMap.h"
#include "system/PathText.h"

namespace vek {

std::string SubOptionTarget(const TMainOption& aMain, const TSubOption& aSub) {
  if (!aSub.LibAlias.empty()) return aSub.LibAlias;
  return JoinPath(aMain.Path, aSub.LibName);
}

namespace {

void AddNeed(std::vector<Tdrivereg>& aNeeds, const std::string& aTarget, std::int64_t aSize) {
  const std::string key = UpperCase(aTarget);
  const auto known = std::find_if(aNeeds.begin(), aNeeds.end(), [&](const Tdrivereg& r) { return r.Drive == key; });
  if (known != aNeeds.end()) {
    known->size = AddSize(known->size, aSize);
  } else {
    aNeeds.push_back({key, AddSize(0, aSize)});
  }
}

template <typename KeyOf>
std::vector<Tdrivereg> SumSelected(const TMainOptionList& aOptions, KeyOf aKeyOf) {
  std::vector<Tdrivereg> needs;
  for (std::size_t i = 0; i < aOptions.Count(); ++i) {
    const TMainOption* main = aOptions.Option(i);
    if (main == nullptr || (main->GetState() != 1 && main->GetState() != 2)) continue;
    for (std::size_t j = 0; j < main->SubOption.Count(); ++j) {
      const TSubOption* sub = main->SubOptionAt(j);
      if (sub != nullptr && sub->State != 0) AddNeed(needs, aKeyOf(SubOptionTarget(*main, *sub)), sub->Size);
    }
  }
  return needs;
}

}  // namespace

std::vector<Tdrivereg> TargetSpaceNeeds(const TMainOptionList& aOptions) {
  return SumSelected(aOptions, [](const std::string& aTarget) { return aTarget; });
}

std::string TargetVolume(const std::string& aTarget) {
  if (HasDriveLetter(aTarget)) return UpperCase(aTarget.substr(0, 2));
  if (aTarget.size() > 2 && IsPathDelimiter(aTarget[0]) && IsPathDelimiter(aTarget[1])) {
    // "\\server\share": up to the delimiter after the share name.
    std::size_t end = aTarget.find_first_of("\\/", 2);
    if (end != std::string::npos) end = aTarget.find_first_of("\\/", end + 1);
    return UpperCase(aTarget.substr(0, end));
  }
  return UpperCase(aTarget);
}

std::vector<Tdrivereg> DriveSpaceNeeds(const TMainOptionList& aOptions) {
  return SumSelected(aOptions, TargetVolume);
}

std::string VolumeRoot(const std::string& aVolume) { return IncludeTrailingPathDelimiter(aVolume); }

std::vector<TSpaceShortage> SpaceShortages(const std::vector<Tdrivereg>& aNeeds, TFreeSpaceQuery aFreeSpace) {
  std::vector<TSpaceShortage> shortages;
  for (const Tdrivereg& need : aNeeds) {
    const std::int64_t free = aFreeSpace(VolumeRoot(need.Drive));
    if (free >= 0 && need.size > free) shortages.push_back({need.Drive, free, need.size});
  }
  return shortages;
}

std::string ShortageLine(const TSpaceShortage& aShortage) {
  return "Not enough space on " + VolumeRoot(aShortage.Drive) + ": needs " + std::to_string(aShortage.Need) +
         " bytes, " + std::to_string(aShortage.Free) + " bytes free";
}

}  // namespace vek
