#include "language/LanguageTable.h"

namespace vek {

bool TLanguageTable::Open(std::string_view aBytes) {
  Close();
  fOpen = DecodeLanguageTable(aBytes, fData) && BuildIndexes();
  if (!fOpen) Close();
  return fOpen;
}

void TLanguageTable::Close() {
  fOpen = false;
  fData = {};
  fIdIndex.clear();
  fNameIndex.clear();
}

bool TLanguageTable::BuildIndexes() {
  for (std::size_t i = 0; i < fData.fCodes.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (SameText(fData.fCodes[i], fData.fCodes[j])) return false;
    }
  }
  for (std::size_t row = 0; row < fData.fRows.size(); ++row) {
    if (!fIdIndex.emplace(fData.fRows[row].fID, row).second) return false;
    if (!fNameIndex.emplace(fData.fRows[row].fName, row).second) return false;
  }
  return true;
}

int TLanguageTable::ColumnOf(std::string_view aCode) const {
  for (std::size_t i = 0; i < fData.fCodes.size(); ++i) {
    if (SameText(fData.fCodes[i], aCode)) return static_cast<int>(i);
  }
  return -1;
}

const TLanguageRow* TLanguageTable::RowById(std::int32_t aId) const {
  const auto found = fIdIndex.find(aId);
  return found == fIdIndex.end() ? nullptr : &fData.fRows[found->second];
}

const TLanguageRow* TLanguageTable::RowByName(std::string_view aName) const {
  const auto found = fNameIndex.find(aName);
  return found == fNameIndex.end() ? nullptr : &fData.fRows[found->second];
}

}  // namespace vek
