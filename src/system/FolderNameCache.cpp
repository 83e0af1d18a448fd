#include "system/FolderNameCache.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "system/Files.h"
#include "system/PathText.h"

namespace vek {

namespace {

std::uint64_t NameHash(std::string_view aName) { return std::hash<std::string>{}(UpperCase(aName)); }

}  // namespace

bool TFolderNameCache::MayExist(const std::string& aPath) {
  const std::string folder = ExtractFilePath(aPath);
  auto [place, inserted] = fFolders.try_emplace(folder);
  TListing& listing = place->second;
  if (inserted) {
    std::vector<DirEntry> entries;
    listing.listed = !folder.empty() && ListDirectory(folder, entries).ok();
    listing.nameHashes.reserve(entries.size());
    for (const DirEntry& entry : entries) listing.nameHashes.push_back(NameHash(entry.name));
    std::sort(listing.nameHashes.begin(), listing.nameHashes.end());
  }
  return !listing.listed ||
         std::binary_search(listing.nameHashes.begin(), listing.nameHashes.end(), NameHash(ExtractFileName(aPath)));
}

}  // namespace vek
