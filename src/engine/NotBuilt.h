#pragma once
// What the script asks for that this program does not carry out yet. A silent run must not
// pretend it did: each such part of the script gets one log line at the start of the run, so
// the log explains why an INI file, a shortcut or an external program did not change.
#include <string>
#include <vector>

#include "script/IniStore.h"

namespace vek {

// One line per kind of section or key in aScript that is read but not carried out yet, in the
// order of the table, for example:
//   Not built yet: INI and registry commands ([IIniFiles1.1]) are not carried out
std::vector<std::string> NotBuiltLines(const TIniStore& aScript);

}  // namespace vek
