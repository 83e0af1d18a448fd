#pragma once
// What a cleanup may touch. The cleanup record is read from disk and may be damaged or edited,
// so every folder and file name it gives is checked before anything is removed: folders that
// hold the system or other people's data are never removed, and file names never reach outside
// the folder that lists them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// Folders that a cleanup never removes as a whole and never empties by wildcard: the Windows
// and system folders, the program-files and common-files roots, the profiles root and the
// profiles themselves, the desktop and start-menu roots. Every drive root and share root is
// protected without being listed.
struct TProtectedFolders {
  std::vector<std::string> folders;
};

// A folder path in the one spelling that the system would resolve it to: "\" as the only
// delimiter, no empty or "." names, trailing dots and blanks of each name dropped, no trailing
// delimiter, the drive letter in upper case. Empty for what is not a plain absolute path: a
// relative path, a ".." name, the device forms "\\?\" and "\\.\", a NUL.
std::optional<std::string> CanonicalFolder(std::string_view aPath);

// True for a drive or share root, anything CanonicalFolder refuses, every listed folder and
// every folder that holds a listed one, whatever the spelling (compared without regard to case).
bool IsProtectedFolder(std::string_view aFolder, const TProtectedFolders& aProtected);

// A recorded file name is usable when it is relative and stays inside its folder: not empty,
// no drive, no leading delimiter, no ".." component, no NUL, no device-style "\\?\" prefix.
bool IsSafeRecordedName(std::string_view aName);

// The backup name of a file: "~" inserted right after the dot that starts the extension
// ("app.exe" -> "app.~exe"); empty when the name has no extension.
std::string BackupFileName(std::string_view aPath);

}  // namespace vek
