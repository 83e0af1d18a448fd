// Value references against a real INI file and real registry values. The registry values live
// below a key of this test's own, which is deleted afterwards.
#include <gtest/gtest.h>

#include "commands/SystemValueSource.h"
#include "system/Files.h"
#include "system/Registry.h"

namespace vek {
namespace {

constexpr const char* kTestKey = "Software\\VekSetupTests";

class ValueReferenceWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    iniPath = GetTempDir() + "vek_valueref.ini";
    (void)DeleteFileAt(iniPath);
    ASSERT_TRUE(AppendToFile(iniPath, "[Paths]\r\nMain=C:\\Old\\Main\r\ndk_Main=C:\\Gammel\r\n").ok());
    for (const TRegistryRoot root : {TRegistryRoot::CurrentUser, TRegistryRoot::LocalMachine}) {
      TRegistryKey key;
      ASSERT_TRUE(TRegistryKey::Create(root, std::string(kTestKey) + "\\Product", key).ok());
      ASSERT_TRUE(key.WriteString("Path", root == TRegistryRoot::CurrentUser ? "C:\\User\\Path" : "C:\\Machine").ok());
      ASSERT_TRUE(key.WriteInteger("Count", 7).ok());
    }
  }
  void TearDown() override {
    (void)DeleteFileAt(iniPath);
    for (const TRegistryRoot root : {TRegistryRoot::CurrentUser, TRegistryRoot::LocalMachine}) {
      EXPECT_TRUE(DeleteRegistryKeyTree(root, kTestKey).ok());
      TRegistryKey gone;
      EXPECT_FALSE(TRegistryKey::Open(root, kTestKey, TRegistryAccess::Read, gone).ok());
    }
  }

  std::string iniPath;
  TSystemValueSource source;
};

TEST_F(ValueReferenceWinTest, IniFileOnDisk) {
  EXPECT_EQ(IniValueReference(source, "uk", iniPath + ",Paths,Main"), "C:\\Old\\Main");
  EXPECT_EQ(IniValueReference(source, "dk", iniPath + ",Paths,Main"), "C:\\Gammel");
  EXPECT_EQ(IniValueReference(source, "uk", iniPath + ",Paths,Missing"), "");
  EXPECT_EQ(IniValueReference(source, "uk", GetTempDir() + "vek_missing.ini,Paths,Main"), "");
  EXPECT_EQ(IniValueReference(source, "uk", ",,Main"), "");  // never the system's own win.ini
}

TEST_F(ValueReferenceWinTest, RegistryRootsAndTheirShortForms) {
  struct Case {
    std::string text;
    const char* expected;
  };
  const std::string key = std::string(kTestKey) + "\\Product";
  const Case cases[] = {
      {"HKEY_CURRENT_USER," + key + ",Path", "C:\\User\\Path"},
      {"HKEY_CU," + key + ",Path", "C:\\User\\Path"},
      {"HKEY_LOCAL_MACHINE," + key + ",Path", "C:\\Machine"},
      {"HKEY_LM," + key + ",Path", "C:\\Machine"},
      {"HKEY_NONSENSE," + key + ",Path", "C:\\User\\Path"},  // an unknown root reads the user's
      {"HKEY_CU," + key + ",Missing", ""},
      {"HKEY_CU," + key + "\\Missing,Path", ""},
      {"HKEY_CU," + key + ",Count", ""},  // not a string value
      {iniPath + ",Paths,Main", "C:\\Old\\Main"},
  };
  for (const Case& c : cases) EXPECT_EQ(RegIniValueReference(source, "uk", c.text), c.expected) << c.text;
}

TEST_F(ValueReferenceWinTest, RegistryKeyReadsAndWrites) {
  TRegistryKey key;
  ASSERT_TRUE(TRegistryKey::Open(TRegistryRoot::CurrentUser, std::string(kTestKey) + "\\Product",
                                 TRegistryAccess::ReadWrite, key)
                  .ok());
  std::uint32_t count = 0;
  EXPECT_TRUE(key.ReadInteger("Count", count).ok());
  EXPECT_EQ(count, 7u);
  std::string text;
  EXPECT_FALSE(key.ReadInteger("Path", count).ok());  // wrong type
  EXPECT_FALSE(key.ReadString("Count", text).ok());
  const std::string unicode = "\xC3\xA6\xC3\xB8\xC3\xA5 \xE2\x82\xAC " + std::string(5000, 'x');
  EXPECT_TRUE(key.WriteString("Long", unicode).ok());
  EXPECT_TRUE(key.ReadString("Long", text).ok());
  EXPECT_EQ(text, unicode);
  EXPECT_TRUE(key.ValueExists("Long"));
  EXPECT_TRUE(key.DeleteValue("Long").ok());
  EXPECT_FALSE(key.ValueExists("Long"));
  EXPECT_FALSE(DeleteRegistryKeyTree(TRegistryRoot::CurrentUser, "").ok());  // never the whole root
}

}  // namespace
}  // namespace vek
