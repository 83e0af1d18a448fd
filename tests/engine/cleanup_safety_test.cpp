#include <gtest/gtest.h>

#include "engine/CleanupSafety.h"

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
      // A folder that holds a protected one.
      {"C:\\users\\Public", false}, {"C:\\PROGRAM FILES\\..", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsProtectedFolder(c.folder, system), c.isProtected) << c.folder;
  // A folder that holds a protected one is protected too.
  EXPECT_TRUE(IsProtectedFolder("C:\\data\\shared", system));
  EXPECT_TRUE(IsProtectedFolder("c:/DATA/", system));
  EXPECT_FALSE(IsProtectedFolder("C:\\data\\shared\\Desktop\\Old", system));
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
