#pragma once
// The local header in front of each entry's data. Its values are compared with the central
// directory before a byte of data is read: a pack whose two copies disagree was damaged or
// built to mislead, and its entry is refused.
#include <cstdint>

#include "archive/ZipEntry.h"
#include "archive/ZipInput.h"

namespace vek {

// Finds where the data of aEntry starts. False when the local header is missing or disagrees
// with the directory, or when the data would reach past aDataEnd (the central directory).
bool FindEntryData(IZipInput& aInput, const TZipEntry& aEntry, std::uint64_t aDataEnd,
                   std::uint64_t& aDataStart);

}  // namespace vek
