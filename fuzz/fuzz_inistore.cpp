// Fuzzes the script store: the input is a whole script file in any encoding. Every section is
// read by key and as lines, every value as a number and as a list. Any crash, sanitizer
// report, hang or large allocation here is a defect of the store.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/IniStore.h"
#include "script/ScriptEncoding.h"
#include "script/ScriptList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize) {
  using namespace vek;
  const std::string_view bytes(reinterpret_cast<const char*>(aData), aSize);
  const TIniStore store = TIniStore::FromText(DecodeScriptBytes(bytes, nullptr));
  for (const TIniSection& section : store.Sections()) {
    // Only the first section of a name is read; every key line in it must be found.
    const bool first = store.FindSection(section.Name()) == &section;
    for (const TIniLine& line : section.Lines()) {
      if (first && line.HasValue && section.FindKey(line.Name) == nullptr) __builtin_trap();
      (void)store.ReadInteger(section.Name(), line.Name, 0);
      (void)SplitScriptList(line.Value);
    }
    (void)store.SectionLines(section.Name());
  }
  (void)store.SectionNames();
  return 0;
}
