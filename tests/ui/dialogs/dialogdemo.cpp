// Shows one of the installer's dialogs, for the window tests to operate from outside.
//   dialogdemo [--lang CODE] [--owner] message --caption C --message M [--type N]
//              [--buttons "A|B|C"] [--check C] [--checked]
// --lang selects the language of the texts (as setup.exe's /L does), --owner first opens a
// window that owns the dialog. Prints "answer=N checked=0|1" and exits with the answer.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "language/LanguageText.h"
#include "system/WinText.h"
#include "ui/Msgdlg.h"

namespace {

std::map<std::wstring, std::wstring> Options(int aCount, wchar_t** aArgs, int aFirst) {
  std::map<std::wstring, std::wstring> options;
  for (int i = aFirst; i < aCount; ++i) {
    const std::wstring name = aArgs[i];
    const bool flag = name == L"--checked" || name == L"--owner";
    options[name] = flag || i + 1 >= aCount ? L"1" : aArgs[++i];
  }
  return options;
}

std::vector<std::string> Split(const std::string& aList) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t bar = aList.find('|'); bar != std::string::npos; bar = aList.find('|', start)) {
    parts.push_back(aList.substr(start, bar - start));
    start = bar + 1;
  }
  parts.push_back(aList.substr(start));
  return parts;
}

// A plain window standing in for the wizard: the owner of the dialogs.
HWND OpenOwner() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"VekDemoOwner";
  ::RegisterClassW(&windowClass);
  HWND owner = ::CreateWindowExW(0, L"VekDemoOwner", L"Dialog owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                 500, 380, nullptr, nullptr, windowClass.hInstance, nullptr);
  ::UpdateWindow(owner);
  return owner;
}

}  // namespace

int wmain(int aCount, wchar_t** aArgs) {
  int first = 1;
  std::map<std::wstring, std::wstring> global;
  while (first < aCount && aArgs[first][0] == L'-') {
    const std::wstring name = aArgs[first++];
    global[name] = name == L"--lang" && first < aCount ? aArgs[first++] : L"1";
  }
  if (first >= aCount) {
    std::fputs("usage: dialogdemo [--lang CODE] [--owner] message --caption C --message M ...\n", stderr);
    return -1;
  }
  vek::OpenLanguageTable();
  if (global.count(L"--lang")) vek::SelectLanguage(vek::Narrow(global[L"--lang"]));
  HWND owner = global.count(L"--owner") ? OpenOwner() : nullptr;
  (void)owner;

  const std::wstring command = aArgs[first];
  auto options = Options(aCount, aArgs, first + 1);
  if (command != L"message") return -1;
  const std::string buttons = vek::Narrow(options[L"--buttons"]);
  bool checked = options.count(L"--checked") != 0;
  const int type = options.count(L"--type") ? std::stoi(options[L"--type"]) : vek::mtInformation;
  const int answer = vek::ShowMessageDialog(vek::Narrow(options[L"--caption"]), vek::Narrow(options[L"--message"]),
                                            type, buttons.empty() ? std::vector<std::string>{} : Split(buttons),
                                            vek::Narrow(options[L"--check"]), &checked);
  std::printf("answer=%d checked=%d\n", answer, checked ? 1 : 0);
  return answer;
}
