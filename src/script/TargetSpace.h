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

// The volume a target folder lies on, upper-cased: "X:" for a drive letter, "\\SERVER\SHARE"
// for a share; any other path is its own volume.
std::string TargetVolume(const std::string& aTarget);

// One record per volume of the selected sub-options' target folders, in the order the
// options list them: folders on one drive share its free space, so their needs add up.
std::vector<Tdrivereg> DriveSpaceNeeds(const TMainOptionList& aOptions);

// The path whose free space tells that of volume aVolume ("X:" -> "X:\").
std::string VolumeRoot(const std::string& aVolume);

// A volume that needs more than it has free.
struct TSpaceShortage {
  std::string Drive;
  std::int64_t Free = 0;
  std::int64_t Need = 0;
};

// The needs that exceed the free space aFreeSpace tells for their VolumeRoot; a volume whose
// free space is unknown (negative) is not checked.
using TFreeSpaceQuery = std::int64_t (*)(const std::string& aPath);
std::vector<TSpaceShortage> SpaceShortages(const std::vector<Tdrivereg>& aNeeds, TFreeSpaceQuery aFreeSpace);

// "Not enough space on C:\: needs N bytes, M bytes free", the line a refused silent run logs.
std::string ShortageLine(const TSpaceShortage& aShortage);

}  // namespace vek
