#include "language/LanguageText.h"

#include <utility>

#include "base/CaseMap.h"
#include "language/EnglishTexts.h"
#include "language/LanguageInterface.h"

namespace vek {
namespace {

// The run's language state; the program has one user-interface thread and no other reader.
struct LanguageState {
  std::unique_ptr<Ilanguages> table;
  std::string code = "uk";
};

LanguageState& State() {
  static LanguageState state;
  return state;
}

}  // namespace

std::string LanguageText(int aId) {
  const LanguageState& state = State();
  if (state.table) return state.table->ls(aId);
  return std::string(BuiltInEnglishText(aId));
}

std::string CurrentLanguageCode() { return State().code; }

bool SelectLanguage(const std::string& aCode) {
  LanguageState& state = State();
  state.code = aCode;
  return state.table && state.table->load(UpperCase(aCode));
}

void InstallLanguageTable(std::unique_ptr<Ilanguages> aTable) {
  LanguageState& state = State();
  if (state.table) state.table->close();
  state.table = std::move(aTable);
  if (state.table) state.table->load(UpperCase(state.code));
}

void CloseLanguageTable() { InstallLanguageTable(nullptr); }

}  // namespace vek
