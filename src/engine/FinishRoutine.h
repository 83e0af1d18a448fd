#pragma once
// The end of a run: the files that a temporary or removed installation leaves behind are
// deleted, and what cannot be deleted while this program runs (the program file itself) is
// registered for deletion at the next logon through the current user's RunOnce key.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "script/RunContext.h"

namespace vek {

using TFinishLog = std::function<void(const std::string&)>;

// The command that deletes aProgramPath and aLanguageLibrary and, when the program ran from
// aSourceDir, removes that folder: cmd.exe /c with one quoted argument. The library is deleted
// in the program's folder, whatever folder aLanguageLibrary names.
std::string FinishCommandLine(const std::string& aCmdExe, const std::string& aProgramPath,
                              const std::string& aLanguageLibrary, const std::string& aSourceDir);

// Called once after the engine ran, however the run ended.
void RunFinishRoutine(const TRunContext& aContext, const TFinishLog& aLog);

// Before the setup program is copied into an installation folder: a deletion of aFile that an
// earlier uninstall registered for the next logon is cancelled.
void CancelPendingDeletion(const std::string& aFile);
// The same, with a log line for every cancelled registration and every failure.
void CancelPendingDeletion(const std::string& aFile, const TFinishLog& aLog);

// --- The parts of the finish routine that need no system, tested in both builds. ---

// The language library of a run: "setup_" + the language code in lower case + ".dll". The
// program carries its texts itself, so the file normally does not exist; a copy that an older
// distribution placed beside the program or the script goes with it.
std::string LanguageLibraryName(std::string_view aLanguageCode);

// The RunOnce value names under which this program registers its own removal: the base name,
// then the base name followed by 1 to 10, in the order they are tried.
const std::vector<std::string>& FinishValueNames();
// The name that earlier versions of the installer registered their removal under.
inline constexpr std::string_view kOldFinishValueName = "Finish_LumSetup";

struct TRunOnceValue {
  std::string name;
  std::string data;  // empty when the value holds no text
};

// The value name that aCommandLine is written under, given the values of FinishValueNames()
// that exist: a value that already holds the command (in any letter case) is used again, so
// that one removal is never registered twice; otherwise the first name that is free; when all
// are taken, the last name, whose registration is overwritten.
std::string ChooseFinishValueName(const std::vector<TRunOnceValue>& aExisting, std::string_view aCommandLine);

// A registered command refers to aFile when it contains its path, in any letter case. An empty
// path refers to nothing (it would otherwise match every registration).
bool RefersToFile(std::string_view aCommandData, std::string_view aFile);

// The setup program that an install run places in the installation folder: the install path,
// the selected install root (none when the index is out of range) and "setup.exe".
std::string InstalledSetupPath(const TRunContext& aContext);

// What the finish routine needs to know about the running program. RunFinishRoutine asks the
// system; tests give a program file of their own, so that the real one is never registered.
struct TFinishPlace {
  std::string programPath;   // this program's file
  std::string cmdExe;        // the command interpreter: cmd.exe in the system folder
  std::string languageCode;  // the language of the run
};
void RunFinishRoutineAt(const TRunContext& aContext, const TFinishPlace& aPlace, const TFinishLog& aLog);

}  // namespace vek
