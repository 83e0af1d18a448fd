/* A library planted by the tests under a system library's name, as an attacker would leave it
   in a download folder: when any process loads it, it appends its own path to
   "planted-loads.txt" in its folder (UTF-16, one path a line). Its exports, given by the test
   in a .def file, all lead to one function that does nothing, so that a program that imports
   it still starts and the load is seen. */
#include <windows.h>

static void RecordLoad(HINSTANCE aInstance) {
  wchar_t path[MAX_PATH + 1];
  wchar_t marker[MAX_PATH + 32];
  const DWORD length = GetModuleFileNameW(aInstance, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  lstrcpyW(marker, path);
  wchar_t* name = marker;
  for (wchar_t* at = marker; *at; ++at) {
    if (*at == L'\\') name = at + 1;
  }
  lstrcpyW(name, L"planted-loads.txt");
  HANDLE file = CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  path[length] = L'\n';
  DWORD written = 0;
  WriteFile(file, path, (length + 1) * sizeof(wchar_t), &written, NULL);
  CloseHandle(file);
}

BOOL WINAPI PlantedMain(HINSTANCE aInstance, DWORD aReason, LPVOID aReserved) {
  (void)aReserved;
  if (aReason == DLL_PROCESS_ATTACH) RecordLoad(aInstance);
  return TRUE;
}

int PlantedExport(void) { return 0; }
