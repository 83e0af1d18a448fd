// setup.exe: hands over to the start-up at once; nothing is parsed here.
#include <windows.h>

#include "app/ExitCode.h"
#include "app/Startup.h"
#include "system/SystemLibrary.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // First of all: from here on no library comes from the program's own folder, which may be a
  // download folder or a share that others write to. Without the restriction nothing is safe
  // to load, so nothing is run.
  if (!vek::RestrictLibrarySearch()) return vek::kExitNotCarriedOut;
  return vek::RunSetup();
}
