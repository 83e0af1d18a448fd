#include "system/StopButton.h"

#include <windows.h>

namespace vek {

bool TakeButtonRelease(void* aButtonWindow) {
  if (!aButtonWindow) return false;
  MSG message;
  return ::PeekMessageW(&message, static_cast<HWND>(aButtonWindow), WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE) != 0;
}

}  // namespace vek
