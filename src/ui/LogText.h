#pragma once
// The text of a list of log lines, as the log dialog shows it and saves it: every line ends with
// CR LF, and a line break inside a line (CR, LF or CR LF) becomes CR LF too, so that the edit
// control and any editor show the same lines.
#include <string>
#include <vector>

namespace vek {

std::string LogText(const std::vector<std::string>& aLines);

// The filter of a file dialog from "Name|*.ext|Name|*.*": the parts separated by NULs, ended
// by two. A text without "|" is a filter of its own for every file.
std::u16string FileDialogFilter(const std::u16string& aText);

}  // namespace vek
