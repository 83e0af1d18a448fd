// Fuzzes the reading of the language table resource: the input is the table's bytes as the
// program would carry them. Opening may fail; it must never read outside the bytes, and an
// opened table must answer every lookup.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "language/LanguageTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize) {
  vek::TLanguageTable table;
  if (!table.Open(std::string_view(reinterpret_cast<const char*>(aData), aSize))) return 0;
  for (const char* code : {"UK", "de", "XX"}) (void)table.ColumnOf(code);
  for (const std::int32_t id : {0, 2, 10, 109, 1000, -1}) (void)table.RowById(id);
  for (const char* name : {"contr_Cancel", "LOADINIF_0", ""}) (void)table.RowByName(name);
  return 0;
}
