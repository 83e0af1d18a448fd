// A helper program for the end-to-end tests, run under Wine next to setup.exe.
//   e2etool hold <file> <release-file>   opens <file> without sharing, creates <file>.held, and
//                                        keeps the file open until <release-file> exists (at most
//                                        two minutes)
//   e2etool holdread <file> <release-file>   the same, but others may still read the file, as
//                                        with a program library in use: its version can be read,
//                                        it cannot be replaced
//   e2etool runonce                      does what the next logon does: runs every command of the
//                                        current user's RunOnce key (deleting its value first,
//                                        as the system does) and waits for each
//   e2etool ini <file>                   prints every section and key of an INI file as the
//                                        system's profile functions read it: "[section]" lines
//                                        and "key=value" lines, UTF-8
//   e2etool attrib <file>...             prints the attributes of each file as eight hex digits
//                                        and the name ("-" for a file that is not there)
//   e2etool setattrib <hex> <file>       sets the attributes of the file
//   e2etool drivetype <root>             prints the type of the drive ("X:\\") as the system
//                                        gives it (3 fixed disk, 5 CD-ROM)
//   e2etool exitcode <program> [args]    runs the program, waits for it and prints its whole
//                                        exit code on stderr ("e2etool: exit code N"): the code
//                                        Wine hands to Linux keeps only its low eight bits
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& aText) {
  if (aText.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, aText.data(), static_cast<int>(aText.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, aText.data(), static_cast<int>(aText.size()), out.data(), size, nullptr,
                        nullptr);
  return out;
}

// A list of NUL-terminated strings ending with an empty one.
std::vector<std::wstring> SplitList(const std::vector<wchar_t>& aBuffer) {
  std::vector<std::wstring> items;
  for (const wchar_t* p = aBuffer.data(); *p != L'\0'; p += wcslen(p) + 1) items.emplace_back(p);
  return items;
}

std::vector<wchar_t> ReadList(const std::wstring& aFile, const wchar_t* aSection) {
  std::vector<wchar_t> buffer(1 << 16);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = aSection
                             ? ::GetPrivateProfileSectionW(aSection, buffer.data(), size, aFile.c_str())
                             : ::GetPrivateProfileSectionNamesW(buffer.data(), size, aFile.c_str());
    if (length < size - 2) return buffer;
    buffer.resize(buffer.size() * 2);
  }
}

int PrintIni(const std::wstring& aFile) {
  for (const std::wstring& section : SplitList(ReadList(aFile, nullptr))) {
    std::printf("[%s]\n", Utf8(section).c_str());
    for (const std::wstring& line : SplitList(ReadList(aFile, section.c_str()))) {
      std::printf("%s\n", Utf8(line).c_str());
    }
  }
  return 0;
}

int Hold(const std::wstring& aFile, const std::wstring& aRelease, DWORD aShare) {
  HANDLE file = ::CreateFileW(aFile.c_str(), GENERIC_READ, aShare, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  HANDLE marker = ::CreateFileW((aFile + L".held").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (marker != INVALID_HANDLE_VALUE) ::CloseHandle(marker);
  for (int i = 0; i < 1200 && ::GetFileAttributesW(aRelease.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(100);
  ::CloseHandle(file);
  return 0;
}

int RunOnce() {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0,
                      KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) {
    return 0;
  }
  std::vector<std::pair<std::wstring, std::wstring>> commands;
  wchar_t name[256];
  wchar_t data[4096];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = 256;
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    if (::RegEnumValueW(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
        ERROR_SUCCESS) {
      break;
    }
    if (type == REG_SZ) commands.emplace_back(name, std::wstring(data, dataSize / sizeof(wchar_t)).c_str());
  }
  int failures = 0;
  for (auto& [valueName, command] : commands) {
    ::RegDeleteValueW(key, valueName.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      ++failures;
      continue;
    }
    ::WaitForSingleObject(info.hProcess, INFINITE);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
  }
  ::RegCloseKey(key);
  return failures;
}

int PrintAttributes(const std::vector<std::wstring>& aFiles) {
  for (const std::wstring& file : aFiles) {
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      std::printf("- %s\n", Utf8(file).c_str());
    } else {
      std::printf("%08lX %s\n", static_cast<unsigned long>(attributes), Utf8(file).c_str());
    }
  }
  return 0;
}

int SetAttributes(const std::wstring& aHex, const std::wstring& aFile) {
  const DWORD attributes = static_cast<DWORD>(std::wcstoul(aHex.c_str(), nullptr, 16));
  return ::SetFileAttributesW(aFile.c_str(), attributes) ? 0 : 2;
}

int PrintDriveType(const std::wstring& aRoot) {
  std::printf("%u\n", ::GetDriveTypeW(aRoot.c_str()));
  return 0;
}

// One argument of a command line, quoted so that the program's start-up code splits it back
// into the same text: backslashes count only before a quote.
std::wstring QuotedArgument(const std::wstring& aArg) {
  if (!aArg.empty() && aArg.find_first_of(L" \t\"") == std::wstring::npos) return aArg;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : aArg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

int PrintExitCode(const std::vector<std::wstring>& aCommand) {
  std::wstring line;
  for (const std::wstring& arg : aCommand) line += (line.empty() ? L"" : L" ") + QuotedArgument(arg);
  std::vector<wchar_t> buffer(line.begin(), line.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(aCommand[0].c_str(), buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
    std::fprintf(stderr, "e2etool: cannot start %s, error %lu\n", Utf8(aCommand[0]).c_str(), ::GetLastError());
    return 125;
  }
  ::CloseHandle(process.hThread);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hProcess);
  std::fflush(stdout);
  std::fprintf(stderr, "e2etool: exit code %lu\n", static_cast<unsigned long>(code));
  return static_cast<int>(code);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == L"hold") return Hold(args[1], args[2], 0);
  if (args.size() == 3 && args[0] == L"holdread") return Hold(args[1], args[2], FILE_SHARE_READ);
  if (args.size() == 2 && args[0] == L"ini") return PrintIni(args[1]);
  if (args.size() == 1 && args[0] == L"runonce") return RunOnce();
  if (args.size() >= 2 && args[0] == L"attrib") return PrintAttributes({args.begin() + 1, args.end()});
  if (args.size() == 3 && args[0] == L"setattrib") return SetAttributes(args[1], args[2]);
  if (args.size() == 2 && args[0] == L"drivetype") return PrintDriveType(args[1]);
  if (args.size() >= 2 && args[0] == L"exitcode") return PrintExitCode({args.begin() + 1, args.end()});
  std::fprintf(stderr,
               "usage: e2etool hold|holdread <file> <release-file> | ini <file> | runonce | attrib <file>... | "
               "setattrib <hex> <file> | drivetype <root> | exitcode <program> [args]\n");
  return 1;
}
