#include "engine/SystemSearch.h"

#include <algorithm>

#include "base/CaseMap.h"
#include "system/Files.h"
#include "system/PathText.h"

namespace vek {
namespace {

enum class Outcome { found, notFound, stopped };

class Search {
 public:
  Search(const std::vector<std::string>& aNames, const TSystemSearchHooks& aHooks)
      : fNames(aNames), fHooks(aHooks) {}

  // aTop: the install path itself, whose listing must work; a sub-folder that cannot be listed
  // (no access, as some system folders) is passed over, or no search of a whole drive would
  // ever finish.
  Outcome Folder(const std::string& aFolder, std::string& aResult, bool aTop) {
    std::vector<DirEntry> entries;
    if (!ListDirectory(aFolder, entries)) return aTop ? Error(aFolder) : Outcome::notFound;
    std::vector<std::string> descend;
    for (const DirEntry& entry : entries) {
      if (fHooks.stopPressed && fHooks.stopPressed()) return Outcome::stopped;
      if (!entry.IsFolder() || entry.name.starts_with('.')) continue;
      const std::string path = JoinPath(aFolder, entry.name);
      if (fHooks.foundDir) fHooks.foundDir(path);
      if (IsPlainFolder(entry) && IsSystemName(entry.name)) {
        const int answer = fHooks.askCandidate ? fHooks.askCandidate(path) : 1;
        if (answer == 1) {
          aResult = path;
          return Outcome::found;
        }
        if (answer == 3) return Outcome::stopped;
      }
      if (!IsExcluded(path)) descend.push_back(path);
    }
    for (const std::string& folder : descend) {
      const Outcome outcome = Folder(folder, aResult, false);
      if (outcome != Outcome::notFound) return outcome;
    }
    return Outcome::notFound;
  }

 private:
  // Candidates are folders with no attribute beyond "directory" and "archive": hidden and
  // system folders, links and junctions are not where a system was installed.
  static bool IsPlainFolder(const DirEntry& aEntry) {
    return aEntry.attributes == kAttrDirectory || aEntry.attributes == (kAttrDirectory | kAttrArchive);
  }

  bool IsSystemName(const std::string& aName) const {
    return std::any_of(fNames.begin(), fNames.end(), [&](const std::string& n) { return SameText(n, aName); });
  }

  bool IsExcluded(const std::string& aPath) const {
    const std::string upper = UpperCase(aPath);
    return std::any_of(fHooks.excludedFolders.begin(), fHooks.excludedFolders.end(),
                       [&](const std::string& f) { return !f.empty() && upper.find(f) != std::string::npos; });
  }

  Outcome Error(const std::string& aFolder) {
    if (fHooks.reportError) fHooks.reportError(aFolder);
    return Outcome::stopped;
  }

  const std::vector<std::string>& fNames;
  const TSystemSearchHooks& fHooks;
};

}  // namespace

std::optional<std::string> SearchInstalledSystem(const std::string& aInstallPath,
                                                 const std::vector<std::string>& aNames,
                                                 const TSystemSearchHooks& aHooks) {
  const std::string last = ExtractFileName(ExcludeTrailingPathDelimiter(aInstallPath));
  if (std::any_of(aNames.begin(), aNames.end(), [&](const std::string& n) { return SameText(n, last); })) {
    return aInstallPath;
  }
  std::string result;
  if (Search(aNames, aHooks).Folder(aInstallPath, result, true) == Outcome::found) return result;
  return std::nullopt;
}

}  // namespace vek
