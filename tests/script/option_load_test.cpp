// Option records read from script text, with pack files in a file system in memory.
#include <gtest/gtest.h>

#include "ZipBuilder.h"
#include "archive/MemoryZipFiles.h"
#include "script/LoaderRules.h"
#include "script/ScriptFile.h"
#include "script/InstallOptions.h"

namespace vek {
namespace {

test::TTestEntry Entry(std::string aName, std::string aData) {
  test::TTestEntry entry;
  entry.Name = std::move(aName);
  entry.Data = std::move(aData);
  return entry;
}

class OptionLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddPack("src/app.zip", test::BuildPack(test::PackOf({Entry("bin/app.exe", std::string(1000, 'a')),
                                                               Entry("bin/app.dll", std::string(300, 'b')),
                                                               Entry("doc/", ""),
                                                               Entry("readme", std::string(20, 'c'))})));
    files.AddPack("src/broken.zip", "PK\x03\x04 this is not an archive");
    settings.Files = &files;
    settings.SourceDir = "src";
  }

  void Open(const std::string& aText) { script.Open("setup.ini", aText, [](std::string_view a) { return std::string(a); }); }

  TSubOption LoadSub(const std::string& aKeys) {
    Open("[ISubOption1.1]\r\n" + aKeys);
    TSubOption sub;
    EXPECT_TRUE(sub.LoadFromIniFile(script, "ISubOption1.1", settings));
    return sub;
  }

  TMemoryZipFiles files;
  TOptionLoadSettings settings;
  TScriptFile script;
};

TEST_F(OptionLoadTest, SubOptionDefaults) {
  const TSubOption sub = LoadSub("Caption=Core\r\n");
  EXPECT_EQ(sub.Caption, "Core");
  EXPECT_EQ(sub.State, 0);
  EXPECT_EQ(sub.Files, "*.*");
  EXPECT_EQ(sub.Disk, 1);
  EXPECT_FALSE(sub.NewerOnly);
  EXPECT_EQ(sub.Unpackmode, 0);
  EXPECT_EQ(sub.cleanup, 1);
  EXPECT_TRUE(sub.Packfile.empty());
  EXPECT_TRUE(sub.DeleteFiles.empty());
  EXPECT_EQ(sub.Size, 0);
  EXPECT_EQ(sub.UserRights, 0);
}

TEST_F(OptionLoadTest, SubOptionKeys) {
  settings.WinMajor = 5;
  const TSubOption sub = LoadSub(
      "Caption=Core\r\nDescribe=The core\r\nSelected=1\r\nLibName=bin\r\nFileAttr=1\r\n"
      "DeleteFiles=old.dll \"old file.txt\"\r\nDisk=2\r\nNewerOnly=1\r\nUnpack=2\r\nCLEANUP=0\r\n"
      "CLEANUPFILES=*.log\r\nWORKSTATIONFILES=ws.txt\r\nWorkStationCleanUpFiles=wsc.txt\r\n"
      "CommonFolder=%COMMON%\r\nCommonFiles=a.dll\r\nWorkStationCommonFolder=wsf\r\n"
      "WorkStationCommonFiles=b.dll\r\nUserRights=poweruser\r\n");
  EXPECT_EQ(sub.Describe, "The core");
  EXPECT_EQ(sub.State, 1);
  EXPECT_EQ(sub.LibName, "bin");
  EXPECT_EQ(sub.FileAttr, 1);
  EXPECT_EQ(sub.DeleteFiles, (std::vector<std::string>{"old.dll", "old file.txt"}));
  EXPECT_EQ(sub.Disk, 2);
  EXPECT_TRUE(sub.NewerOnly);
  EXPECT_EQ(sub.Unpackmode, 2);
  EXPECT_EQ(sub.cleanup, 0);
  EXPECT_EQ(sub.cleanupFiles, "*.log");
  EXPECT_EQ(sub.WStationFiles, "ws.txt");
  EXPECT_EQ(sub.WStationCleanupFiles, "wsc.txt");
  EXPECT_EQ(sub.CommonFolder, "%COMMON%");
  EXPECT_EQ(sub.Commonfiles, "a.dll");
  EXPECT_EQ(sub.WorkStationCommonFolder, "wsf");
  EXPECT_EQ(sub.WorkStationCommonFiles, "b.dll");
  EXPECT_EQ(sub.UserRights, rfPowerUser);  // before NT 6.0
  EXPECT_TRUE(sub.LibAlias.empty());
}

struct TSelectCase {
  const char* Keys;
  int State;
  const char* Files;
};

class SubOptionSelectTest : public OptionLoadTest, public ::testing::WithParamInterface<TSelectCase> {};

TEST_P(SubOptionSelectTest, SelectedAndFilesGiveTheState) {
  const TSubOption sub = LoadSub(std::string("Caption=x\r\n") + GetParam().Keys);
  EXPECT_EQ(sub.State, GetParam().State);
  EXPECT_EQ(sub.Files, GetParam().Files);
}

INSTANTIATE_TEST_SUITE_P(States, SubOptionSelectTest,
                         ::testing::Values(TSelectCase{"Selected=1\r\n", 1, "*.*"},
                                           TSelectCase{"Selected=1\r\nFiles=\r\n", 1, "*.*"},
                                           TSelectCase{"Selected=1\r\nFiles=*.dll\r\n", 2, "*.dll"},
                                           TSelectCase{"Selected=0\r\nFiles=*.dll\r\n", 0, "*.dll"},
                                           TSelectCase{"Selected=1\r\nFiles=*.*;*.txt\r\n", 2, "*.*;*.txt"}));

TEST_F(OptionLoadTest, NewerOnlyDefaultsByInstallMode) {
  settings.InstallMode = 2;
  EXPECT_TRUE(LoadSub("Caption=x\r\n").NewerOnly);
  EXPECT_FALSE(LoadSub("Caption=x\r\nNewerOnly=0\r\n").NewerOnly);
}

struct TSizeCase {
  const char* Keys;
  std::int64_t Size;
};

class SubOptionSizeTest : public OptionLoadTest, public ::testing::WithParamInterface<TSizeCase> {};

TEST_P(SubOptionSizeTest, SizeOfTheMatchingEntriesOfThePacksThatExist) {
  const TSubOption sub = LoadSub(std::string("Caption=x\r\nSelected=1\r\n") + GetParam().Keys);
  EXPECT_EQ(sub.Size, GetParam().Size);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SubOptionSizeTest,
    ::testing::Values(TSizeCase{"PackFile=app.zip\r\n", 1320},
                      TSizeCase{"PackFile=app.zip\r\nFiles=*.dll\r\n", 300},       // name without folders
                      TSizeCase{"PackFile=app.zip\r\nFiles=bin*\r\n", 0},
                      TSizeCase{"PackFile=app.zip\r\nFiles=*.exe;readme\r\n", 1020},
                      TSizeCase{"PackFile=app.zip;app.zip\r\n", 2640},
                      TSizeCase{"PackFile=missing.zip;app.zip\r\n", 1320},        // missing adds nothing
                      TSizeCase{"PackFile=broken.zip app.zip\r\n", 1320},         // so does a broken pack
                      TSizeCase{"PackFile=broken.zip\r\n", 0}));

TEST_F(OptionLoadTest, PackSizesAboveTwoGibibytesDoNotWrap) {
  test::TTestEntry big = Entry("big.bin", "x");
  big.Deflated = false;
  big.CentralSize = std::uint64_t{3} << 30;
  big.CentralCompressedSize = 1;
  test::TTestPack pack = test::PackOf({big});
  pack.Zip64 = true;
  files.AddPack("src/big.zip", test::BuildPack(pack));
  const std::int64_t one = GetPackFileSize(files, "src/big.zip", "*.*");
  ASSERT_EQ(one, std::int64_t{3} << 30);
  EXPECT_EQ(LoadSub("Caption=x\r\nPackFile=big.zip big.zip\r\n").Size, std::int64_t{6} << 30);
}

TEST_F(OptionLoadTest, SubOptionWithoutFileSystemHasNoSize) {
  settings.Files = nullptr;
  EXPECT_EQ(LoadSub("Caption=x\r\nPackFile=app.zip\r\n").Size, 0);
}

TEST_F(OptionLoadTest, MainOptionKeys) {
  settings.WinMajor = 6;
  Open("[IMainOption1]\r\nCaption=Server\r\nDescribe=All of it\r\nRootLib=srv\r\nSharedDocuments=1\r\n"
       "LibraryAttr=33\r\nUserRights=PowerUser\r\n");
  TMainOption option;
  option.Path = "C:\\old";
  ASSERT_TRUE(option.LoadFromIniFile(script, "IMainOption1", settings));
  EXPECT_EQ(option.Caption, "Server");
  EXPECT_EQ(option.Describe, "All of it");
  EXPECT_EQ(option.RootLib, "srv");
  EXPECT_TRUE(option.IsSharedDocuments());
  EXPECT_EQ(option.LibraryAttr, 33);
  EXPECT_EQ(option.Path, "\\");
  EXPECT_EQ(option.UserRights, rfAdministrator);  // power user means administrator from NT 6.0

  TMainOption empty;
  EXPECT_TRUE(empty.LoadFromIniFile(script, "IMainOption2", settings));  // the caller decides by Caption
  EXPECT_TRUE(empty.Caption.empty());
  EXPECT_FALSE(empty.IsSharedDocuments());
}

}  // namespace
}  // namespace vek
