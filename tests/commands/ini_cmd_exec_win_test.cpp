// The shared table of command cases against the real profile-string functions and registry
// under Wine, and what only real files show: the byte-order mark of a new file, an existing
// file's encoding and comments, and a renamed value's type.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "commands/ini_cmd_case_runner.h"
#include "system/temp_folder.h"

namespace vek::test {
namespace {

constexpr const char* kCasesKey = "Software\\VekIniCmdCases";

std::string ReadBytes(const std::string& aPath) {
  std::ifstream in(std::filesystem::path(Wide(aPath)), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& aPath, const std::string& aBytes) {
  std::ofstream(std::filesystem::path(Wide(aPath)), std::ios::binary) << aBytes;
}

class IniCmdWinTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(DeleteRegistryKeyTree(TRegistryRoot::CurrentUser, kCasesKey).ok()); }
  void TearDown() override { (void)DeleteRegistryKeyTree(TRegistryRoot::CurrentUser, kCasesKey); }

  std::unique_ptr<IIniRegistry> system = CreateSystemIniRegistry();
};

TEST_F(IniCmdWinTest, EveryCase) {
  for (const TIniCmdCase& c : IniCmdCases()) {
    const TempFolder folder;
    const std::string file = folder.File("case.ini");
    ASSERT_TRUE(ForceDirectories(file + ".d").ok());
    TIniCmdCaseRunner(*system, file, std::string(kCasesKey) + "\\" + c.name).Run(c);
  }
}

TEST_F(IniCmdWinTest, NewFileIsUtf16) {
  const TempFolder folder;
  TIniCmdCaseRunner runner(*system, folder.File("new.ini"), kCasesKey);
  runner.Execute("{F},Sect,Name=Wert ø");
  const std::string bytes = ReadBytes(folder.File("new.ini"));
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(system->ReadString(folder.File("new.ini"), "Sect", "Name", ""), "Wert ø");
}

TEST_F(IniCmdWinTest, ExistingFileKeepsEncodingCommentsAndOtherSections) {
  const TempFolder folder;
  const std::string file = folder.File("old.ini");
  WriteBytes(file, "; a comment\r\n[Other]\r\nX=1\r\n\r\n[S]\r\nA=1\r\n");
  TIniCmdCaseRunner runner(*system, file, kCasesKey);
  runner.Execute("{F},S,B=2");
  runner.Execute("{F},S,A=3");
  const std::string bytes = ReadBytes(file);
  EXPECT_EQ(bytes.find('\0'), std::string::npos) << "stays single-byte";
  EXPECT_EQ(bytes.rfind("; a comment\r\n[Other]\r\nX=1\r\n", 0), 0u) << bytes;
  EXPECT_EQ(system->ReadSection(file, "S"), (ProfileEntries{{"A", "3"}, {"B", "2"}}));
}

TEST_F(IniCmdWinTest, RenameKeepsTypeAndData) {
  TRegistryKey key;
  ASSERT_TRUE(TRegistryKey::Create(TRegistryRoot::CurrentUser, kCasesKey, key).ok());
  ASSERT_TRUE(key.WriteInteger("Count", 7).ok());
  TIniCmdCaseRunner runner(*system, "unused.ini", kCasesKey);
  runner.Execute("<RENAMEKEY>HKEY_CU,{K},Count=Total");
  std::uint32_t value = 0;
  EXPECT_TRUE(key.ReadInteger("Total", value).ok());
  EXPECT_EQ(value, 7u);
  EXPECT_FALSE(key.ValueExists("Count"));
}

TEST_F(IniCmdWinTest, MissingFolderIsReported) {
  const TempFolder folder;
  TIniCmdCaseRunner runner(*system, folder.File("nothere\\x.ini"), kCasesKey);
  runner.Execute("{F},S,K=V");
  ASSERT_EQ(runner.Channel().Messages.size(), 1u);
  EXPECT_EQ(runner.Channel().Messages[0].message, "Cannot write to " + UpperCase(folder.File("nothere\\x.ini")) + ".");
}

}  // namespace
}  // namespace vek::test
