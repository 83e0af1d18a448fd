// Version and existence tests against real files, real version resources and the real registry:
// two DLLs built beside this program (one with a version resource, one without), an INI file
// in the temporary folder and a registry key of this test's own, deleted afterwards.
#include <gtest/gtest.h>

#include <algorithm>

#include "commands/SystemVersionSource.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/Registry.h"
#include "system/VersionInfo.h"

namespace vek {
namespace {

constexpr const char* kTestKey = "Software\\VekSetupTests\\Version";

std::string BesideProgram(const std::string& aName) {
  return JoinPath(ExtractFileDir(GetProgramPath()), aName);
}

TEST(VersionInfo, FixedVersionsAndStringsByTranslation) {
  const TVersionInfo versioned(BesideProgram("vek_test_versioned.dll"));
  ASSERT_TRUE(versioned.IsVersionInfoFound());
  EXPECT_EQ(versioned.FixedFileVersion(), 0x00020001u);
  EXPECT_EQ(versioned.FixedFileBuild(), 0x00000005u);
  EXPECT_EQ(versioned.FixedProductVersion(), 0x00030000u);
  EXPECT_EQ(versioned.FixedProductBuild(), 0x00000001u);
  EXPECT_EQ(versioned.TranslationName(), "040704B0");
  EXPECT_EQ(versioned.FileVersion(), "2.1.0.5 beta");
  EXPECT_EQ(versioned.StringValue("Missing"), "");
  EXPECT_EQ(FixedVersionToString(versioned.FixedFileVersion()), "2.1");

  for (const std::string name : {"vek_test_plain.dll", "vek_test_missing.dll"}) {
    const TVersionInfo none(BesideProgram(name));
    EXPECT_FALSE(none.IsVersionInfoFound()) << name;
    EXPECT_EQ(none.FixedFileVersion(), 0u) << name;
    EXPECT_EQ(none.FileVersion(), "") << name;
    EXPECT_EQ(none.TranslationName(), "040904E4") << name;
  }
}

class VersionWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    iniPath = GetTempDir() + "vek_version.ini";
    (void)DeleteFileAt(iniPath);
    ASSERT_TRUE(AppendToFile(iniPath, "[Sec]\r\nVer=2.5\r\ndk_Ver=1.0\r\n").ok());
    TRegistryKey key;
    ASSERT_TRUE(TRegistryKey::Create(TRegistryRoot::CurrentUser, kTestKey, key).ok());
    ASSERT_TRUE(key.WriteString("Version", "2.5").ok());
    ASSERT_TRUE(key.WriteInteger("Count", 7).ok());
    ASSERT_TRUE(key.WriteInteger("Big", 0xFFFFFFFFu).ok());
    for (const char* sub : {"9.0", "10.0", "Temp"}) {
      TRegistryKey subKey;
      ASSERT_TRUE(
          TRegistryKey::Create(TRegistryRoot::CurrentUser, std::string(kTestKey) + "\\" + sub, subKey).ok());
    }
  }
  void TearDown() override {
    (void)DeleteFileAt(iniPath);
    EXPECT_TRUE(DeleteRegistryKeyTree(TRegistryRoot::CurrentUser, "Software\\VekSetupTests").ok());
  }

  std::string iniPath;
  TSystemVersionSource source;
};

TEST_F(VersionWinTest, EachSourceOnTheRealSystem) {
  struct Case {
    std::string file, section, test;
    bool expected;
  };
  const std::string versioned = BesideProgram("vek_test_versioned.dll");
  const std::string plain = BesideProgram("vek_test_plain.dll");
  const std::string missing = BesideProgram("vek_test_missing.dll");
  const Case cases[] = {
      {versioned, "FixedFileVersion", ">=2.1", true},
      {versioned, "FixedFileVersion", "=2.1.0.5", true},
      {versioned, "FixedFileVersion", ">2.1.0.5", false},
      {versioned, "FileVersion", "=2.1.0.5 BETA", true},
      {plain, "FixedFileVersion", ">=1.0", false},  // no resource: 0.0.0.0
      {plain, "FixedFileVersion", "<1.0", true},
      {missing, "FixedFileVersion", ">=1.0", false},
      {"<FILEEXISTS>" + missing, "FixedFileVersion", ">=1.0", true},
      {iniPath, "Sec", "Ver>=2.1", true},
      {iniPath, "Sec", "Missing>=1.0", false},
      {"<KEYEXISTS>" + iniPath, "Sec", "Missing>=1.0", true},
      {"HKEY_CURRENT_USER", kTestKey, "Version>=2.1", true},
      {"HKEY_CU", kTestKey, "Version<2.1", false},
      {"HKEY_SOMETHING", kTestKey, "Version=2.5", true},  // another name reads the current user's
      {"HKEY_CU", kTestKey, "Count=7", true},
      {"HKEY_CU", kTestKey, "Big>=1", false},  // 4294967295 is no version part
      {"HKEY_CU", kTestKey, "Missing>=1", false},
      {"<KEYEXISTS>HKEY_CU", kTestKey, "Missing>=1", true},
      {"<VALORKEY>HKEY_CU", kTestKey, "Missing=9.0", true},
      {"<VALORKEY>HKEY_CU", kTestKey, "Missing=10.0", false},
  };
  for (const Case& c : cases) {
    TFileVersionCheck check;
    check.SetVersionTest(c.file, c.section, c.test);
    EXPECT_EQ(check.IsVersionOk(source, "uk"), c.expected) << c.file << "," << c.section << "," << c.test;
  }
  TFileVersionCheck check;
  check.SetVersionTest(iniPath, "Sec", "Ver=1.0");
  EXPECT_TRUE(check.IsVersionOk(source, "dk"));  // the language override of the key
  check.SetVersionTest(versioned, "FixedFileVersion", ">=1");
  EXPECT_EQ(check.GetTestTargetVersion(source, "uk"), "2.1.0.5");
}

TEST_F(VersionWinTest, SubKeysAndIntegerValuesAsText) {
  TRegistryKey key;
  ASSERT_TRUE(TRegistryKey::Open(TRegistryRoot::CurrentUser, kTestKey, TRegistryAccess::Read, key).ok());
  std::vector<std::string> names;
  ASSERT_TRUE(key.SubKeyNames(names).ok());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"10.0", "9.0", "Temp"}));
  std::string text;
  EXPECT_TRUE(key.ReadValueText("Count", text).ok());
  EXPECT_EQ(text, "7");
  EXPECT_TRUE(key.ReadValueText("Version", text).ok());
  EXPECT_EQ(text, "2.5");
  EXPECT_FALSE(key.ReadValueText("Missing", text).ok());
  EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace vek
