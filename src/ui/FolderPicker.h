#pragma once
// The system's folder dialog (the file-open dialog in folder mode).
#include <windows.h>

#include <optional>
#include <string>

namespace vek {

// The folder the user confirms, or none when the dialog is cancelled or cannot be shown.
// aStartFolder, when not empty, is the folder the dialog opens in.
std::optional<std::string> PickFolder(HWND aOwner, const std::string& aTitle, const std::string& aStartFolder);

}  // namespace vek
