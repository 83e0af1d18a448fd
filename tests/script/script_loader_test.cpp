// The loader reads the system section, the options' dialog captions, the cleanup shortcut and
// the uninstall records into values, from scripts in three encodings with a language override
// and non-ASCII text; load errors go to the run's channel. Plain logic: no file system.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "base/FakeUserChannel.h"
#include "base/Format.h"
#include "language/LanguageText.h"
#include "script/CodePage1252.h"
#include "script/LoaderRules.h"
#include "script/ScriptLoader.h"
#include "utf16_bytes.h"

namespace vek {
namespace {

// "Ærø" in UTF-8; the ANSI file carries it in code page 1252.
const std::string kAero = "\xC3\x86r\xC3\xB8";

std::string SystemScript() {
  return "[System Info]\r\n"
         "Version=2.5\r\n"
         "FileVersion=2.5.0.1\r\n"
         "Name=" + kAero + " Product\r\n"
         "dk_Name=" + kAero + " Produkt\r\n"
         "Title=Title\r\n"
         "Flash=Flash %SysVer%\r\n"
         "WSFlash=Workstation %SysFileVer%\r\n"
         "InstallRoot=\"Program Files\";Tools\r\n"
         "SystemDir=Prod\r\n"
         "InstallDrive=D:\\\r\n"
         "WorkStationDrive=E:\\\r\n"
         "WorkStationRoot=\"Ws Root\"\r\n"
         "SaveCleanUp=0\r\n"
         "CopySetup=$0\r\n"
         "EncodeSysDir=1\r\n"
         "OemGui=0x1\r\n"
         "IUserRights=Administrator\r\n"
         "UUserRights=poweruser\r\n"
         "Installmode=2\r\n"
         "[UnInstall]\r\n"
         "Key=ProdKey\r\n"
         "DisplayName=%SysVer% " + kAero + "\r\n"
         "Publisher=Vendor\r\n"
         "UninstallString=%SYSDIR%setup.exe /CleanUp\r\n"
         "[Media]\r\n"
         "blocks=3\r\n";
}

std::string Ansi1252(std::string aText) {
  for (std::size_t at = aText.find(kAero); at != std::string::npos; at = aText.find(kAero)) {
    aText.replace(at, kAero.size(), "\xC6r\xF8");
  }
  return aText;
}

class ScriptLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { SelectLanguage("dk"); }
  void TearDown() override { SelectLanguage("uk"); }

  // The script as the run reads it; the variables the loader defines take part in expansions.
  const TScriptFile& Script(const std::string& aBytes, const std::string& aName = "C:\\Dist\\setup.ini") {
    script.Open(aName, aBytes, DecodeWindows1252);
    return script;
  }
  TLoaderEnv Env() {
    TLoaderEnv env;
    env.expand = [this](std::string_view aText) {
      std::string text(aText);
      for (const auto& [name, value] : variables) {
        const std::string token = "%" + name + "%";
        for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token)) {
          text.replace(at, token.size(), value);
        }
      }
      return text;
    };
    env.translate = [](std::string_view aText) { return std::string(aText); };
    env.defineVariable = [this](const std::string& aName, const std::string& aValue) { variables[aName] = aValue; };
    env.channel = &channel;
    env.winMajor = 6;
    env.freeSpace = [] { return std::int64_t{123456789}; };
    env.fileExists = [this](const std::string&) { return scriptExists; };
    return env;
  }

  TScriptFile script;
  TRunContext run;
  std::map<std::string, std::string> variables;
  test::TFakeUserChannel channel{false};
  bool scriptExists = true;
};

class SystemInfoEncodingTest : public ScriptLoaderTest, public ::testing::WithParamInterface<int> {};

TEST_P(SystemInfoEncodingTest, ReadsTheSectionAndThePaths) {
  const std::string text = SystemScript();
  const std::string bytes[] = {"\xEF\xBB\xBF" + text, Utf16Bytes(text), Ansi1252(text)};
  const std::optional<TSystemInfo> info = LoadSystemInfo(Script(bytes[GetParam()]), run, Env());
  ASSERT_TRUE(info);

  EXPECT_EQ(info->SystemName, kAero + " Produkt");  // dk_Name while the code is dk
  EXPECT_EQ(info->SystemTitle, "Title");
  EXPECT_EQ(info->WelcomeTitle, "Title");
  EXPECT_EQ(info->SetupCaption, FormatText(LanguageText(65), {kAero + " Produkt"}));
  EXPECT_EQ(info->SystemVer, "2.5");
  EXPECT_EQ(info->SystemFileVer, "2.5.0.1");
  EXPECT_EQ(variables["SysVer"], "2.5");
  EXPECT_EQ(variables["SysFileVer"], "2.5.0.1");
  EXPECT_EQ(info->FlashStr, "Flash 2.5");  // the variable is defined before the flash is expanded

  EXPECT_EQ(run.InstallRootList, (std::vector<std::string>{"Program Files", "Tools"}));
  EXPECT_EQ(run.InstallRootIndex, 0);
  EXPECT_EQ(run.SystemDirList, std::vector<std::string>{"Prod"});
  EXPECT_EQ(run.SystemDirIndex, 0);
  EXPECT_EQ(run.InstallPath, "D:\\");  // InstallDrive, since no path came from the command line
  EXPECT_EQ(run.WorkStationRootDir, "Ws Root");

  EXPECT_FALSE(info->SaveCleanUpInfo);
  EXPECT_TRUE(info->SaveCleanUpProgInfo);
  EXPECT_FALSE(info->CopySetupExeFile);
  EXPECT_TRUE(info->EncodeSysDir);
  EXPECT_TRUE(info->OemGui);
  EXPECT_EQ(info->InstallUserRights, rfAdministrator);
  EXPECT_EQ(info->UpdateUserRights, rfAdministrator);  // "poweruser" asks for an administrator from 6 on
  EXPECT_TRUE(info->LicensAgreementTest);  // Media blocks is set
  EXPECT_EQ(info->Installmode, 2);

  EXPECT_EQ(info->UninstallInfo.Key, "ProdKey");
  EXPECT_EQ(info->UninstallInfo.DisplayName, "2.5 " + kAero);
  EXPECT_EQ(info->UninstallInfo.Publisher, "Vendor");
  EXPECT_EQ(info->UninstallInfo.UninstallString, "%SYSDIR%setup.exe /CleanUp");  // expanded when registered
  EXPECT_EQ(info->FreeDiskSpace, 123456789);
  EXPECT_TRUE(channel.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Utf8Utf16Ansi, SystemInfoEncodingTest, ::testing::Values(0, 1, 2));

TEST_F(ScriptLoaderTest, DefaultsOfAnEmptySection) {
  SelectLanguage("uk");
  TLoaderEnv env = Env();
  env.freeSpace = [] { return std::int64_t{-1}; };
  const std::optional<TSystemInfo> info = LoadSystemInfo(Script("[System Info]\r\n"), run, env);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->SystemName, "SystemName");
  EXPECT_EQ(info->SystemTitle, "SystemName");
  EXPECT_EQ(info->WelcomeTitle, "SystemName");
  EXPECT_EQ(info->SystemVer, "x.xx");
  EXPECT_TRUE(info->SaveCleanUpInfo);
  EXPECT_TRUE(info->CopySetupExeFile);
  EXPECT_FALSE(info->EncodeSysDir);
  EXPECT_FALSE(info->LicensAgreementTest);
  EXPECT_EQ(info->InstallUserRights, 0);
  EXPECT_EQ(info->Installmode, 0);
  EXPECT_EQ(info->FreeDiskSpace, 2147483648);  // an unknown free space counts as 2 GB
  EXPECT_TRUE(run.InstallRootList.empty());
  EXPECT_EQ(run.InstallRootIndex, -1);
  EXPECT_EQ(run.SystemDirIndex, -1);
  EXPECT_EQ(run.InstallPath, "C:\\");
}

TEST_F(ScriptLoaderTest, AnInstallPathFromTheCommandLineWins) {
  run.InstallPath = "F:\\Given";
  ASSERT_TRUE(LoadSystemInfo(Script(SystemScript()), run, Env()));
  EXPECT_EQ(run.InstallPath, "F:\\Given");
}

TEST_F(ScriptLoaderTest, WorkStationRuns) {
  run.RunMode = rmWorkStationSetup;
  const std::optional<TSystemInfo> setup = LoadSystemInfo(Script(SystemScript()), run, Env());
  ASSERT_TRUE(setup);
  EXPECT_EQ(run.InstallPath, "E:\\");  // WorkStationDrive
  EXPECT_EQ(setup->FlashStr, "Workstation 2.5.0.1");
  EXPECT_FALSE(setup->LicensAgreementTest);  // agreements belong to install runs

  run.RunMode = rmWorkStationUpdate;
  run.InstallPath.clear();  // "/GU" with an empty folder
  ASSERT_TRUE(LoadSystemInfo(Script(SystemScript()), run, Env()));
  EXPECT_EQ(run.InstallPath, "C:\\Ws Root");
}

TEST_F(ScriptLoaderTest, AMissingScriptIsReportedAndLoadsNothing) {
  scriptExists = false;
  const std::string name = "C:\\Dist\\absent.ini";
  EXPECT_FALSE(LoadSystemInfo(Script("", name), run, Env()));
  ASSERT_EQ(channel.Messages.size(), 1u);
  EXPECT_EQ(channel.Messages[0].caption, LanguageText(138));
  EXPECT_EQ(channel.Messages[0].message, FormatText(LanguageText(46), {name}));
  EXPECT_FALSE(LoadOptionSet(script, 1, run, Env()));
  EXPECT_EQ(channel.Messages.size(), 2u);
}

TEST_F(ScriptLoaderTest, DialogCaptionsByInstallMode) {
  SelectLanguage("uk");
  const TScriptFile& s =
      Script("[IDialogs]\r\nDefaultBtn=&Typical\r\nDeftCustMode=2\r\n[UDialogs]\r\nCustomBtn=&Own\r\n");
  const TDialogCaptions install = LoadDialogCaptions(s, 1);
  EXPECT_EQ(install.DefaultBtn, "&Typical");
  EXPECT_EQ(install.CustomBtn, LanguageText(17));
  EXPECT_EQ(install.DefaultLabel, LanguageText(26));
  EXPECT_EQ(install.CustomLabel, LanguageText(27));
  EXPECT_EQ(install.DeftCustMode, 2);
  const TDialogCaptions update = LoadDialogCaptions(s, 2);
  EXPECT_EQ(update.DefaultBtn, LanguageText(16));
  EXPECT_EQ(update.CustomBtn, "&Own");
  EXPECT_EQ(update.DeftCustMode, 0);
}

TEST_F(ScriptLoaderTest, CleanUpGroupNeedsGroupAndTitle) {
  const std::optional<TCleanUpGroup> group =
      LoadCleanUpGroup(Script("[Cleanup]\r\nGroup=Vendor\r\nTitle=Remove product\r\n"), "C:\\Apps\\Prod");
  ASSERT_TRUE(group);
  EXPECT_EQ(group->FileName, "C:\\Apps\\Prod\\setup.exe");
  EXPECT_EQ(group->Arguments, "/CleanUp");
  EXPECT_FALSE(LoadCleanUpGroup(Script("[Cleanup]\r\nGroup=Vendor\r\n"), "C:\\Apps\\Prod"));
}

TEST_F(ScriptLoaderTest, UninstallExternalsAreExpandedWhenLoaded) {
  variables["Dir"] = "C:\\Apps";
  const TUninstallExternals externals = LoadUninstallExternals(
      Script("[UninstallExternals]\r\nKey=Viewer\r\nUninstallString=%Dir%\\unview.exe\r\n"
             "[WorkStationUninstallExternals]\r\nKey=Client\r\nUninstallString=%Dir%\\uncl.exe\r\n"),
      Env());
  ASSERT_EQ(externals.Local.size(), 1u);
  EXPECT_EQ(externals.Local[0].Key, "Viewer");
  EXPECT_EQ(externals.Local[0].UninstallString, "C:\\Apps\\unview.exe");
  ASSERT_EQ(externals.WorkStation.size(), 1u);
  EXPECT_EQ(externals.WorkStation[0].UninstallString, "C:\\Apps\\uncl.exe");
}

TEST_F(ScriptLoaderTest, AnOptionSetWithoutPackFilesAndItsErrors) {
  const std::optional<TOptionSet> set = LoadOptionSet(
      Script("[IMainOption1]\r\nCaption=Main\r\n[ISubOption1.1]\r\nCaption=Files\r\nSelected=1\r\n"
             "[IDialogs]\r\nDeftCustMode=1\r\n"),
      1, run, Env());
  ASSERT_TRUE(set);
  ASSERT_EQ(set->Options->Count(), 1u);
  EXPECT_EQ(set->Options->Option(0)->Caption, "Main");
  EXPECT_EQ(set->Captions.DeftCustMode, 1);
  EXPECT_EQ(set->InstallSize, 0);  // no pack files to size
  EXPECT_EQ(set->FreeDiskSpace, 123456789);

  EXPECT_FALSE(LoadOptionSet(Script("[IMainOption2]\r\nCaption=Second\r\n"), 1, run, Env()));
  ASSERT_EQ(channel.Messages.size(), 1u);
  EXPECT_EQ(channel.Messages[0].message, FormatText(LanguageText(47), {"IMainOption1", "C:\\Dist\\setup.ini"}));
}

}  // namespace
}  // namespace vek
