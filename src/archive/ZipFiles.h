#pragma once
// The real file system for the reader: Win32 in setup.exe (ZipFiles.win.cpp), POSIX in the
// native build (host/ZipFiles.posix.cpp). Paths are UTF-8.
//
// Entries are written to a temporary file beside the target, named like the target with
// kZipPartSuffix appended, and renamed over the target only when complete, so a failed
// extraction never leaves a half-written file where a good one was.
#include <string_view>

#include "archive/ZipFileSystem.h"

namespace vek {

inline constexpr std::string_view kZipPartSuffix = ".vek-part";

IZipFileSystem& NativeZipFiles();

}  // namespace vek
