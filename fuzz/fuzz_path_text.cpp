// Fuzzes the path texts with arbitrary path bytes: every function must give a defined text
// without reading outside its input, and fitting a path to a width must end.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "system/PathText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize) {
  using namespace vek;
  if (aSize == 0) return 0;
  const long width = aData[0];
  const std::string_view path(reinterpret_cast<const char*>(aData) + 1, aSize - 1);
  (void)ExtractDriveOrShare(path);
  for (int kind = -1; kind <= 5; ++kind) (void)FilePart(kind, path);
  (void)TextBeforeOrAfter(path, true, '\\');
  (void)JoinPath(path, path);
  (void)ExtractFileDir(path);
  (void)ChangeFileExt(path, ".ini");
  const std::string fitted =
      FitPathToWidth(path, [](std::string_view aText) { return static_cast<long>(aText.size()); }, width);
  if (fitted.size() > path.size() + 4) __builtin_trap();  // never longer than the path and "..."
  return 0;
}
