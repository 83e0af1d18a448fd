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

}  // namespace

std::vector<Tdrivereg> TargetSpaceNeeds(const TMainOptionList& aOptions) {
  std::vector<Tdrivereg> needs;
  for (std::size_t i = 0; i < aOptions.Count(); ++i) {
    const TMainOption* main = aOptions.Option(i);
    if (main == nullptr || (main->GetState() != 1 && main->GetState() != 2)) continue;
    for (std::size_t j = 0; j < main->SubOption.Count(); ++j) {
      const TSubOption* sub = main->SubOptionAt(j);
      if (sub != nullptr && sub->State != 0) AddNeed(needs, SubOptionTarget(*main, *sub), sub->Size);
    }
  }
  return needs;
}

}  // namespace vek
