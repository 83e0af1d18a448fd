#pragma once
// A version or existence test of the installed system or of an external program. The loader
// fills these records from the script; running a test is not part of this record.
#include <string>

namespace vek {

struct TFileVersionCheck {
  std::string filename;   // a file path, or a registry root name beginning with "HKEY_"
  std::string Section;    // INI section, registry key path or version value name
  std::string Test;       // the rest of the script line: key, operator and target, not yet split
  std::string ErrorText;  // shown when the test fails
};

}  // namespace vek
