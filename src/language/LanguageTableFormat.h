#pragma once
// The VEKLANG resource: the language table in the compact form that tools/veklang.py writes
// and setup.exe carries (layout in docs/LANGUAGE-TABLE.md). Decoding checks every length
// against the bytes and the checksum over them, so damaged data is refused as a whole.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

struct TLanguageRow {
  std::int32_t fID = 0;
  std::string fName;
  std::vector<std::string> fTexts;  // one per language column, in column order
};

struct TLanguageTableData {
  std::vector<std::string> fCodes;  // language column names, upper case
  std::vector<TLanguageRow> fRows;  // in the order they were written
};

// Decodes the bytes into aTable. False, with aTable empty, when the bytes are not a complete,
// undamaged table of this format.
bool DecodeLanguageTable(std::string_view aBytes, TLanguageTableData& aTable);

}  // namespace vek
