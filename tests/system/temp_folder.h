#pragma once
// A folder of its own in the Windows temporary folder for one test, removed with everything in
// it (read-only files included) when the test ends.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "system/Files.h"
#include "system/PathText.h"
#include "system/WinText.h"

namespace vek::test {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    fPath = GetTempDir() + "vek-system-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(counter++);
    if (!ForceDirectories(fPath).ok()) fPath.clear();
  }
  ~TempFolder() {
    if (fPath.empty()) return;
    std::error_code error;
    const std::filesystem::path root(Wide(fPath));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
      ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(root, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return fPath; }
  std::string File(const std::string& aName) const { return JoinPath(fPath, aName); }

 private:
  std::string fPath;
};

}  // namespace vek::test
