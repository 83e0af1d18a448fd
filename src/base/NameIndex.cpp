#include "base/NameIndex.h"

#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

namespace vek {

// Names that compare equal without regard to case have equal upper-case forms, hence one hash.
std::size_t TNameIndex::NameHash(std::string_view aName) { return std::hash<std::string>{}(UpperCase(aName)); }

void TNameIndex::Place(std::size_t aPosition, std::size_t aHash) {
  if (aPosition >= std::numeric_limits<std::uint32_t>::max()) throw std::length_error("more than 4 billion names");
  const std::size_t mask = fSlots.size() - 1;
  std::size_t slot = aHash & mask;
  while (fSlots[slot] != 0) slot = (slot + 1) & mask;
  fSlots[slot] = static_cast<std::uint32_t>(aPosition + 1);
}

}  // namespace vek
