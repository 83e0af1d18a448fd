#pragma once
// The opened language table in memory: the rows in their stored order and the two indexes,
// by ID (unique) and by Name (unique without regard to case).
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "base/CaseMap.h"
#include "language/LanguageTableFormat.h"

namespace vek {

class TLanguageTable {
 public:
  // Replaces the content with the table in aBytes. A damaged table, or one whose IDs or names
  // are not unique, leaves the table closed and empty.
  bool Open(std::string_view aBytes);
  void Close();
  bool IsOpen() const { return fOpen; }

  // The column named aCode (without regard to case), or -1.
  int ColumnOf(std::string_view aCode) const;
  const TLanguageRow* RowById(std::int32_t aId) const;
  const TLanguageRow* RowByName(std::string_view aName) const;
  const TLanguageTableData& Data() const { return fData; }

 private:
  bool BuildIndexes();

  bool fOpen = false;
  TLanguageTableData fData;
  std::map<std::int32_t, std::size_t> fIdIndex;
  std::map<std::string, std::size_t, TextLess> fNameIndex;
};

}  // namespace vek
