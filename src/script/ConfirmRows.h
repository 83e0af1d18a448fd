#pragma once
// The rows of the confirmation list: each selected main option, followed by its selected
// sub-options. A row's item text names what it shows, "i" for main option i and "i.j" for its
// sub-option j, so that the list keeps readable strings for screen readers and test drivers
// while the drawing looks the options up.
#include <optional>
#include <string>
#include <vector>

#include "script/InstallOptions.h"

namespace vek {

struct TConfirmRow {
  std::size_t Main = 0;
  std::optional<std::size_t> Sub;  // none: the row of the main option
};

std::vector<std::string> ConfirmRowTexts(const TMainOptionList& aOptions);

// The row an item text names; none for a text that is not "i" or "i.j" in decimal.
std::optional<TConfirmRow> ParseConfirmRow(const std::string& aText);

}  // namespace vek
