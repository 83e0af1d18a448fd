#pragma once
// Raw-data resources (RT_RCDATA) of the running program file, such as the language table
// that setup.exe carries inside itself.
#include <string>

namespace vek {

// True when the running program carries an RT_RCDATA resource of that name.
bool HasRawResource(const std::string& aName);

// Copies the bytes of the RT_RCDATA resource aName of the running program into aBytes.
// False, with aBytes empty, when there is no such resource or it cannot be loaded.
bool ReadRawResource(const std::string& aName, std::string& aBytes);

}  // namespace vek
