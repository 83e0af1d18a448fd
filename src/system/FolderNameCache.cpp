#include "system/FolderNameCache.h"

#include <vector>

#include "system/Files.h"
#include "system/PathText.h"

namespace vek {

bool TFolderNameCache::MayExist(const std::string& aPath) {
  const std::string folder = ExtractFilePath(aPath);
  auto [place, inserted] = fFolders.try_emplace(folder);
  TListing& listing = place->second;
  if (inserted) {
    std::vector<DirEntry> entries;
    listing.listed = !folder.empty() && ListDirectory(folder, entries).ok();
    for (DirEntry& entry : entries) listing.names.insert(std::move(entry.name));
  }
  return !listing.listed || listing.names.contains(ExtractFileName(aPath));
}

}  // namespace vek
