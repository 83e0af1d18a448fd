#pragma once
// Finds items by name without regard to case, for lists of many named items (the keys of a
// script section, the files of a cleanup record).
//
// The index holds no names, only positions in the owner's list: an open-addressing table of
// 32-bit numbers, at most half full, found by the hash of the upper-cased name, 4 to 8 bytes an
// item. A map from name copies to positions cost a tree node and a string per item, several
// times the names themselves in a file of tens of thousands of lines. The owner passes a
// function that gives the name at a position.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "base/CaseMap.h"

namespace vek {

class TNameIndex {
 public:
  // The position of the item named aName, or none.
  template <typename NameAt>
  std::optional<std::size_t> Find(std::string_view aName, const NameAt& aNameAt) const {
    if (fSlots.empty()) return std::nullopt;
    const std::size_t mask = fSlots.size() - 1;
    for (std::size_t slot = NameHash(aName) & mask; fSlots[slot] != 0; slot = (slot + 1) & mask) {
      const std::size_t position = fSlots[slot] - 1;
      if (SameText(aNameAt(position), aName)) return position;
    }
    return std::nullopt;
  }

  // Adds the item at aPosition, whose name is not in the index yet.
  template <typename NameAt>
  void Add(std::size_t aPosition, const NameAt& aNameAt) {
    if (2 * (fCount + 1) > fSlots.size()) {
      std::vector<std::uint32_t> old(fSlots.empty() ? 8 : 2 * fSlots.size(), 0);
      old.swap(fSlots);
      for (const std::uint32_t entry : old) {
        if (entry != 0) Place(entry - 1, NameHash(aNameAt(entry - 1)));
      }
    }
    Place(aPosition, NameHash(aNameAt(aPosition)));
    ++fCount;
  }

 private:
  static std::size_t NameHash(std::string_view aName);
  void Place(std::size_t aPosition, std::size_t aHash);

  std::vector<std::uint32_t> fSlots;  // position + 1; 0 is a free slot
  std::size_t fCount = 0;
};

}  // namespace vek
