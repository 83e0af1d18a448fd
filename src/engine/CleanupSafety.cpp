#include "engine/CleanupSafety.h"

#include "base/CaseMap.h"
#include "system/PathText.h"

namespace vek {
namespace {

// "C:", "C:\", "\\server", "\\server\share" with or without a trailing delimiter.
bool IsRootPath(std::string_view aPath) {
  const std::string trimmed = ExcludeTrailingPathDelimiter(aPath);
  if (trimmed.size() <= 2) return true;
  if (trimmed.size() == 3 && trimmed[1] == ':') return true;  // "C:x" is relative, refused elsewhere
  if (!IsPathDelimiter(trimmed[0]) || !IsPathDelimiter(trimmed[1])) return false;
  int parts = 0;
  bool inPart = false;
  for (std::size_t i = 2; i < trimmed.size(); ++i) {
    const bool delimiter = IsPathDelimiter(trimmed[i]);
    if (!delimiter && !inPart) ++parts;
    inPart = !delimiter;
  }
  return parts <= 2;
}

bool IsAbsolutePath(std::string_view aPath) {
  if (aPath.size() >= 3 && aPath[1] == ':' && IsPathDelimiter(aPath[2])) return true;
  return aPath.size() >= 3 && IsPathDelimiter(aPath[0]) && IsPathDelimiter(aPath[1]);
}

bool HasParentComponent(std::string_view aPath) {
  std::size_t start = 0;
  while (start <= aPath.size()) {
    std::size_t end = start;
    while (end < aPath.size() && !IsPathDelimiter(aPath[end])) ++end;
    const std::string_view part = aPath.substr(start, end - start);
    // Windows drops trailing dots and blanks, so "..." and ".. " also climb.
    if (part.size() >= 2 && part.find_first_not_of(". ") == std::string_view::npos) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

bool IsProtectedFolder(std::string_view aFolder, const TProtectedFolders& aProtected) {
  if (ContainsNul(aFolder) || !IsAbsolutePath(aFolder) || HasParentComponent(aFolder) || IsRootPath(aFolder)) {
    return true;
  }
  const std::string folder = ExcludeTrailingPathDelimiter(aFolder);
  for (const std::string& protectedFolder : aProtected.folders) {
    if (!protectedFolder.empty() && SameText(folder, ExcludeTrailingPathDelimiter(protectedFolder))) return true;
  }
  return false;
}

bool IsSafeRecordedName(std::string_view aName) {
  if (aName.empty() || ContainsNul(aName) || HasDriveLetter(aName) || IsPathDelimiter(aName[0])) return false;
  if (aName.find(':') != std::string_view::npos) return false;  // drives and alternate data streams
  return !HasParentComponent(aName);
}

std::string BackupFileName(std::string_view aPath) {
  const std::string ext = ExtractFileExt(aPath);
  if (ext.empty()) return {};
  const std::size_t dot = aPath.size() - ext.size();
  return std::string(aPath.substr(0, dot + 1)) + "~" + std::string(aPath.substr(dot + 1));
}

}  // namespace vek
