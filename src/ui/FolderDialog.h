#pragma once
// The system's folder picker: the file-open dialog in folder mode on Windows 6 and later, the
// older folder browser before. Nothing is returned when the user cancels.
#include <windows.h>

#include <optional>
#include <string>

namespace vek {

std::optional<std::string> BrowseForFolder(HWND aOwner, const std::string& aStartFolder);

}  // namespace vek
