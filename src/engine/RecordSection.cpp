#include "engine/RecordSection.h"

#include <functional>
#include <limits>
#include <stdexcept>

#include "base/CaseMap.h"

namespace vek {
namespace {

// Names that compare equal without regard to case have equal upper-case forms, hence one hash.
std::size_t KeyHash(std::string_view aKey) { return std::hash<std::string>{}(UpperCase(aKey)); }

}  // namespace

std::string_view TRecordSection::Key(std::size_t aPosition) const {
  const TEntry& entry = fEntries[aPosition];
  return std::string_view(fText).substr(entry.keyAt, entry.keyLength);
}

std::string_view TRecordSection::Value(std::size_t aPosition) const {
  const TEntry& entry = fEntries[aPosition];
  return std::string_view(fText).substr(entry.valueAt, entry.valueLength);
}

std::optional<std::size_t> TRecordSection::Find(std::string_view aKey) const {
  if (fSlots.empty()) return std::nullopt;
  const std::size_t mask = fSlots.size() - 1;
  for (std::size_t slot = KeyHash(aKey) & mask; fSlots[slot] != 0; slot = (slot + 1) & mask) {
    const std::size_t position = fSlots[slot] - 1;
    if (SameText(Key(position), aKey)) return position;
  }
  return std::nullopt;
}

void TRecordSection::Set(std::string_view aKey, std::string_view aValue) {
  if (const std::optional<std::size_t> found = Find(aKey)) {
    TEntry& entry = fEntries[*found];
    if (Value(*found) == aValue) return;
    entry.valueAt = Append(aValue);
    entry.valueLength = static_cast<std::uint32_t>(aValue.size());
    return;
  }
  const std::uint32_t keyAt = Append(aKey);
  const std::uint32_t valueAt = Append(aValue);
  fEntries.push_back({keyAt, static_cast<std::uint32_t>(aKey.size()), valueAt, static_cast<std::uint32_t>(aValue.size())});
  // The table stays at most half full, so that a search for a missing key ends soon.
  if (fSlots.empty() || 2 * fEntries.size() > fSlots.size()) {
    Rebuild();
  } else {
    Index(fEntries.size() - 1);
  }
}

std::uint32_t TRecordSection::Append(std::string_view aPart) {
  // The places are 32-bit numbers: a section of 4 GiB is not a record of files but an attack.
  if (fText.size() + aPart.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("cleanup record section larger than 4 GiB");
  }
  const auto at = static_cast<std::uint32_t>(fText.size());
  fText.append(aPart);
  return at;
}

void TRecordSection::Index(std::size_t aPosition) {
  const std::size_t mask = fSlots.size() - 1;
  std::size_t slot = KeyHash(Key(aPosition)) & mask;
  while (fSlots[slot] != 0) slot = (slot + 1) & mask;
  fSlots[slot] = static_cast<std::uint32_t>(aPosition + 1);
}

void TRecordSection::Rebuild() {
  std::size_t size = 16;
  while (size < 2 * fEntries.size()) size *= 2;
  fSlots.assign(size, 0);
  for (std::size_t position = 0; position < fEntries.size(); ++position) Index(position);
}

}  // namespace vek
