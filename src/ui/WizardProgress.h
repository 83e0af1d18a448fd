#pragma once
// The wizard's progress bar and file label as the progress monitor sees them.
#include <windows.h>

#include "archive/ProgressMonitor.h"

namespace vek {

class TProgressBarControl : public IProgressBar {
 public:
  explicit TProgressBarControl(HWND aBar) : fBar(aBar) {}
  bool SetMax(int aMax) override;
  std::optional<int> Max() const override;
  void SetMin(int aMin) override;
  std::optional<int> Min() const override;
  void SetPosition(int aPosition) override;
  std::optional<int> Position() const override;
  // Moves the bar to its maximum, or one step on.
  void Fill() const;
  void Step() const;

 private:
  HWND fBar;
};

// A static control that shows a path shortened to its width.
class TFileLabelControl : public IFileLabel {
 public:
  explicit TFileLabelControl(HWND aLabel) : fLabel(aLabel) {}
  void SetCaption(const std::string& aCaption) override;

 private:
  HWND fLabel;
};

// aPath shortened with an ellipsis in the middle so that it fits aLabel's width in its font.
std::string ShortenedForLabel(HWND aLabel, const std::string& aPath);

// What the wizard hands to the engine's progress monitor.
class TWizardProgress {
 public:
  TWizardProgress(HWND aBar, HWND aFileLabel) : Bar(aBar), FileLabel(aFileLabel) {}
  TProgressBarControl Bar;
  TFileLabelControl FileLabel;
};

}  // namespace vek
