#pragma once
// Changing the current folder, with a second chance for a network drive that Windows
// remembers but has not connected yet in this logon session.
#include <string>

namespace vek {

// Makes aDir the current folder: 0 on success, otherwise the system's error code; -1 for a
// text that is no path at all (empty, or with a NUL character inside).
int ChangeDir(const std::string& aDir);

// ChangeDir; when that fails, aReconnect is set and aDir is on a drive letter whose remembered
// network connection is unavailable while its remote folder exists, the drive is connected to
// that folder again (as the current user) and ChangeDir is tried once more. True when aDir is
// the current folder in the end.
bool ChangeDirReconnect(const std::string& aDir, bool aReconnect);

}  // namespace vek
