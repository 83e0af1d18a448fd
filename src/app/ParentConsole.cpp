#include "app/ParentConsole.h"

#include <windows.h>

#include "system/UniqueResource.h"
#include "system/WinText.h"

namespace vek {
namespace {

// A redirected standard output (a pipe or a file) takes the text as UTF-8 bytes.
bool WriteToRedirectedOutput(const std::string& aText) {
  const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return false;
  const DWORD type = ::GetFileType(out);
  if (type != FILE_TYPE_PIPE && type != FILE_TYPE_DISK) return false;
  DWORD written = 0;
  return ::WriteFile(out, aText.data(), static_cast<DWORD>(aText.size()), &written, nullptr) != 0;
}

}  // namespace

void WriteToParentConsole(const std::string& aText) {
  if (WriteToRedirectedOutput(aText)) return;
  // A program of the window subsystem has no console of its own; it borrows its parent's for
  // as long as it writes.
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  {
    const UniqueFileHandle console(::CreateFileW(
        L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (console) {
      // The prompt has usually come back already: the help starts on a line of its own.
      const std::wstring text = L"\r\n" + Wide(aText);
      DWORD written = 0;
      ::WriteConsoleW(console.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
  }
  ::FreeConsole();
}

}  // namespace vek
