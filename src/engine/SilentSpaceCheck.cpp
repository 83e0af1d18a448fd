// A silent run checks the free space of its target drives before it writes its first file; a
// run without room ends before any change, and takes back the folders it has created so far.
#include <algorithm>

#include "base/CaseMap.h"
#include "engine/CleanupSafety.h"
#include "engine/SetupEngine.h"
#include "script/TargetSpace.h"
#include "system/Drives.h"
#include "system/Files.h"
#include "system/PathText.h"

namespace vek {

// The record begun at the path check, in a system folder this run made, names nothing that
// stays: it goes, and nothing saves it again at the end of the run.
void TSetupEngine::TakeBackStartedRecord() {
  if (!CleanUpScript) return;
  const std::string record = CleanUpScript->FileName();
  const std::string folder = UpperCase(ExcludeTrailingPathDelimiter(ExtractFilePath(record)));
  const bool made = std::any_of(fCreatedFolders.begin(), fCreatedFolders.end(), [&](const std::string& aMade) {
    return UpperCase(ExcludeTrailingPathDelimiter(aMade)) == folder;
  });
  if (!made) return;
  for (const std::string& file : {record, BackupFileName(record)}) {
    if (FileExists(file)) {
      if (const SysResult removed = DeleteFileAt(file); !removed) Log(FailureLine("Delete file", file, removed));
    }
  }
  CleanUpScript.reset();
}

bool TSetupEngine::SilentSpacePasses() {
  if (!MainOptionList) return true;
  const std::vector<TSpaceShortage> shortages =
      SpaceShortages(DriveSpaceNeeds(*MainOptionList), [](const std::string& aRoot) { return GetDiskFreeSpace(aRoot); });
  if (shortages.empty()) return true;
  for (const TSpaceShortage& shortage : shortages) Log(ShortageLine(shortage));
  TakeBackStartedRecord();
  // The target folders made by the path check are empty now: deepest first, they go again.
  for (auto folder = fCreatedFolders.rbegin(); folder != fCreatedFolders.rend(); ++folder) {
    if (const SysResult removed = RemoveEmptyDirectory(*folder); !removed)
      Log(FailureLine("Remove folder", *folder, removed));
  }
  fCreatedFolders.clear();
  Log("Nothing was installed: not enough free space");
  return false;
}

}  // namespace vek
