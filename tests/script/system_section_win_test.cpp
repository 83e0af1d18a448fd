// The loader fills the engine and the run's paths from real script files: the system section
// in three encodings with a language override and non-ASCII text, the workstation variants,
// the version checks and update paths read from disk, and the load errors.
#include <gtest/gtest.h>

#include <optional>

#include "base/Format.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "script/LoaderRules.h"
#include "script/ScriptLoader.h"
#include "system/Files.h"
#include "system/SysInfo.h"
#include "ui/Msgdlg.h"
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

class SystemSectionTest : public ::testing::Test {
 protected:
  void SetUp() override { SelectLanguage("dk"); }
  void TearDown() override {
    SelectLanguage("uk");
    SetMessageDialogHandler(nullptr);
    if (!scriptPath.empty()) (void)DeleteFileAt(scriptPath);
  }

  // Writes the script and loads its system section into a new engine.
  TSetupEngine& Load(const std::string& aBytes, TRunMode aMode = rmInstall) {
    scriptPath = GetTempDir() + "vek_system_section.ini";
    (void)DeleteFileAt(scriptPath);
    EXPECT_TRUE(AppendToFile(scriptPath, aBytes).ok());
    run.RunMode = aMode;
    engine.emplace(run);
    engine->LoadScript(scriptPath);
    TScriptLoader::LoadSystemSection(*engine);
    return *engine;
  }

  TRunContext run;
  std::optional<TSetupEngine> engine;
  std::string scriptPath;
};

class SystemSectionEncodingTest : public SystemSectionTest, public ::testing::WithParamInterface<int> {};

TEST_P(SystemSectionEncodingTest, FillsTheEngineAndThePaths) {
  const std::string text = SystemScript();
  const std::string bytes[] = {"\xEF\xBB\xBF" + text, Utf16Bytes(text), Ansi1252(text)};
  TSetupEngine& e = Load(bytes[GetParam()]);

  EXPECT_EQ(e.SystemName(), kAero + " Produkt");  // dk_Name while the code is dk
  EXPECT_EQ(e.SystemTitle(), "Title");
  EXPECT_EQ(e.WelcomeTitle(), "Title");
  EXPECT_EQ(e.SetupCaption(), FormatText(LanguageText(65), {kAero + " Produkt"}));
  EXPECT_EQ(e.SystemVer(), "2.5");
  EXPECT_EQ(e.SystemFileVer(), "2.5.0.1");
  EXPECT_EQ(e.UserVariables().Value("SYSVER"), "2.5");
  EXPECT_EQ(e.UserVariables().Value("SysFileVer"), "2.5.0.1");
  EXPECT_EQ(e.FlashStr(), "Flash 2.5");

  EXPECT_EQ(run.InstallRootList, (std::vector<std::string>{"Program Files", "Tools"}));
  EXPECT_EQ(run.InstallRootIndex, 0);
  EXPECT_EQ(run.SystemDirList, std::vector<std::string>{"Prod"});
  EXPECT_EQ(run.SystemDirIndex, 0);
  EXPECT_EQ(run.InstallPath, "D:\\");  // InstallDrive, since no path came from the command line
  EXPECT_EQ(run.WorkStationRootDir, "Ws Root");

  EXPECT_FALSE(e.SaveCleanUpInfo());
  EXPECT_TRUE(e.SaveCleanUpProgInfo());
  EXPECT_FALSE(e.CopySetupExeFile());
  EXPECT_TRUE(e.EncodeSysDir());
  EXPECT_TRUE(e.OemGui());
  EXPECT_EQ(e.InstallUserRights(), rfAdministrator);
  EXPECT_EQ(e.UpdateUserRights(), GetWinVersion().major >= 6 ? rfAdministrator : rfPowerUser);
  EXPECT_TRUE(e.LicensAgreementTest());  // Media blocks is set
  EXPECT_EQ(e.Instmode(), 2);
  EXPECT_EQ(e.InstallMode(), 0);

  EXPECT_EQ(e.UninstallInfo().Key, "ProdKey");
  EXPECT_EQ(e.UninstallInfo().DisplayName, "2.5 " + kAero);
  EXPECT_EQ(e.UninstallInfo().Publisher, "Vendor");
  EXPECT_EQ(e.UninstallInfo().UninstallString, "%SYSDIR%setup.exe /CleanUp");  // expanded when registered
  EXPECT_GT(e.FreeDiskSpace(), 0);
}

INSTANTIATE_TEST_SUITE_P(Utf8Utf16Ansi, SystemSectionEncodingTest, ::testing::Values(0, 1, 2));

TEST_F(SystemSectionTest, DefaultsOfAnEmptySection) {
  SelectLanguage("uk");
  TSetupEngine& e = Load("[System Info]\r\n");
  EXPECT_EQ(e.SystemName(), "SystemName");
  EXPECT_EQ(e.SystemTitle(), "SystemName");
  EXPECT_EQ(e.WelcomeTitle(), "SystemName");
  EXPECT_EQ(e.SystemVer(), "x.xx");
  EXPECT_TRUE(e.SaveCleanUpInfo());
  EXPECT_TRUE(e.CopySetupExeFile());
  EXPECT_FALSE(e.EncodeSysDir());
  EXPECT_FALSE(e.LicensAgreementTest());
  EXPECT_EQ(e.InstallUserRights(), 0);
  EXPECT_EQ(e.InstallMode(), 2);  // no mode anywhere: update is preset for the question
  EXPECT_TRUE(run.InstallRootList.empty());
  EXPECT_EQ(run.InstallRootIndex, -1);
  EXPECT_EQ(run.SystemDirIndex, -1);
  EXPECT_EQ(run.InstallPath, "C:\\");
}

TEST_F(SystemSectionTest, CommandLineValuesWin) {
  run.InstallPath = "F:\\Given";
  engine.emplace(run);
  engine->SetInstmode(1);
  scriptPath = GetTempDir() + "vek_system_section.ini";
  (void)DeleteFileAt(scriptPath);
  ASSERT_TRUE(AppendToFile(scriptPath, SystemScript()).ok());
  engine->LoadScript(scriptPath);
  TScriptLoader::LoadSystemSection(*engine);
  EXPECT_EQ(run.InstallPath, "F:\\Given");
  EXPECT_EQ(engine->Instmode(), 1);  // the key Installmode is not read
}

TEST_F(SystemSectionTest, WorkStationRuns) {
  TSetupEngine& setup = Load(SystemScript(), rmWorkStationSetup);
  EXPECT_EQ(run.InstallPath, "E:\\");  // WorkStationDrive
  EXPECT_EQ(setup.FlashStr(), "Workstation 2.5.0.1");
  EXPECT_FALSE(setup.LicensAgreementTest());  // agreements belong to install runs

  run.InstallPath.clear();  // "/GU" with an empty folder
  Load(SystemScript(), rmWorkStationUpdate);
  EXPECT_EQ(run.InstallPath, "C:\\Ws Root");
}

TEST_F(SystemSectionTest, MissingScriptIsReportedAndLoadsNothing) {
  std::vector<std::string> shown;
  SetMessageDialogHandler([&](const MessageRequest& aRequest, bool&) {
    shown.push_back(aRequest.caption + "|" + aRequest.message);
    return std::uint16_t{1};
  });
  engine.emplace(run);
  engine->LoadScript(GetTempDir() + "vek_no_such_script.ini");
  TScriptLoader::LoadSystemSection(*engine);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], LanguageText(138) + "|" +
                          FormatText(LanguageText(46), {GetTempDir() + "vek_no_such_script.ini"}));
  EXPECT_EQ(engine->SystemName(), "");
  EXPECT_FALSE(TScriptLoader::LoadOptions(*engine));
  EXPECT_EQ(shown.size(), 2u);

  engine->SetSilent(true);  // silent runs show nothing
  TScriptLoader::LoadSystemSection(*engine);
  EXPECT_EQ(shown.size(), 2u);
}

TEST_F(SystemSectionTest, DialogCaptionsByInstallMode) {
  SelectLanguage("uk");
  TSetupEngine& e = Load("[IDialogs]\r\nDefaultBtn=&Typical\r\nDeftCustMode=2\r\n[UDialogs]\r\nCustomBtn=&Own\r\n");
  e.SetInstallMode(1);
  TScriptLoader::LoadDialogCaptions(e);
  EXPECT_EQ(e.DefaultBtnCaption(), "&Typical");
  EXPECT_EQ(e.CustomBtnCaption(), LanguageText(17));
  EXPECT_EQ(e.DefaultLabelCaption(), LanguageText(26));
  EXPECT_EQ(e.CustomLabelCaption(), LanguageText(27));
  EXPECT_EQ(e.DeftCustMode(), 2);
  e.SetInstallMode(2);
  e.SetDeftCustMode(1);  // given on the command line
  TScriptLoader::LoadDialogCaptions(e);
  EXPECT_EQ(e.DefaultBtnCaption(), LanguageText(16));
  EXPECT_EQ(e.CustomBtnCaption(), "&Own");
  EXPECT_EQ(e.DeftCustMode(), 1);
}

TEST_F(SystemSectionTest, CleanUpGroupNeedsGroupAndTitle) {
  TSetupEngine& e = Load("[Cleanup]\r\nGroup=Vendor\r\nTitle=Remove product\r\n");
  run.SystemInstallDir = "C:\\Apps\\Prod";
  TScriptLoader::LoadCleanUpGroup(e);
  ASSERT_TRUE(e.CleanUpGrp());
  EXPECT_EQ(e.CleanUpGrp()->FileName, "C:\\Apps\\Prod\\setup.exe");
  EXPECT_EQ(e.CleanUpGrp()->Arguments, "/CleanUp");
  TSetupEngine& without = Load("[Cleanup]\r\nGroup=Vendor\r\n");
  TScriptLoader::LoadCleanUpGroup(without);
  EXPECT_FALSE(without.CleanUpGrp());
}

TEST_F(SystemSectionTest, VersionChecksFromTheFileOnDisk) {
  TSetupEngine& e = Load(
      "[UVersionCheck]\r\n"
      "File=%SYSDIR%prog.exe,FixedFileVersion,>=1.2\r\n"
      "Error=Too old\r\n"
      "dk_Error=For gammel\r\n"
      "File1=<NET>net.ini,Sec,Key=1\r\n"
      "File2=<NoNet>local.ini,Sec,Key,=x\r\n"
      "Error2=Local %SysVer%\r\n"
      "File3=NoCommaAtAll\r\n"
      "File11=beyond the last number\r\n");
  run.SystemInstallDir = "C:\\Apps\\Prod";
  e.UserVariables().SetVariable("SysVer", "3");
  TScriptLoader::LoadVersionChecks(e);
  ASSERT_EQ(e.VersionCheckList().size(), 3u);  // File1 needs a network installation
  EXPECT_EQ(e.VersionCheckList()[0].filename, "C:\\Apps\\Prod\\prog.exe");
  EXPECT_EQ(e.VersionCheckList()[0].Section, "FixedFileVersion");
  EXPECT_EQ(e.VersionCheckList()[0].Test, ">=1.2");
  EXPECT_EQ(e.VersionCheckList()[0].ErrorText, "For gammel");
  EXPECT_EQ(e.VersionCheckList()[1].filename, "local.ini");
  EXPECT_EQ(e.VersionCheckList()[1].Test, "Key,=x");
  EXPECT_EQ(e.VersionCheckList()[1].ErrorText, "Local 3");
  EXPECT_EQ(e.VersionCheckList()[2].filename, "");
  EXPECT_EQ(e.VersionCheckList()[2].Section, "NoCommaAtAll");

  run.doNetInstall = true;
  TScriptLoader::LoadVersionChecks(e);
  ASSERT_EQ(e.VersionCheckList().size(), 3u);  // File1 instead of File2
  EXPECT_EQ(e.VersionCheckList()[1].filename, "net.ini");
}

TEST_F(SystemSectionTest, UpdatePathsFromAnEarlierInstallation) {
  const std::string old = GetTempDir() + "vek_old_install.ini";
  (void)DeleteFileAt(old);
  ASSERT_TRUE(AppendToFile(old, "[Paths]\r\nMain=D:\\Old\\Main\\\r\nLib=%OPTIONPATH%\\lib\r\n").ok());
  TSetupEngine& e = Load("[UMainOption1]\r\nMainPath=" + old + ",Paths,Main\r\n"
                         "[USubOption1.2]\r\nLibAlias=" + old + ",Paths,Lib\r\n"
                         "[UMainOption2]\r\nMainPath=" + old + ",Paths,Missing\r\n");
  EXPECT_EQ(TScriptLoader::LoadMainPath(e, 1, "C:\\New"), "D:\\Old\\Main");  // without trailing "\"
  EXPECT_EQ(TScriptLoader::LoadMainPath(e, 2, "C:\\New"), "");
  EXPECT_EQ(TScriptLoader::LoadMainPath(e, 3, "C:\\New"), "");  // no such section
  EXPECT_EQ(TScriptLoader::LoadLibAlias(e, 1, 2, "D:\\Old\\Main", "Lib"), "D:\\Old\\Main\\lib");
  EXPECT_EQ(TScriptLoader::LoadLibAlias(e, 1, 1, "D:\\Old\\Main", "Lib"), "");
  (void)DeleteFileAt(old);
}

}  // namespace
}  // namespace vek
