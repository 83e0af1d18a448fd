// The floor of the installer benchmark: writes the payload's files from memory and nothing else
// (no pack, no inflate, no check sum, no record, no window), so that its time under Wine is the
// least any installer can take for the same tree.
//   vekfloor.exe MANIFEST BLOB TARGET
// MANIFEST holds one line per file, "size<TAB>hash<TAB>name" with `/` between folders, in the
// order of the files' bytes in BLOB; BLOB is mapped into memory, not read, and every file is
// written with one call per 64 MiB. Exit code 0 when every file was written, 1 otherwise.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr std::uint64_t kMaxWrite = 64ull << 20;

struct HandleCloser {
  void operator()(void* aHandle) const { CloseHandle(aHandle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct ViewUnmapper {
  void operator()(const void* aView) const { UnmapViewOfFile(aView); }
};
using View = std::unique_ptr<const void, ViewUnmapper>;

std::wstring Wide(const std::string& aText) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, aText.data(), static_cast<int>(aText.size()), nullptr, 0);
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, aText.data(), static_cast<int>(aText.size()), result.data(), length);
  return result;
}

// Creates every folder on the way to the file (the ones that exist already fail harmlessly).
void CreateFoldersOf(const std::wstring& aPath) {
  for (std::size_t slash = aPath.find(L'\\', 3); slash != std::wstring::npos; slash = aPath.find(L'\\', slash + 1)) {
    CreateDirectoryW(aPath.substr(0, slash).c_str(), nullptr);
  }
}

bool WriteWhole(const std::wstring& aPath, const char* aData, std::uint64_t aSize) {
  Handle file(CreateFileW(aPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return false;
  }
  for (std::uint64_t done = 0; done < aSize;) {
    const auto piece = static_cast<DWORD>(aSize - done < kMaxWrite ? aSize - done : kMaxWrite);
    DWORD written = 0;
    if (!WriteFile(file.get(), aData + done, piece, &written, nullptr) || written != piece) return false;
    done += piece;
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fputs("usage: vekfloor.exe MANIFEST BLOB TARGET\n", stderr);
    return 1;
  }
  std::ifstream manifest(argv[1], std::ios::binary);
  Handle blob(CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!manifest || blob.get() == INVALID_HANDLE_VALUE) {
    if (blob.get() == INVALID_HANDLE_VALUE) blob.release();
    std::fputs("vekfloor: cannot open the manifest or the blob\n", stderr);
    return 1;
  }
  Handle mapping(CreateFileMappingW(blob.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  View view(mapping ? MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0) : nullptr);
  if (!view) {
    std::fputs("vekfloor: cannot map the blob\n", stderr);
    return 1;
  }
  const auto* data = static_cast<const char*>(view.get());
  const std::wstring target = argv[3];
  std::uint64_t offset = 0;
  std::string line;
  while (std::getline(manifest, line)) {
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = line.find('\t', tab1 + 1);
    if (tab1 == std::string::npos || tab2 == std::string::npos) continue;
    const std::uint64_t size = std::stoull(line.substr(0, tab1));
    std::wstring path = target + L"\\" + Wide(line.substr(tab2 + 1));
    for (wchar_t& c : path) {
      if (c == L'/') c = L'\\';
    }
    CreateFoldersOf(path);
    if (!WriteWhole(path, data + offset, size)) {
      std::fprintf(stderr, "vekfloor: cannot write %s\n", line.substr(tab2 + 1).c_str());
      return 1;
    }
    offset += size;
  }
  return 0;
}
