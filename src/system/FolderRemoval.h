#pragma once
// Removing folders without ever deleting a file: what a cleanup needs to take away the folders
// an installation made once the files it made are gone, while anything else stays.
#include <functional>
#include <string>

#include "system/SysResult.h"

namespace vek {

// Clears the read-only and hidden attributes of a file or folder, so that it can be deleted.
void ClearReadOnlyAndHidden(const std::string& aPath);

// Says which folders must stay even when they are empty.
using TKeepFolder = std::function<bool(const std::string& aFolder)>;

// Removes the empty folders below aFolder, deepest first. Files are never touched, so a folder
// that holds any file stays with its parents; links to other folders (reparse points) are
// neither followed nor removed, and neither are folders that aKeep names.
void RemoveEmptySubFolders(const std::string& aFolder, const TKeepFolder& aKeep);

// True when a file, or a link to elsewhere, lies anywhere below aFolder.
bool HoldsFiles(const std::string& aFolder);

// Removes an empty folder; when that fails, its empty sub-folders first, and once more from its
// parent when it was the current folder.
SysResult RemoveFolderAndEmptySubFolders(const std::string& aFolder, const TKeepFolder& aKeep);

}  // namespace vek
