#pragma once
// Readiness and free space of drives. No call here shows a system message box, also not for a
// removable drive without medium.
#include <cstdint>
#include <string>

// <windows.h> has a macro of its own named GetDiskFreeSpace; without this, a file that
// included it first would declare and call another name than the one defined here.
#ifdef GetDiskFreeSpace
#undef GetDiskFreeSpace
#endif

namespace vek {

// For a path that starts with a drive letter and ":", whether the drive can tell its size (a
// drive with no medium, or no such drive, cannot); true for every other path (UNC, relative).
bool DriveReady(const std::string& aPath);

// Free bytes available to this user on the drive of aPath: its root "X:\" when aPath starts
// with a drive letter, otherwise aPath itself (a UNC folder). -1 on failure, for an empty path
// and for one with a NUL inside.
std::int64_t GetDiskFreeSpace(const std::string& aPath);

// A file that includes <windows.h> after this header gets GetDiskFreeSpace turned into
// GetDiskFreeSpaceW again; this overload of that name, in namespace vek, forwards the call.
inline std::int64_t GetDiskFreeSpaceW(const std::string& aPath) { return GetDiskFreeSpace(aPath); }

}  // namespace vek
