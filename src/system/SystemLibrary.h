#pragma once
// Libraries come from the system folder only. setup.exe is started from download folders,
// shares, CD images and its own copy in the temporary folder: anyone who can write there can
// leave a DLL under a system library's name, and a search that looks at the program's folder
// first would run it with the installer's rights, usually an administrator's.
#include <windows.h>

#include <string>

namespace vek {

// Restricts every later library search of the process, the loader's own included (delay-loaded
// imports, libraries that system libraries load for us), to the system folder. Called first,
// before anything that may load a library; false when the system refused, and then nothing may
// be loaded safely.
bool RestrictLibrarySearch();

// The full path of a library of the system folder; empty when the folder cannot be read.
std::wstring SystemLibraryPath(const wchar_t* aName);

// Loads a library of the system folder by its full path; null when that fails. Never searches.
HMODULE LoadSystemLibrary(const wchar_t* aName);

}  // namespace vek
