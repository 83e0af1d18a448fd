#include "engine/RecordSection.h"

#include <limits>
#include <stdexcept>

namespace vek {

std::string_view TRecordSection::Key(std::size_t aPosition) const {
  const TEntry& entry = fEntries[aPosition];
  return std::string_view(fText).substr(entry.keyAt, entry.keyLength);
}

std::string_view TRecordSection::Value(std::size_t aPosition) const {
  const TEntry& entry = fEntries[aPosition];
  return std::string_view(fText).substr(entry.valueAt, entry.valueLength);
}

std::optional<std::size_t> TRecordSection::Find(std::string_view aKey) const { return fIndex.Find(aKey, KeyAt()); }

void TRecordSection::Set(std::string_view aKey, std::string_view aValue) {
  if (const std::optional<std::size_t> found = Find(aKey)) {
    if (Value(*found) == aValue) return;
    TEntry& entry = fEntries[*found];
    entry.valueAt = Append(aValue);
    entry.valueLength = static_cast<std::uint32_t>(aValue.size());
    return;
  }
  const std::uint32_t keyAt = Append(aKey);
  const std::uint32_t valueAt = Append(aValue);
  fEntries.push_back({keyAt, static_cast<std::uint32_t>(aKey.size()), valueAt, static_cast<std::uint32_t>(aValue.size())});
  fIndex.Add(fEntries.size() - 1, KeyAt());
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

}  // namespace vek
