#pragma once
// The end of a run: the files that a temporary or removed installation leaves behind are
// deleted, and what cannot be deleted while this program runs (the program file itself) is
// registered for deletion at the next logon through the current user's RunOnce key.
#include <functional>
#include <string>

#include "engine/RunContext.h"

namespace vek {

using TFinishLog = std::function<void(const std::string&)>;

// The command that deletes aProgramPath and aLanguageLibrary and, when the program ran from
// aSourceDir, removes that folder: cmd.exe /c with one quoted argument.
std::string FinishCommandLine(const std::string& aCmdExe, const std::string& aProgramPath,
                              const std::string& aLanguageLibrary, const std::string& aSourceDir);

// Called once after the engine ran, however the run ended.
void RunFinishRoutine(const TRunContext& aContext, const TFinishLog& aLog);

// Before the setup program is copied into an installation folder: a deletion of aFile that an
// earlier uninstall registered for the next logon is cancelled.
void CancelPendingDeletion(const std::string& aFile);

}  // namespace vek
