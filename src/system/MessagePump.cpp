#include "system/MessagePump.h"

#include <windows.h>

namespace vek {

void ProcessPendingMessages() {
  // Loops call this per file; asking the window system for messages costs a round trip (a
  // server call under Wine), so the queue is looked at no more than every 20 ms, still far
  // quicker than a person presses a button.
  static ULONGLONG lastPump = 0;
  const ULONGLONG now = ::GetTickCount64();
  if (now - lastPump < 20) return;
  lastPump = now;
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    // Keys reach the active window's dialog manager as in the main loop: Tab, Enter, Esc and
    // accelerators keep working while the work runs.
    const HWND active = ::GetActiveWindow();
    if (active && ::IsDialogMessageW(active, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace vek
