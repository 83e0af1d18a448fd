// A silent run checks the free space of its target drives before it writes its first file; a
// run without room ends before any change, and takes back the folders it has created so far.
#include "engine/SetupEngine.h"
#include "script/TargetSpace.h"
#include "system/Drives.h"

namespace vek {

bool TSetupEngine::SilentSpacePasses() {
  if (!MainOptionList) return true;
  const std::vector<TSpaceShortage> shortages =
      SpaceShortages(DriveSpaceNeeds(*MainOptionList), [](const std::string& aRoot) { return GetDiskFreeSpace(aRoot); });
  if (shortages.empty()) return true;
  for (const TSpaceShortage& shortage : shortages) Log(ShortageLine(shortage));
  // The target folders made by the path check are empty still: deepest first, they go again.
  for (auto folder = fCreatedFolders.rbegin(); folder != fCreatedFolders.rend(); ++folder) {
    if (const SysResult removed = RemoveEmptyDirectory(*folder); !removed)
      Log(FailureLine("Remove folder", *folder, removed));
  }
  fCreatedFolders.clear();
  Log("Nothing was installed: not enough free space");
  return false;
}

}  // namespace vek
