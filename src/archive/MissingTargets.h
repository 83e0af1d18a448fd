#pragma once
// The targets of a pack's entries that were found missing before the extraction wrote its first
// file, until each is extracted: under Wine every look-up of a missing name reads its whole
// folder, so the extraction asks the file system only about targets not known to be missing.
//
// A target is kept as the position of its entry, not as a path: the owner gives the path of a
// position when it is needed (TNameIndex compares paths without regard to case, as the file
// system does). About 12 bytes a target instead of a tree node and a path, for packs of tens of
// thousands of files.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/NameIndex.h"

namespace vek {

class TMissingTargets {
 public:
  using TTargetAt = std::function<std::string(std::size_t aEntry)>;
  explicit TMissingTargets(TTargetAt aTargetAt) : fTargetAt(std::move(aTargetAt)) {}

  // The target of entry aEntry is missing; a second entry with the same target adds nothing.
  void Add(std::size_t aEntry);
  // Whether aTarget is known to be missing.
  bool Contains(std::string_view aTarget) const;
  // aTarget may exist from now on (it is being extracted).
  void Remove(std::string_view aTarget);

 private:
  std::optional<std::size_t> Find(std::string_view aTarget) const;

  TTargetAt fTargetAt;
  std::vector<std::uint32_t> fEntries;  // the entry of each target, in the order added
  std::vector<bool> fRemoved;           // by the same position
  TNameIndex fIndex;                    // positions in fEntries by target
};

}  // namespace vek
