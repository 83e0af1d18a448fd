#include <gtest/gtest.h>

#include "engine/CleanupSafety.h"
#include "system/PathText.h"

namespace vek {
namespace {

TEST(CleanupSafety, ProtectsRootsSystemFoldersAndAnythingNotAbsolute) {
  const TProtectedFolders system{{"C:\\windows", "C:\\windows\\system32", "C:\\Program Files", "C:\\users",
                                  "C:\\data\\shared\\Desktop"}};
  struct Case {
    const char* folder;
    bool isProtected;
  };
  const Case cases[] = {
      {"C:\\", true},         {"C:", true},
      {"c:\\\\", true},       {"\\\\server\\share", true},
      {"\\\\server\\share\\", true},  {"\\\\server", true},
      {"C:\\WINDOWS\\", true}, {"c:\\windows\\System32", true},
      {"C:\\program files", true}, {"C:\\Users", true},
      {"Program", true},      {"\\VekApps", true},
      {"C:VekApps", true},    {"C:\\VekApps\\..\\windows", true},
      {"C:\\VekApps\\...", true}, {"", true},
      {"C:\\VekApps", false},  {"C:\\Program Files\\Vek", false},
      {"C:\\windows\\VekTools", false}, {"\\\\server\\share\\Vek", false},
      // Other spellings of the same folders.
      {"C:\\.", true},      {"c:/", true},
      {"C:\\windows\\.", true}, {"C:/Windows/", true},
      {"C:\\\\windows", true}, {"C:\\.\\windows", true},
      {"C:\\windows.", true}, {"C:\\windows . ", true},
      {"\\\\?\\C:\\VekApps", true}, {"\\\\.\\C:\\VekApps", true},
      {"\\\\server\\share\\.", true},
      // A server or share named by dots alone is no share: the system drops the dots.
      {"\\\\...\\share\\Vek", true}, {"\\\\server\\..\\Vek", true},
      {"\\\\. \\share\\Vek", true}, {"\\\\......\\.\\Vek", true},
      // A folder that holds a protected one.
      {"C:\\users\\Public", false}, {"C:\\PROGRAM FILES\\..", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsProtectedFolder(c.folder, system), c.isProtected) << c.folder;
  // A folder that holds a protected one is protected too.
  EXPECT_TRUE(IsProtectedFolder("C:\\data\\shared", system));
  EXPECT_TRUE(IsProtectedFolder("c:/DATA/", system));
  EXPECT_FALSE(IsProtectedFolder("C:\\data\\shared\\Desktop\\Old", system));
}

// A record may name a protected folder in any spelling that the system resolves to it: a "."
// name, a doubled or forward delimiter, a trailing dot or delimiter, other letter case, the
// "\\?\" and "\\.\" prefixes, a ".." that climbs back. A cleanup asks twice: as the record
// spells the folder (may its wildcard entries be resolved?) and without a trailing delimiter
// (may the folder be removed?); a drive root is refused even before the system's folders are
// known.
TEST(CleanupSafety, EverySpellingOfAProtectedFolderIsProtected) {
  const TProtectedFolders system{{"C:\\windows", "C:\\users\\vek\\Desktop"}};
  struct Case {
    const char* folder;
    bool driveRoot;
  };
  const Case cases[] = {
      {"R:\\", true},
      {"R:", true},
      {"r:/", true},
      {"R:\\\\", true},
      {"\\\\?\\R:\\", true},
      {"\\\\.\\R:\\", true},
      {"R:\\e2e\\..", true},
      {"R:\\.", true},
      {"R:\\.\\", true},
      {"R:\\\\\\\\", true},
      {"C:\\users\\vek\\Desktop", false},
      {"C:\\USERS\\vek\\DESKTOP", false},
      {"c:\\users\\vek\\desktop\\", false},
      {"\\\\?\\C:\\users\\vek\\Desktop\\.", false},
      {"\\\\?\\C:\\users\\vek\\Desktop", false},
      {"C:\\users\\vek\\Desktop\\.", false},
      {"C:\\users\\vek\\Desktop\\\\", false},
      {"C:/users/vek/Desktop", false},
      {"C:\\users\\vek\\\\Desktop", false},
      {"C:\\users\\vek\\.\\Desktop", false},
      {"C:\\users\\vek\\Desktop.", false},
  };
  for (const Case& c : cases) {
    const std::string trimmed = ExcludeTrailingPathDelimiter(c.folder);
    EXPECT_TRUE(IsProtectedFolder(c.folder, system)) << c.folder;
    EXPECT_TRUE(IsProtectedFolder(trimmed, system)) << trimmed;
    if (c.driveRoot) {
      EXPECT_TRUE(IsProtectedFolder(trimmed, {})) << trimmed;
    }
  }
}

TEST(CleanupSafety, CanonicalFolderIsTheSpellingTheSystemResolves) {
  EXPECT_EQ(CanonicalFolder("c:/Apps//Vek/./Notes. /"), "C:\\Apps\\Vek\\Notes");
  EXPECT_EQ(CanonicalFolder("\\\\srv\\share\\x"), "\\\\srv\\share\\x");
  EXPECT_EQ(CanonicalFolder("C:\\Apps\\..\\x"), std::nullopt);
  EXPECT_EQ(CanonicalFolder("Apps"), std::nullopt);
}

TEST(CleanupSafety, RecordedNamesStayInsideTheirFolder) {
  struct Case {
    std::string name;
    bool safe;
  };
  const Case cases[] = {
      {"notes.exe", true},       {"docs\\readme.txt", true}, {"*.tmp", true},
      {"", false},               {"..\\boot.ini", false},    {"docs\\..\\..\\x", false},
      {"\\windows\\x.dll", false}, {"C:\\x.txt", false},     {"a.txt:stream", false},
      {std::string("a\0b", 3), false}, {"...\\x", false},
      // Names that leave their folder by climbing, by a drive or a share, or by a device prefix,
      // written as hostile records write them; wildcard entries are checked the same way
      // before they are resolved.
      {"..\\..\\outside.txt", false}, {"..\\outside.txt", false}, {"C:\\outside.txt", false},
      {"\\outside.txt", false}, {"C:outside.txt", false}, {"sub\\..\\..\\x.txt", false},
      {"sub/../../x.txt", false}, {"...\\x.txt", false}, {"\\\\?\\C:\\outside.txt", false},
      {"\\\\localhost\\C$\\outside.txt", false}, {"own.txt:stream", false}, {"..\\*.txt", false},
      {"..\\..\\*.*", false}, {"C:\\*.txt", false}, {"sub\\..\\..\\*.*", false},
      // The system drops a part's trailing dots and blanks: a part of dots and blanks may be the
      // parent, a name that merely ends in dots (found by the fuzzer) is a name.
      {".. \\x.txt", false}, {". .\\x.txt", false}, {"a.txt..\\*.log", true}, {"a..\\b..", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSafeRecordedName(c.name), c.safe) << c.name;
}

TEST(CleanupSafety, BackupNameHasATildeAfterTheExtensionDot) {
  EXPECT_EQ(BackupFileName("C:\\App\\notes.exe"), "C:\\App\\notes.~exe");
  EXPECT_EQ(BackupFileName("C:\\App.1\\read.me.txt"), "C:\\App.1\\read.me.~txt");
  EXPECT_EQ(BackupFileName("C:\\App.1\\README"), "");
}

}  // namespace
}  // namespace vek
