#pragma once
// The standard folders of the machine and of the user: Windows, system, shell folders, program
// files and common files. Every function gives an empty text when the system names no such
// folder. (The temporary folder is GetTempDir in system/Files.h.)
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// Shell folder identifiers (the system's CSIDL numbers) that the installer asks for.
enum TShellFolder : int {
  sfPrograms = 0x0002,                // the user's Start menu programs
  sfDesktopDirectory = 0x0010,        // the user's desktop
  sfCommonPrograms = 0x0017,          // Start menu programs of all users
  sfCommonDesktopDirectory = 0x0019,  // desktop of all users
  sfProgramFiles = 0x0026,            // program files of this program's view (38)
  sfProgramFilesX86 = 0x002a,         // program files of the 32-bit view (42)
  sfProgramFilesCommon = 0x002b,      // common program files (43)
};

// Paths of up to 260 characters; a longer one counts as none.
std::string GetWindowsDir();
std::string GetSystemDir();
// The path of the shell folder with that identifier (any CSIDL number, TShellFolder names the
// usual ones); empty when the shell has none or fails.
std::string GetSpecialFolder(int aCsidl);

// A folder value ("ProgramFilesDir", "CommonFilesDir") of
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion, where systems record their
// folders for programs that cannot ask the shell; empty when it is missing or not a text.
std::string ReadCurrentVersionFolder(const std::string& aValueName);

// The program files folder: the shell's, else the one the registry records.
std::string GetProgramFilesDir();
// The common program files folder: the shell's on Windows NT 5 and later, else (also when the
// shell names none) the one the registry records.
std::string GetCommonFilesDir();

// The folders that belong to the system or to its users as a whole: Windows, system (both
// views), program files and common files (both views), the profiles root and the current
// profile, the user's and all users' desktop, start menu, programs, documents and application
// data, and the temporary folder. Folders the system does not name are left out.
std::vector<std::string> GetSystemOwnedFolders();

// aPath lies in a program files folder of either view: the folders named by the environment
// variables "ProgramW6432" and "ProgramFiles(X86)" and by the shell folders 38 and 42, compared
// without regard to case and only at folder boundaries. Folders that are not set never match.
bool IsUnderProgramFiles(std::string_view aPath);

}  // namespace vek
