#pragma once
// What the sub-option form edits: a working copy of one main option's sub-options, the
// running total of the selected sizes, and the rules of its buttons. Nothing reaches the main
// option until WriteBack, so a cancelled form leaves it as it was.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/InstallOptions.h"

namespace vek {

// Whether every ";"-separated pattern of aPatterns is a name a file could have once its
// wildcards are filled in: no control characters and none of < > : " / \ |, no name that ends
// in a space, nothing but dots. Empty parts between two ";" are skipped, but a list
// without any pattern installs nothing and is refused.
bool IsValidPatternList(const std::string& aPatterns);

class TSubOptionSelection {
 public:
  // Copies the sub-options of aOption; the total starts at aInstallsize, the whole selection.
  TSubOptionSelection(const TMainOption& aOption, std::int64_t aInstallsize);

  std::size_t Count() const { return fWork.Count(); }
  // The copy of sub-option aRow (below Count()).
  const TSubOption& Item(std::size_t aRow) const { return *fWork.ItemAs<TSubOption>(aRow); }
  std::int64_t Total() const { return fTotal; }

  // Selects an unselected row (all files or a subset, by its patterns) or clears a selected one.
  void Toggle(std::size_t aRow);
  // Every unselected row: 1 when its patterns are exactly "*.*", else 2.
  void SelectAll();
  void ClearAll();
  // Gives row aRow the pattern list aPatterns; a selected row becomes 1 or 2 by it. False, and
  // nothing changed, when the list is not valid. The total stays: the size of a subset is not
  // known, its row shows the whole size as an upper bound.
  bool SetFiles(std::size_t aRow, const std::string& aPatterns);
  // Replaces the sub-options of aOption by copies of the working list.
  void WriteBack(TMainOption& aOption) const;

 private:
  TSubOption& Row(std::size_t aRow) { return *fWork.ItemAs<TSubOption>(aRow); }
  void Select(TSubOption& aSub, int aState);
  void Clear(TSubOption& aSub);

  TOptionList fWork;
  std::int64_t fTotal = 0;
};

// The texts of one row of the form: the caption, with the patterns in parentheses when they
// select a subset, and the size in kilobytes with " Kb", after "<" for a subset.
struct TSubOptionRowText {
  std::string Caption;
  std::string Size;
};
TSubOptionRowText SubOptionRowText(const TSubOption& aSub, const std::string& aCaption,
                                   const std::string& aDecimalSeparator);

}  // namespace vek
