#include <memory>

#include "base/CaseMap.h"
#include "language/LanguageText.h"
#include "language/RSLanguage.h"
#include "system/Resource.h"

namespace vek {
namespace {

constexpr char kResourceName[] = "VEKLANG";
constexpr char kDefaultLangCode[] = "UK";

}  // namespace

bool OpenLanguageTable() {
  if (!HasRawResource(kResourceName)) return false;
  auto table = std::make_unique<TRSLanguage>(kResourceName, kDefaultLangCode);
  table->load(UpperCase(CurrentLanguageCode()));
  // A damaged resource does not open; the English column compiled into the program serves.
  if (!table->IsOpen()) return false;
  InstallLanguageTable(std::move(table));
  return true;
}

}  // namespace vek
