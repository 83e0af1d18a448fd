#pragma once
// One section of the cleanup record: its keys and values in the order they were first written,
// keys compared without regard to case.
//
// A record names every file an installation made, so a section may hold tens of thousands of
// keys and is held compactly: its keys and values are one block of text and each entry is two
// places in it (a string pair per key cost several times the names). A value replaced later is
// appended; the old text stays until the section goes, which costs little, as values seldom
// change.
//
// Keys are found through a TNameIndex of entry positions: an install looks up every key it
// writes, and a record read back merges keys that occur twice.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/NameIndex.h"

namespace vek {

class TRecordSection {
 public:
  explicit TRecordSection(std::string aName) : fName(std::move(aName)) {}

  const std::string& Name() const { return fName; }
  std::size_t Size() const { return fEntries.size(); }
  std::string_view Key(std::size_t aPosition) const;
  std::string_view Value(std::size_t aPosition) const;
  // The position of aKey, or none.
  std::optional<std::size_t> Find(std::string_view aKey) const;
  // Sets the value of aKey, adding the key at the end when it is new.
  void Set(std::string_view aKey, std::string_view aValue);

 private:
  struct TEntry {
    std::uint32_t keyAt, keyLength, valueAt, valueLength;
  };
  std::uint32_t Append(std::string_view aPart);
  auto KeyAt() const {
    return [this](std::size_t aPosition) { return Key(aPosition); };
  }

  std::string fName;
  std::string fText;
  std::vector<TEntry> fEntries;
  TNameIndex fIndex;
};

}  // namespace vek
