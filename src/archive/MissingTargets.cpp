#include "archive/MissingTargets.h"

#include <limits>
#include <stdexcept>

namespace vek {

std::optional<std::size_t> TMissingTargets::Find(std::string_view aTarget) const {
  return fIndex.Find(aTarget, [this](std::size_t aAt) { return fTargetAt(fEntries[aAt]); });
}

void TMissingTargets::Add(std::size_t aEntry) {
  if (aEntry >= std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("more than 4 billion entries");
  if (Find(fTargetAt(aEntry))) return;
  fEntries.push_back(static_cast<std::uint32_t>(aEntry));
  fRemoved.push_back(false);
  fIndex.Add(fEntries.size() - 1, [this](std::size_t aAt) { return fTargetAt(fEntries[aAt]); });
}

bool TMissingTargets::Contains(std::string_view aTarget) const {
  const std::optional<std::size_t> at = Find(aTarget);
  return at && !fRemoved[*at];
}

void TMissingTargets::Remove(std::string_view aTarget) {
  if (const std::optional<std::size_t> at = Find(aTarget)) fRemoved[*at] = true;
}

}  // namespace vek
