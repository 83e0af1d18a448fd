#pragma once
// Markers in version-check lines that make a line count only in one kind of installation:
// "<NONET>" drops the line in a network installation and is removed otherwise; "<NET>" is
// removed in a network installation and drops the line otherwise. Both match in any case.
#include <string>
#include <string_view>

namespace vek {

std::string ApplyNetMarkers(std::string_view aText, bool aNetInstall);

}  // namespace vek
