#pragma once
// The shortcut that starts the cleanup of the installed system, as section "Cleanup" asks for
// it. The program-group commands create it with the other shortcuts.
#include <string>

namespace vek {

struct TCleanUpGroup {
  std::string GroupName;
  std::string Title;
  std::string FileName;   // the setup program in the installed system folder
  std::string Arguments;  // "/CleanUp"
  bool ForceCreate = false;
};

}  // namespace vek
