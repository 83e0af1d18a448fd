#include "system/SystemLibrary.h"

namespace vek {

bool RestrictLibrarySearch() {
  // The current folder and PATH go too: only the system folder (and, for the common controls
  // that the manifest asks for, the side-by-side store the system resolves before any search).
  return ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

std::wstring SystemLibraryPath(const wchar_t* aName) {
  wchar_t folder[MAX_PATH]{};
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  // A bare name instead would be searched for: no path, no library.
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\" + aName;
}

HMODULE LoadSystemLibrary(const wchar_t* aName) {
  const std::wstring path = SystemLibraryPath(aName);
  if (path.empty()) return nullptr;
  // The full path names the file; the flag keeps the libraries it imports in the system folder
  // as well, should the default restriction ever be missing.
  return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace vek
