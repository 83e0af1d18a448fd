// Cleanup runs of the engine in this process, on records the tests write, against the real
// file system and registry of the test machine; and the protection of the system's own folders
// as this machine names them. Cases that need no separate program start of setup.exe live here;
// the end-to-end tests show one case of each kind through the whole program.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../system/temp_folder.h"
#include "base/Utf.h"
#include "engine/CleanupSafety.h"
#include "engine/SetupEngine.h"
#include "system/Files.h"
#include "system/Folders.h"
#include "system/PathText.h"
#include "system/Registry.h"
#include "system/WinText.h"

namespace vek {
namespace {

constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The record as an installation writes it: UTF-16 LE with a byte-order mark.
std::string Utf16Record(std::string_view aText) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : Utf8ToUtf16(aText)) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::vector<std::string> Lines(const std::string& aText) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  for (std::size_t end; (end = aText.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
    lines.push_back(aText.substr(begin, end - begin));
  }
  return lines;
}

bool Contains(const std::vector<std::string>& aLines, const std::string& aLine) {
  return std::find(aLines.begin(), aLines.end(), aLine) != aLines.end();
}

class CleanupRun : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(fFolder.Path().empty());
  }

  // The folder an installation left, with one recorded file in it.
  std::string App() const { return fFolder.File("app"); }

  // Writes the record, runs a silent cleanup with it as /UNINSTALL would and gives the log.
  std::vector<std::string> RunCleanup(const std::string& aRecordText) {
    EXPECT_TRUE(ForceDirectories(App()).ok());
    EXPECT_TRUE(WriteWholeFile(JoinPath(App(), "a.txt"), "recorded").ok());
    TRunContext context;
    context.RunMode = rmCleanUp;
    context.ScriptFileName = fFolder.File("CLEANUP.INI");
    EXPECT_TRUE(WriteWholeFile(context.ScriptFileName, Utf16Record(aRecordText)).ok());
    std::string logFile;
    {
      TSetupEngine engine(context);
      logFile = engine.LogFileName();
      (void)DeleteFileAt(logFile);  // runs of the same second share the name
      engine.SetdoLog(true);
      engine.ExecuteStep();
      runFailed = engine.RunFailed();
    }
    std::string log;
    (void)ReadWholeFile(logFile, log);
    (void)DeleteFileAt(logFile);
    return Lines(log);
  }

  std::string Record(const std::string& aUninstallKey) const {
    return "[LuM CleanUp]\r\nSystem=Unit Product\r\nVersion=1.0\r\n[LuM CleanUp Directories]\r\n" + App() +
           "=1\r\n[" + App() + "]\r\na.txt=\r\n[Uninstall]\r\nKey=" + aUninstallKey + "\r\n";
  }

  bool runFailed = false;

 private:
  test::TempFolder fFolder;
};

// Registrations of two other products that a cleanup must leave alone; removed afterwards.
class CleanupRunKeys : public CleanupRun {
 protected:
  void SetUp() override {
    CleanupRun::SetUp();
    for (const char* name : {"VekUnitSibling", "VekUnitOwn"}) {
      TRegistryKey key;
      ASSERT_TRUE(TRegistryKey::Create(TRegistryRoot::LocalMachine, Path(name), key).ok());
      ASSERT_TRUE(key.WriteString("DisplayName", "Unit").ok());
    }
  }
  void TearDown() override {
    for (const char* name : {"VekUnitSibling", "VekUnitOwn"}) {
      (void)DeleteRegistryKeyTree(TRegistryRoot::LocalMachine, Path(name));
    }
    CleanupRun::TearDown();
  }
  static std::string Path(const std::string& aName) { return std::string(kUninstall) + "\\" + aName; }
};

// The record's uninstall key is one name below the uninstall key; anything that climbs, names a
// sub-key or the uninstall key itself is logged and left alone, and the run still succeeds.
TEST_F(CleanupRunKeys, AKeyThatIsNotOneNameBelowTheUninstallKeyIsLeftAlone) {
  const char* const keys[] = {
      "",  // no registration at all
      "..\\VekUnitSibling",
      "..\\\\VekUnitSibling",
      "..\\Uninstall\\VekUnitSibling",
      "VekUnitOwn\\..",
      "VekUnitOwn\\..\\VekUnitSibling",
      "\\",
      "/",
      "..",
      ".",
      "VekUnitOwn/..",
      "Sub\\Key",
  };
  for (const std::string key : keys) {
    const std::vector<std::string> log = RunCleanup(Record(key));
    EXPECT_FALSE(runFailed) << key;
    EXPECT_TRUE(Contains(log, "   Deleted " + JoinPath(App(), "a.txt"))) << key;
    if (!key.empty()) {
      EXPECT_TRUE(Contains(log, "   Not an uninstall key name, left alone: " + key)) << key;
    }
    TRegistryKey uninstall;
    EXPECT_TRUE(
        TRegistryKey::Open(TRegistryRoot::LocalMachine, kUninstall, TRegistryAccess::Read, uninstall).ok())
        << key;
    EXPECT_EQ(ReadRegistryString(TRegistryRoot::LocalMachine, Path("VekUnitSibling"), "DisplayName"), "Unit")
        << key;
    EXPECT_EQ(ReadRegistryString(TRegistryRoot::LocalMachine, Path("VekUnitOwn"), "DisplayName"), "Unit")
        << key;
  }
}

// The folders of the system and of the user as this machine names them: a record that lists
// one of them never has its wildcard entries resolved there, and the folder is never removed.
TEST(SystemOwnedFolders, ProtectTheSystemAndTheUsersShellFolders) {
  wchar_t profileBuffer[MAX_PATH] = {};
  ASSERT_GT(::GetEnvironmentVariableW(L"USERPROFILE", profileBuffer, MAX_PATH), 0u);
  const std::string profile = Narrow(profileBuffer);
  const TProtectedFolders system{GetSystemOwnedFolders()};
  const std::string folders[] = {
      "C:\\windows",
      "C:\\windows\\system32",
      "C:\\users",
      "C:\\Program Files",
      "C:\\Program Files\\Common Files",
      profile,
      profile + "\\Desktop",
      profile + "\\Documents",
      profile + "\\AppData\\Roaming",
      profile + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu",
      profile + "\\Temp",
  };
  for (const std::string& folder : folders) {
    EXPECT_TRUE(DirectoryExists(folder)) << folder;
    EXPECT_TRUE(IsProtectedFolder(folder, system)) << folder;
  }
}

}  // namespace
}  // namespace vek
