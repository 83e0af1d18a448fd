// setup.exe: hands over to the start-up at once; nothing is parsed here.
#include <windows.h>

#include "app/Startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return vek::RunSetup(); }
