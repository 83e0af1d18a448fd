#pragma once
// The version resource of a program file.
#include <array>
#include <cstdint>
#include <string>

namespace vek {

// major, minor, release, build; false when the file has no readable version resource.
bool ReadFileVersion(const std::string& aPath, std::array<std::uint16_t, 4>& aVersion);

// True when aFile's version is lower than aOther's: a lower major.minor.release, or the same
// with a lower build number. False when either version cannot be read.
bool IsOlderVersion(const std::string& aFile, const std::string& aOther);

}  // namespace vek
