#include "ui/WhereToPath.h"

#include "base/CaseMap.h"
#include "system/PathText.h"

namespace vek {

std::string AddRootFolder(const std::string& aPath, const std::string& aRoot) {
  if (aRoot.empty()) return aPath;
  std::string path = aPath;
  if (FindText(path, aRoot) != std::string::npos) path = ExcludeTrailingPathDelimiter(path);
  if (SameText(ExtractFileName(path), aRoot)) return path;
  if (!path.empty() && !IsPathDelimiter(path.back())) path += '\\';
  return path + aRoot;
}

}  // namespace vek
