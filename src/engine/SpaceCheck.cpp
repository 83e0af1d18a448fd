#include "engine/SpaceCheck.h"

#include <algorithm>

#include "base/CaseMap.h"
#include "script/InstallOptions.h"
#include "system/PathText.h"

namespace vek {
namespace {

std::string DriveOf(const std::string& aTarget) {
  if (HasDriveLetter(aTarget)) return UpperCase(aTarget.substr(0, 2)) + "\\";
  return aTarget;
}

}  // namespace

std::vector<TSpaceShortage> SpaceShortages(const std::vector<Tdrivereg>& aNeeds,
                                           const TFreeSpaceOf& aFreeOf) {
  std::vector<TSpaceShortage> drives;
  for (const Tdrivereg& need : aNeeds) {
    const std::string drive = DriveOf(need.Drive);
    const auto known =
        std::find_if(drives.begin(), drives.end(), [&](const TSpaceShortage& d) { return d.drive == drive; });
    if (known != drives.end()) {
      known->need = AddSize(known->need, need.size);
    } else {
      drives.push_back({drive, need.size, 0});
    }
  }
  std::vector<TSpaceShortage> shortages;
  for (TSpaceShortage& drive : drives) {
    drive.free = aFreeOf(drive.drive);
    if (drive.free >= 0 && drive.need > drive.free) shortages.push_back(drive);
  }
  return shortages;
}

std::string ShortageLine(const TSpaceShortage& aShortage) {
  return "Not enough space on " + aShortage.drive + ": needs " + std::to_string(aShortage.need) + " bytes, " +
         std::to_string(aShortage.free) + " bytes free";
}

}  // namespace vek
