// The layer rule of src/ and the checker that holds a source tree to it.
//
// The folders of src/ are layers; a file may include headers of its own folder and of the folders
// before it, never of a folder after it. Windows SDK headers belong to the folders that talk to
// Win32 and to files named *.win.cpp. docs/ARCHITECTURE.md ("Layers") states the same rule; when
// one changes, change the other.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// Lowest first: a folder may use every folder before it. A new folder under src/ must be placed
// here, or the check fails.
inline constexpr std::array<std::string_view, 10> kLayerOrder = {
    "base", "system", "language", "archive", "script", "commands", "shortcuts", "engine", "ui", "app"};

// The folders whose files may include Windows SDK headers; anywhere else only files named
// *.win.cpp may (they go into vek_win, never into the core).
inline constexpr std::array<std::string_view, 3> kWindowsFolders = {"system", "ui", "app"};
inline constexpr std::string_view kWindowsFileSuffix = ".win.cpp";

// Headers only the Windows SDK provides, in lower case (the SDK spells some "Windows.h" or
// "ShlObj.h"; the comparison ignores case, as the Windows file system does). The C and C++
// runtime headers that mingw also ships (<io.h>, <direct.h>) are not listed: they are no Win32
// dependency of their own. Add a header here before its first use.
// clang-format off
inline constexpr std::string_view kWindowsHeaders[] = {
    "accctrl.h", "aclapi.h", "basetsd.h", "combaseapi.h", "comdef.h",
    "commctrl.h", "commdlg.h", "dbghelp.h", "dwmapi.h", "errhandlingapi.h",
    "exdisp.h", "fileapi.h", "guiddef.h", "handleapi.h", "initguid.h",
    "intshcut.h", "iphlpapi.h", "knownfolders.h", "libloaderapi.h", "lm.h",
    "lmaccess.h", "lmapibuf.h", "lmcons.h", "lmerr.h", "memoryapi.h",
    "minwinbase.h", "minwindef.h", "mmsystem.h", "msi.h", "msiquery.h",
    "ntdef.h", "ntsecapi.h", "ntstatus.h", "oaidl.h", "objbase.h",
    "objidl.h", "ocidl.h", "ole2.h", "oleauto.h", "olectl.h",
    "processenv.h", "processthreadsapi.h", "propkey.h", "propvarutil.h", "psapi.h",
    "richedit.h", "rpc.h", "rpcndr.h", "sddl.h", "securitybaseapi.h",
    "setupapi.h", "shellapi.h", "shlguid.h", "shlobj.h", "shlobj_core.h",
    "shlwapi.h", "shobjidl.h", "shtypes.h", "synchapi.h", "sysinfoapi.h",
    "tlhelp32.h", "unknwn.h", "urlmon.h", "userenv.h", "uxtheme.h",
    "versionhelpers.h", "winbase.h", "wincon.h", "wincrypt.h", "windef.h",
    "windows.h", "windowsx.h", "winerror.h", "wingdi.h", "winhttp.h",
    "wininet.h", "winioctl.h", "winnetwk.h", "winnls.h", "winnt.h",
    "winreg.h", "winsock2.h", "winspool.h", "winsvc.h", "winternl.h",
    "wintrust.h", "winuser.h", "winver.h", "wow64apisetcommon.h", "ws2tcpip.h",
    "wtsapi32.h", "wtypes.h",
};
// clang-format on

// One #include line as written. `delimiter` is '"' or '<'; 0 marks an include through a macro,
// whose target cannot be known without preprocessing (`header` then holds the text as written).
struct IncludeLine {
  int line = 0;
  char delimiter = 0;
  std::string header;

  bool operator==(const IncludeLine&) const = default;
};

// The #include directives of a C++ source text, in order, with their 1-based line numbers.
// Comments (// with line splicing, /* */ across lines) and #if 0 blocks hide directives; string,
// character and raw string literals are skipped, so a "/*" inside a string hides nothing.
std::vector<IncludeLine> ReadIncludes(std::string_view aText);

// A source file below src/: `path` relative to src/ with '/' separators ("engine/setupengine.h").
struct SourceFile {
  std::string path;
  std::string text;
};

// The folders directly below src/ (every one, even those without sources) and the source files.
struct SourceTree {
  std::vector<std::string> folders;
  std::vector<SourceFile> files;
};

// One readable line per breach of the rule, in the order of the files and their lines, e.g.
//   src/script/X.cpp:4 includes "engine/setupengine.h": script may not use engine (layers: ...)
// Empty when the tree keeps the rule.
std::vector<std::string> CheckTree(const SourceTree& aTree);

}  // namespace vek
