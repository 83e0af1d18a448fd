#include "ui/WizardProgress.h"

#include <commctrl.h>


#include "system/PathText.h"
#include "system/WinText.h"

namespace vek {

bool TProgressBarControl::SetMax(int aMax) {
  ::SendMessageW(fBar, PBM_SETRANGE32, 0, aMax);
  return Max() == aMax;
}

std::optional<int> TProgressBarControl::Max() const {
  if (!::IsWindow(fBar)) return std::nullopt;
  return static_cast<int>(::SendMessageW(fBar, PBM_GETRANGE, FALSE, 0));
}

void TProgressBarControl::SetMin(int aMin) {
  const int high = Max().value_or(100);
  ::SendMessageW(fBar, PBM_SETRANGE32, static_cast<WPARAM>(aMin), high);
}

std::optional<int> TProgressBarControl::Min() const {
  if (!::IsWindow(fBar)) return std::nullopt;
  return static_cast<int>(::SendMessageW(fBar, PBM_GETRANGE, TRUE, 0));
}

void TProgressBarControl::SetPosition(int aPosition) { ::SendMessageW(fBar, PBM_SETPOS, static_cast<WPARAM>(aPosition), 0); }

std::optional<int> TProgressBarControl::Position() const {
  if (!::IsWindow(fBar)) return std::nullopt;
  return static_cast<int>(::SendMessageW(fBar, PBM_GETPOS, 0, 0));
}

void TProgressBarControl::Fill() const {
  ::SendMessageW(fBar, PBM_SETPOS, static_cast<WPARAM>(::SendMessageW(fBar, PBM_GETRANGE, FALSE, 0)), 0);
}

void TProgressBarControl::Step() const { ::SendMessageW(fBar, PBM_STEPIT, 0, 0); }

std::string ShortenedForLabel(HWND aLabel, const std::string& aPath) {
  RECT area{};
  if (aPath.empty() || !::GetClientRect(aLabel, &area)) return aPath;
  const HDC dc = ::GetDC(aLabel);
  if (!dc) return aPath;
  const HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(aLabel, WM_GETFONT, 0, 0)));
  const auto measure = [dc](std::string_view aText) {
    const std::wstring text = Wide(aText);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<long>(size.cx);
  };
  std::string fitted = FitPathToWidth(aPath, measure, area.right - area.left);
  ::SelectObject(dc, oldFont);
  ::ReleaseDC(aLabel, dc);
  return fitted;
}

void TFileLabelControl::SetCaption(const std::string& aCaption) {
  ::SetWindowTextW(fLabel, Wide(ShortenedForLabel(fLabel, aCaption)).c_str());
}

}  // namespace vek
