// The version tests of an update as the script file on disk names them, read through a source
// that serves the file from memory: numbering, the language override, network markers and
// expansion.
#include <gtest/gtest.h>

#include <map>

#include "commands/ValueReference.h"
#include "commands/VersionChecks.h"
#include "script/IniStore.h"

namespace vek {
namespace {

class ScriptOnDisk final : public TValueSource {
 public:
  std::string ReadIniString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                            const std::string& aDefault) const override {
    return aFile == "C:\\setup.ini" ? store.ReadString(aSection, aKey, aDefault) : aDefault;
  }
  std::string ReadRegistryString(TRegistryRoot, const std::string&, const std::string&) const override { return {}; }
  TIniStore store;
};

TEST(VersionChecks, FromTheScriptFileOnDisk) {
  ScriptOnDisk disk;
  disk.store = TIniStore::FromText(
      "[UVersionCheck]\n"
      "File=%SYSDIR%prog.exe,FixedFileVersion,>=1.2\n"
      "Error=Too old\n"
      "dk_Error=For gammel\n"
      "File1=<NET>net.ini,Sec,Key=1\n"
      "File2=<NoNet>local.ini,Sec,Key,=x\n"
      "Error2=Local %SysVer%\n"
      "File3=NoCommaAtAll\n"
      "File11=beyond the last number\n");
  const auto expand = [](std::string_view aText) {
    std::string text(aText);
    for (const auto& [token, value] : std::map<std::string, std::string>{{"%SYSDIR%", "C:\\Apps\\Prod\\"},
                                                                         {"%SysVer%", "3"}}) {
      for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token)) {
        text.replace(at, token.size(), value);
      }
    }
    return text;
  };
  std::vector<TFileVersionCheck> checks = LoadVersionChecks(disk, "dk", "C:\\setup.ini", false, expand);
  ASSERT_EQ(checks.size(), 3u);  // File1 needs a network installation
  EXPECT_EQ(checks[0].filename, "C:\\Apps\\Prod\\prog.exe");
  EXPECT_EQ(checks[0].Section, "FixedFileVersion");
  EXPECT_EQ(checks[0].VerTest, vtEqualOrGreater);
  EXPECT_EQ(checks[0].version, (TfileVersion{1, 2, -1, -1}));
  EXPECT_EQ(checks[0].ErrorText, "For gammel");
  EXPECT_EQ(checks[1].filename, "local.ini");
  EXPECT_EQ(checks[1].Key, "Key,");
  EXPECT_EQ(checks[1].Value, "x");
  EXPECT_EQ(checks[1].ErrorText, "Local 3");
  EXPECT_EQ(checks[2].filename, "");
  EXPECT_EQ(checks[2].Section, "NoCommaAtAll");

  checks = LoadVersionChecks(disk, "dk", "C:\\setup.ini", true, expand);
  ASSERT_EQ(checks.size(), 3u);  // File1 instead of File2
  EXPECT_EQ(checks[1].filename, "net.ini");
}

}  // namespace
}  // namespace vek
