#include "archive/ZipEntry.h"

namespace vek {

std::string TZipEntry::FileName() const {
  const std::size_t slash = FullName.find_last_of("/\\");
  return slash == std::string::npos ? FullName : FullName.substr(slash + 1);
}

}  // namespace vek
