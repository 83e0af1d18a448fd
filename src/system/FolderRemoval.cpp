#include "system/FolderRemoval.h"

#include <cstdint>
#include <vector>

#include "base/CaseMap.h"
#include "system/FileAttributes.h"
#include "system/Files.h"
#include "system/PathText.h"

namespace vek {
namespace {

constexpr std::uint32_t kAttrHidden = 0x2;
constexpr std::uint32_t kAttrReparsePoint = 0x400;
constexpr unsigned long kErrorCurrentDirectory = 16;  // ERROR_CURRENT_DIRECTORY
constexpr unsigned long kErrorSharingViolation = 32;  // how some systems refuse the current folder
// Deeper trees are left alone rather than walked without end.
constexpr int kMaxDepth = 64;

bool IsLink(const DirEntry& aEntry) { return (aEntry.attributes & kAttrReparsePoint) != 0; }

void RemoveEmptySubFoldersAt(const std::string& aFolder, const TKeepFolder& aKeep, int aDepth) {
  std::vector<DirEntry> entries;
  if (aDepth > kMaxDepth || !ListDirectory(aFolder, entries)) return;
  for (const DirEntry& entry : entries) {
    if (!entry.IsFolder() || IsLink(entry)) continue;
    const std::string sub = JoinPath(aFolder, entry.name);
    if (aKeep && aKeep(sub)) continue;
    // By the time a cleanup gets here most folders are empty: one attempt removes such a folder
    // without the listing, which under Wine reads every entry's attributes. Only a folder that
    // is not empty (or is read-only) is listed and gone through.
    if (RemoveEmptyDirectory(sub)) continue;
    RemoveEmptySubFoldersAt(sub, aKeep, aDepth + 1);
    ClearReadOnlyAndHidden(sub);
    (void)RemoveEmptyDirectory(sub);
  }
}

bool HoldsFilesAt(const std::string& aFolder, int aDepth) {
  std::vector<DirEntry> entries;
  if (aDepth > kMaxDepth) return true;
  if (!ListDirectory(aFolder, entries)) return false;
  for (const DirEntry& entry : entries) {
    if (!entry.IsFolder() || IsLink(entry) || HoldsFilesAt(JoinPath(aFolder, entry.name), aDepth + 1)) return true;
  }
  return false;
}

}  // namespace

void ClearReadOnlyAndHidden(const std::string& aPath) {
  std::uint32_t attributes = 0;
  if (GetFileAttributesAt(aPath, attributes) && (attributes & (kAttrReadOnly | kAttrHidden)) != 0) {
    (void)SetFileAttributesAt(aPath, attributes & ~(kAttrReadOnly | kAttrHidden));
  }
}

void RemoveEmptySubFolders(const std::string& aFolder, const TKeepFolder& aKeep) {
  RemoveEmptySubFoldersAt(aFolder, aKeep, 0);
}

bool HoldsFiles(const std::string& aFolder) { return HoldsFilesAt(aFolder, 0); }

SysResult RemoveFolderAndEmptySubFolders(const std::string& aFolder, const TKeepFolder& aKeep) {
  SysResult removed = RemoveEmptyDirectory(aFolder);
  if (removed) return removed;
  RemoveEmptySubFolders(aFolder, aKeep);
  ClearReadOnlyAndHidden(aFolder);
  removed = RemoveEmptyDirectory(aFolder);
  if (!removed && (removed.error == kErrorCurrentDirectory || removed.error == kErrorSharingViolation) &&
      SameText(IncludeTrailingPathDelimiter(GetCurrentDir()), IncludeTrailingPathDelimiter(aFolder))) {
    (void)SetCurrentDir(ExtractFileDir(aFolder));
    removed = RemoveEmptyDirectory(aFolder);
  }
  return removed;
}

}  // namespace vek
