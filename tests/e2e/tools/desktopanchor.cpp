// Keeps the test prefix's desktop open for as long as its Wine server runs.
//
// The Wine server closes a desktop one second after its last program left it, and the desktop
// process (explorer.exe /desktop) ends. The next program that uses the screen then starts a new
// desktop process, which inherits that program's standard streams: a test run by ctest, whose
// program ended long ago, stays "running" until the desktop process ends too, which is when
// other tests stop using the screen, or never within the test's time limit. tools/wine-run
// starts this program detached from every stream when it brings the prefix up: its hidden
// window makes it a user of the desktop, so the desktop is never left empty and never closes.
// It ends with the server (wineserver -k ends every program of the prefix).
#include <windows.h>

namespace {

LRESULT CALLBACK AnchorProc(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam) {
  if (aMessage == WM_CLOSE) return 0;  // the window is the anchor: it does not close
  return ::DefWindowProcW(aWindow, aMessage, aWParam, aLParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE aInstance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = AnchorProc;
  windowClass.hInstance = aInstance;
  windowClass.lpszClassName = L"VekDesktopAnchor";
  if (!::RegisterClassW(&windowClass)) return 1;
  // Never shown: the tests look only at visible windows.
  if (!::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr,
                         aInstance, nullptr)) {
    return 1;
  }
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  return 0;
}
