#pragma once
// What kind of drive holds a path. A file on a CD or a removable disk may be gone by the next
// start of the system, so a copy that has to wait for that start is made from a local copy.
#include <string>

namespace vek {

// True when aPath lies on a fixed (local hard) disk; false for a removable disk, a CD-ROM, a
// network share or RAM disk, for a drive that does not exist, and for a path with a NUL
// inside. A relative path is judged by the folder it is relative to.
bool IsOnFixedDisk(const std::string& aPath);

}  // namespace vek
