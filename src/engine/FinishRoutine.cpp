#include "engine/FinishRoutine.h"

namespace vek {

std::string FinishCommandLine(const std::string& aCmdExe, const std::string& aProgramPath,
                              const std::string& aLanguageLibrary, const std::string& aSourceDir) {
  (void)aCmdExe;
  (void)aProgramPath;
  (void)aLanguageLibrary;
  (void)aSourceDir;
  return {};
}

}  // namespace vek
