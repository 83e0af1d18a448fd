// Shows one of the installer's dialogs, for the window tests to operate from outside.
//   dialogdemo [--lang CODE] [--owner] message --caption C (--message M | --message-file F)
//              [--type N] [--buttons "A|B|C"] [--check C] [--checked]
//   dialogdemo [...] ok|yesno|okcancel|retry --caption C --message M [--type N]
//   dialogdemo [...] log [--caption C] --lines "A|B|C"
// --lang selects the language of the texts (as setup.exe's /L does), --owner first opens a
// window that owns the dialogs (the wizard's part). --message-file reads the message (UTF-8)
// from a file, for messages longer than a command line. Prints "answer=N checked=0|1" and
// exits with the answer (the log dialog: 0).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "language/LanguageText.h"
#include "system/Files.h"
#include "system/WinText.h"
#include "ui/LogDialog.h"
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
  std::istringstream in(aList);
  for (std::string part; std::getline(in, part, '|');) parts.push_back(part);
  if (aList.empty() || aList.back() == '|') parts.emplace_back();
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
  if (global.count(L"--owner")) vek::SetDialogOwner(OpenOwner());

  const std::wstring command = aArgs[first];
  auto options = Options(aCount, aArgs, first + 1);
  const std::string caption = vek::Narrow(options[L"--caption"]);
  std::string message = vek::Narrow(options[L"--message"]);
  if (options.count(L"--message-file") && !vek::ReadWholeFile(vek::Narrow(options[L"--message-file"]), message)) {
    return -1;
  }
  const int type = options.count(L"--type") ? std::stoi(options[L"--type"]) : vek::mtInformation;
  int answer = 0;
  bool checked = options.count(L"--checked") != 0;
  if (command == L"message") {
    const std::string buttons = vek::Narrow(options[L"--buttons"]);
    answer = vek::ShowMessageDialog(caption, message, type,
                                    options.count(L"--buttons") ? Split(buttons) : std::vector<std::string>{},
                                    vek::Narrow(options[L"--check"]), &checked);
  } else if (command == L"ok") {
    answer = vek::MessageOk(caption, message, type);
  } else if (command == L"yesno") {
    answer = vek::MessageYesNo(caption, message, type);
  } else if (command == L"okcancel") {
    answer = vek::MessageOkCancel(caption, message, type);
  } else if (command == L"retry") {
    answer = vek::MessageRetryIgnoreAbort(caption, message, type);
  } else if (command == L"log") {
    vek::ShowLogDialog(Split(vek::Narrow(options[L"--lines"])), caption);
  } else {
    return -1;
  }
  std::printf("answer=%d checked=%d\n", answer, checked ? 1 : 0);
  return answer;
}
