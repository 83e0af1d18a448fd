#pragma once
// The space an install needs in each target folder: the confirmation page checks it with its
// messages, a silent run before it writes anything. Sizes are summed per target folder, compared
// by their upper-cased text, so two sub-options that name one folder in different letter case
// count once.
#include <cstdint>
#include <string>
#include <vector>

#include "script/InstallOptions.h"

namespace vek {

struct Tdrivereg {
  std::string Drive;      // the target folder, upper-cased
  std::int64_t size = 0;  // bytes, held at the largest count instead of wrapping
};

// The folder that sub-option aSub of aMain installs into: its folder alias, or the option's
// folder joined with the sub-option's folder name.
std::string SubOptionTarget(const TMainOption& aMain, const TSubOption& aSub);

// One record per target folder of the selected sub-options, in the order the options list them.
std::vector<Tdrivereg> TargetSpaceNeeds(const TMainOptionList& aOptions);

}  // namespace vek
