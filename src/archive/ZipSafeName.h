#pragma once
// Which entry names may be written below the destination folder. A pack is input from outside:
// a name must never reach a file outside the folder it is extracted into, nor a device.
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// Splits an entry name into the folders and file name it stands for below the destination
// folder ("/" and "\" both separate; "." and empty parts drop out; ".." goes up one part).
// Returns false, leaving aParts unspecified, when the name is not safe to write: absolute,
// with a drive or share, with a ":" (also a stream name), with a control character, climbing
// above the destination with "..", with a part made only of dots and spaces (Windows trims
// those and could turn it into ".."), or naming a DOS device (CON, NUL, COM1, LPT1.txt, ...).
bool SplitSafeEntryName(std::string_view aName, std::vector<std::string>& aParts);

}  // namespace vek
