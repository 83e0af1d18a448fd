#pragma once
// Finding and reading the central directory of a pack. Every count, size and offset it states
// is checked against the file before it is used, so a damaged or hostile pack gives an error
// text instead of a huge allocation, a read outside the file or entries that share their data.
#include <cstdint>
#include <string>
#include <vector>

#include "archive/ZipEntry.h"
#include "archive/ZipInput.h"

namespace vek {

struct TZipDirectory {
  std::vector<TZipEntry> Entries;
  // Where the central directory starts; the data of every entry lies before it.
  std::uint64_t DataEnd = 0;
};

// False with a readable aError when the input is not a ZIP archive, spans several disks or is
// damaged in its directory.
bool ReadZipDirectory(IZipInput& aInput, TZipDirectory& aDirectory, std::string& aError);

}  // namespace vek
