#include "system/ErrorMode.h"

#include <windows.h>

namespace vek {

QuietErrorMode::QuietErrorMode() {
  const DWORD quiet = ::GetThreadErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
  DWORD previous = 0;
  fChanged = ::SetThreadErrorMode(quiet, &previous) != FALSE;
  fPrevious = previous;
}

QuietErrorMode::~QuietErrorMode() {
  if (fChanged) ::SetThreadErrorMode(fPrevious, nullptr);
}

}  // namespace vek
