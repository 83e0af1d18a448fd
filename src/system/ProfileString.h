#pragma once
// Single entries of INI files on disk through the system's profile-string functions, which
// keep the rest of the file as it is and append a new entry at the end of its section.
#include <string>
#include <utility>
#include <vector>

#include "system/SysResult.h"

namespace vek {

using ProfileEntries = std::vector<std::pair<std::string, std::string>>;

std::string ReadProfileString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                              const std::string& aDefault);
SysResult WriteProfileString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                             const std::string& aValue);
SysResult DeleteProfileKey(const std::string& aFile, const std::string& aSection, const std::string& aKey);
SysResult EraseProfileSection(const std::string& aFile, const std::string& aSection);
// The "key=value" lines of one section in file order; a line without "=" gives an empty value.
ProfileEntries ReadProfileSection(const std::string& aFile, const std::string& aSection);
std::vector<std::string> ReadProfileSectionNames(const std::string& aFile);

}  // namespace vek
