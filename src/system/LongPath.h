#pragma once
// Paths as the file functions of the system layer hand them to Win32: a path longer than the
// classic limit goes in its extended-length form, so that folders and files deep below an
// installation folder can be created, read, recorded and removed.
#include <string>
#include <string_view>

namespace vek {

// The UTF-16 form of aPath for a file function: as it is up to kClassicPathLimit units,
// otherwise made absolute and normalised and given the "\\?\" or "\\?\UNC\" prefix. A path the
// system cannot take in any form (over kLongestPath units) stays as it is and fails there.
std::wstring WidePath(std::string_view aPath);

}  // namespace vek
