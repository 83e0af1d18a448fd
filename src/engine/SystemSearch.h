#pragma once
// The search for an installed system below the install path, used when an update is asked
// for: folder by folder, depth first, for a folder whose name is one of the system's folder
// names. The front end can follow it and stop it; a person is asked about each candidate.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vek {

struct TSystemSearchHooks {
  // A folder is looked at (the front end shows the path); absent in a silent run.
  std::function<void(const std::string& aPath)> foundDir;
  // A candidate folder: 1 take it, 2 go on searching, 3 stop. Absent: take it (silent run).
  std::function<int(const std::string& aPath)> askCandidate;
  // The user pressed the stop button.
  std::function<bool()> stopPressed;
  // A folder could not be examined (text 89 is shown); the search ends.
  std::function<void(const std::string& aPath)> reportError;
  // Folders of the system itself, never descended into (upper case, as expanded).
  std::vector<std::string> excludedFolders;
};

// The installed system's folder, or nothing when none was found or the search was stopped.
std::optional<std::string> SearchInstalledSystem(const std::string& aInstallPath,
                                                 const std::vector<std::string>& aNames,
                                                 const TSystemSearchHooks& aHooks);

}  // namespace vek
