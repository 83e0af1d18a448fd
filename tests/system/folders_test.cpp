#include "system/Folders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "base/CaseMap.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/WinText.h"

namespace vek {
namespace {

std::optional<std::string> Environment(const std::string& aName) {
  wchar_t buffer[32768];
  const DWORD length = ::GetEnvironmentVariableW(Wide(aName).c_str(), buffer, 32768);
  if (length == 0 || length >= 32768) return std::nullopt;
  return Narrow(std::wstring_view(buffer, length));
}

// Sets (or with nullopt removes) one environment variable of this process for one test.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string aName, const std::optional<std::string>& aValue)
      : fName(std::move(aName)), fSaved(Environment(fName)) {
    Set(aValue);
  }
  ~ScopedEnvironment() { Set(fSaved); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void Set(const std::optional<std::string>& aValue) {
    ::SetEnvironmentVariableW(Wide(fName).c_str(), aValue ? Wide(*aValue).c_str() : nullptr);
  }
  std::string fName;
  std::optional<std::string> fSaved;
};

TEST(Folders, WindowsAndSystemFolders) {
  EXPECT_TRUE(SameText(GetWindowsDir(), "C:\\windows")) << GetWindowsDir();
  EXPECT_TRUE(SameText(GetSystemDir(), "C:\\windows\\system32")) << GetSystemDir();
}

TEST(Folders, TempDirEndsWithDelimiterAndExists) {
  const std::string temp = GetTempDir();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(DirectoryExists(temp)) << temp;
}

// The test prefix keeps the user's shell folders as real folders of its own drive C:.
TEST(Folders, ShellFoldersAreTheSystemsRealFolders) {
  const std::string profile = Environment("USERPROFILE").value_or("?");
  const std::string appData = Environment("APPDATA").value_or("?");
  const std::string allUsers = Environment("PUBLIC").value_or("?");
  const std::string programData = Environment("ProgramData").value_or("?");
  const std::string startMenuPrograms = "Microsoft\\Windows\\Start Menu\\Programs";
  ASSERT_TRUE(StartsWithText(profile, "C:\\users\\")) << profile;
  const struct {
    int csidl;
    std::string expected;
  } cases[] = {
      {sfDesktopDirectory, JoinPath(profile, "Desktop")},
      {sfPrograms, JoinPath(appData, startMenuPrograms)},
      {sfCommonDesktopDirectory, JoinPath(allUsers, "Desktop")},
      {sfCommonPrograms, JoinPath(programData, startMenuPrograms)},
      {sfProgramFiles, "C:\\Program Files"},
      {sfProgramFilesX86, "C:\\Program Files (x86)"},
      {sfProgramFilesCommon, "C:\\Program Files\\Common Files"},
  };
  for (const auto& c : cases) {
    const std::string folder = GetSpecialFolder(c.csidl);
    EXPECT_TRUE(SameText(folder, c.expected)) << c.csidl << ": " << folder << " instead of " << c.expected;
    EXPECT_TRUE(DirectoryExists(folder)) << folder;
  }
}

TEST(Folders, UnknownShellFolderIsEmpty) {
  EXPECT_EQ(GetSpecialFolder(0x7f), "");
  EXPECT_EQ(GetSpecialFolder(-1), "");
}

TEST(Folders, ProgramAndCommonFilesFromShellAndRegistry) {
  EXPECT_TRUE(SameText(GetProgramFilesDir(), "C:\\Program Files")) << GetProgramFilesDir();
  EXPECT_TRUE(SameText(GetCommonFilesDir(), "C:\\Program Files\\Common Files")) << GetCommonFilesDir();
  // The registry records the same folders for systems whose shell names none.
  EXPECT_TRUE(SameText(ReadCurrentVersionFolder("ProgramFilesDir"), GetProgramFilesDir()));
  EXPECT_TRUE(SameText(ReadCurrentVersionFolder("CommonFilesDir"), GetCommonFilesDir()));
  EXPECT_EQ(ReadCurrentVersionFolder("NoSuchFolderValue"), "");
  EXPECT_EQ(ReadCurrentVersionFolder(""), "");  // the key's default value is not set
}

TEST(Folders, IsUnderProgramFilesOfEitherView) {
  const struct {
    const char* path;
    bool expected;
  } cases[] = {
      {"C:\\Program Files\\Vendor\\app.exe", true},
      {"c:\\PROGRAM FILES\\vendor", true},
      {"C:\\Program Files (x86)\\Vendor\\app.exe", true},
      {"C:\\Program Files", true},
      {"C:\\Program Files Backup\\app.exe", false},
      {"C:\\windows\\system32", false},
      {"D:\\Program Files\\x", false},
      {"Program Files\\x", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsUnderProgramFiles(c.path), c.expected) << c.path;
}

TEST(Folders, IsUnderProgramFilesFollowsTheEnvironment) {
  const ScopedEnvironment native("ProgramW6432", "D:\\Apps");
  const ScopedEnvironment x86("ProgramFiles(X86)", std::nullopt);
  EXPECT_TRUE(IsUnderProgramFiles("D:\\Apps\\tool.exe"));
  EXPECT_TRUE(IsUnderProgramFiles("C:\\Program Files (x86)\\x"));  // still the shell folder 42
  {
    // A variable that is set but empty must not make every path count.
    const ScopedEnvironment empty("ProgramW6432", "");
    EXPECT_FALSE(IsUnderProgramFiles("D:\\Apps\\tool.exe"));
    EXPECT_FALSE(IsUnderProgramFiles("Q:\\anything"));
  }
}

}  // namespace
}  // namespace vek
