#pragma once
// One run at a time per installation. An installation is named by its system folder, the
// folder that holds its cleanup record: two runs that would write the same record are the
// same installation, whatever product or script started them; runs of other folders are never
// held up. The lock is a named mutex (no file is made for it, so taking it changes nothing on
// the disk) held until the process ends.
//
// An install run does not know its system folder until the target is checked, and the check
// already creates folders. It therefore locks the folder it is about to create (the install
// path joined with the chosen root and system folder) before it creates anything, and the folder
// the check settles on as well when that differs (an update finds its system by searching).
// A cleanup run locks the system folder that its record names.
#include <cstdint>
#include <string>

namespace vek {

// How long a second run waits for the first one to end before it gives up.
inline constexpr std::uint32_t kSingleRunWaitMilliseconds = 5000;

// The mutex name for a system folder given as a full path: the same for every spelling that
// the system takes as the same folder (case, "/" for "\", doubled or trailing delimiters), and
// short enough for any folder (the path itself is hashed).
std::string SingleRunLockName(const std::string& aFullPath);

class TCleanupScript;
// The system folder a cleanup record belongs to: the recorded folder that holds the record
// itself ("CLEANUP.INI" = 1), unexpanded; empty when the record names none.
std::string RecordedSystemFolder(const TCleanupScript& aRecord);

}  // namespace vek
