#pragma once
// Copying one file and giving the copy the attributes it should have.
#include <cstdint>
#include <string>

namespace vek {

// Copies aSource over aTarget (an existing target is replaced) without any system message box,
// then gives the target the attributes aAttr plus archive (0x20) when it has others. 0 on
// success; -1 when the copy or the setting of the attributes fails, and for a path longer
// than 260 characters or with a NUL inside.
int CopyFileWithAttr(const std::string& aSource, const std::string& aTarget, std::uint32_t aAttr);

}  // namespace vek
