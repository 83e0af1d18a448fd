#pragma once
// The selection rules of the options page: what a toggle of a main option does to its
// sub-options and to the running total, how a changed folder resets the sub-options' folders,
// and how sizes are written in kilobytes. The page calls these and only draws the result.
#include <cstdint>
#include <string>

#include "script/InstallOptions.h"

namespace vek {

// The State a sub-option gets when it is selected: 1 when its pattern list takes every file
// ("*.*" somewhere in it), else 2 (a subset, shown as partly selected).
int SelectedStateFor(const std::string& aFiles);

// aTotal - aTake, never below 0 (a total held at the largest count cannot be taken apart).
std::int64_t SubtractSize(std::int64_t aTotal, std::int64_t aTake);

enum class TToggleOutcome {
  None,              // an option without sub-options: nothing to select
  Selected,          // its only sub-option was selected
  Cleared,           // every sub-option was cleared
  OpenSubOptions,    // nothing was selected and there are several: the user picks them in the form
};

// A click in the check column (or Enter) on option aOption. aInstallsize follows the change.
TToggleOutcome ToggleMainOption(TMainOption& aOption, std::int64_t& aInstallsize);

// After the sub-option form changed aOption: the total without the option's old size and
// with its new one.
std::int64_t ResizedTotal(std::int64_t aInstallsize, std::int64_t aOldSize, const TMainOption& aOption);

// The user named folder aPath for aOption. When it differs (ignoring case) from the option's
// Path, Path takes it and every sub-option loses its folder alias, so that its folder is
// computed from the new Path again. True when something changed.
bool ChangeOptionPath(TMainOption& aOption, const std::string& aPath);

// aBytes / 1024 with one decimal ("0.0"), rounded half away from zero, with aDecimalSeparator.
std::string FormatKb(std::int64_t aBytes, const std::string& aDecimalSeparator);

}  // namespace vek
