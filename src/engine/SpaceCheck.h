#pragma once
// The free-space check of a silent run, before it writes its first file: the check of the
// confirmation page without its dialogs. The targets' needs are summed per drive (a share's
// folder stands for itself), so two options on one drive are checked together.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "script/TargetSpace.h"

namespace vek {

struct TSpaceShortage {
  std::string drive;  // "X:\" or the share folder
  std::int64_t need = 0;
  std::int64_t free = 0;
};

// Free bytes on the drive of a folder; -1 when the system cannot tell.
using TFreeSpaceOf = std::function<std::int64_t(const std::string& aDrive)>;

// The drives without room for what the selection puts on them. A drive whose free space cannot
// be read is not refused: the extraction reports what it cannot write.
std::vector<TSpaceShortage> SpaceShortages(const std::vector<Tdrivereg>& aNeeds, const TFreeSpaceOf& aFreeOf);

// "Not enough space on C:\: needs N bytes, M bytes free", the line a refused run logs.
std::string ShortageLine(const TSpaceShortage& aShortage);

}  // namespace vek
