#pragma once
// The base of every record of the script that lives in a list (options, sub-options, commands)
// and the list that owns them.
#include <cstddef>
#include <memory>
#include <vector>

namespace vek {

// Base of every record kept in an option list.
class TOptionItem {
 public:
  TOptionItem() = default;
  TOptionItem(const TOptionItem&) = default;
  TOptionItem& operator=(const TOptionItem&) = default;
  virtual ~TOptionItem() = default;
  // A new record with the same content; records that cannot be copied give none.
  virtual std::unique_ptr<TOptionItem> Copy() const { return nullptr; }
};

// An owning list of records.
class TOptionList {
 public:
  TOptionList() = default;
  TOptionList(const TOptionList&) = delete;
  TOptionList& operator=(const TOptionList&) = delete;
  TOptionList(TOptionList&&) = default;
  TOptionList& operator=(TOptionList&&) = default;
  virtual ~TOptionList() = default;

  void Clear() { fItems.clear(); }
  // Clears the list, then appends a copy of every item of aOptionList that can be copied.
  void Assign(const TOptionList& aOptionList);
  std::size_t Count() const { return fItems.size(); }
  // aIndex below Count().
  TOptionItem& operator[](std::size_t aIndex) const { return *fItems.at(aIndex); }
  // The item as a T, or null when it is another kind of record.
  template <typename T>
  T* ItemAs(std::size_t aIndex) const {
    return dynamic_cast<T*>(fItems.at(aIndex).get());
  }
  // Takes ownership; a null item is ignored.
  void Add(std::unique_ptr<TOptionItem> aItem);

 private:
  std::vector<std::unique_ptr<TOptionItem>> fItems;
};

}  // namespace vek
