#include "language/EnglishTexts.h"

#include <algorithm>
#include <iterator>

namespace vek {
namespace {

struct EnglishRow {
  int id;
  const char* text;
};

// Generated at build time from veklang.tsv, sorted by ID.
constexpr EnglishRow kEnglishRows[] = {
#include "language/VeklangEnglish.inc"
};

}  // namespace

std::string_view BuiltInEnglishText(int aId) {
  const auto* found = std::lower_bound(std::begin(kEnglishRows), std::end(kEnglishRows), aId,
                                       [](const EnglishRow& aRow, int aValue) { return aRow.id < aValue; });
  return found != std::end(kEnglishRows) && found->id == aId ? found->text : std::string_view();
}

}  // namespace vek
