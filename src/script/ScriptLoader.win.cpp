#include "script/ScriptLoader.h"

#include "archive/ZipFiles.h"
#include "base/Format.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "script/LoaderRules.h"
#include "script/NetMarkers.h"
#include "script/InstallOptions.h"
#include "script/ScriptList.h"
#include "script/SystemValueSource.h"
#include "system/AnsiCodePage.h"
#include "system/Drives.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "system/SysInfo.h"
#include "ui/Msgdlg.h"

namespace vek {
namespace {

constexpr const char* kSystemInfo = "System Info";
constexpr std::int64_t kUnknownFreeSpace = 2147483648;  // when the system reports no count

using TExpandFn = std::function<std::string(std::string_view)>;

void SelectFirst(std::vector<std::string>& aList, int& aIndex, std::vector<std::string> aEntries) {
  aList = std::move(aEntries);
  aIndex = aList.empty() ? -1 : 0;
}

// InstallRoot, the install path and its drive keys, SystemDir and WorkStationRoot. The install
// path is expanded with the values known at this moment.
void ReadSystemPaths(const TScriptFile& aScript, TRunContext& aRun, const TExpandFn& aExpand) {
  SelectFirst(aRun.InstallRootList, aRun.InstallRootIndex, SplitScriptList(aScript.ReadText(kSystemInfo, "InstallRoot", "")));
  if (aRun.RunMode != rmWorkStationUpdate && aRun.InstallPath == "C:\\") {
    aRun.InstallPath = aScript.ReadText(kSystemInfo, "InstallDrive", aRun.InstallPath);
  }
  if (aRun.RunMode == rmWorkStationSetup) {
    aRun.InstallPath = aScript.ReadText(kSystemInfo, "WorkStationDrive", aRun.InstallPath);
  }
  aRun.InstallPath = aExpand(aRun.InstallPath);
  const std::string workStationRoot = Unquoted(aScript.ReadText(kSystemInfo, "WorkStationRoot", ""));
  if (aRun.RunMode == rmWorkStationUpdate && aRun.InstallPath.empty()) {
    aRun.InstallPath = JoinPath("C:\\", workStationRoot);
  }
  SelectFirst(aRun.SystemDirList, aRun.SystemDirIndex, SplitScriptList(aScript.ReadText(kSystemInfo, "SystemDir", "")));
  aRun.WorkStationRootDir = workStationRoot;
}

TUnInstallInfo ReadUninstallInfo(const TScriptFile& aScript, const TExpandFn& aExpand) {
  TUnInstallInfo info;
  info.Key = aScript.ReadText("UnInstall", "Key", "");
  info.DisplayName = aExpand(aScript.ReadText("UnInstall", "DisplayName", ""));
  info.Publisher = aScript.ReadText("UnInstall", "Publisher", "");
  info.UninstallString = aScript.ReadText("UnInstall", "UninstallString", "");
  return info;
}

// The script as a source of uninstall records: text keys with the language override.
class TScriptRecordSource : public TIniAccess {
 public:
  explicit TScriptRecordSource(const TScriptFile& aScript) : fScript(aScript) {}
  std::string ReadString(const std::string& aSection, const std::string& aKey,
                         const std::string& aDefault) const override {
    return fScript.ReadText(aSection, aKey, aDefault);
  }
  bool WriteString(const std::string&, const std::string&, const std::string&) override { return false; }

 private:
  const TScriptFile& fScript;
};

std::int64_t FreeSpaceOfCurrentDrive() {
  const std::int64_t free = GetDiskFreeSpace(GetCurrentDir());
  return free < 0 ? kUnknownFreeSpace : free;
}

std::string Numbered(const char* aName, int aNumber) { return aName + std::to_string(aNumber); }

// "<name><i>.<j>"
std::string Numbered(const std::string& aName, int aNumber, int aSubNumber) {
  return aName + std::to_string(aNumber) + "." + std::to_string(aSubNumber);
}

}  // namespace

void OpenScriptFile(TScriptFile& aScript, const std::string& aFileName) {
  std::string bytes;
  (void)ReadWholeFile(aFileName, bytes);  // an unreadable file reads as an empty one
  aScript.Open(aFileName, bytes, AnsiToUtf8);
}

void TScriptLoader::ReportLoadError(TSetupEngine& aEngine, const std::string& aMessage) {
  aEngine.LogAndShowMsg(LanguageText(138), aMessage, mtError);
}

void TScriptLoader::LoadSystemSection(TSetupEngine& aEngine) {
  const TScriptFile& script = aEngine.fScript;
  if (!FileExists(script.FileName())) {
    ReportLoadError(aEngine, FormatText(LanguageText(46), {script.FileName()}));
    return;
  }
  TRunContext& run = aEngine.fContext;
  const TExpandFn expand = [&aEngine](std::string_view aText) { return aEngine.ExpandText(aText); };
  const auto text = [&script](const char* aKey, const std::string& aDefault) {
    return script.ReadText(kSystemInfo, aKey, aDefault);
  };

  aEngine.fSystemVer = text("Version", "x.xx");
  aEngine.fUserVariables.SetVariable("SysVer", aEngine.fSystemVer);
  aEngine.fSystemFileVer = text("FileVersion", "");
  aEngine.fUserVariables.SetVariable("SysFileVer", aEngine.fSystemFileVer);

  const std::string flash = expand(text("Flash", ""));
  if (run.RunMode == rmInstall) aEngine.fFlashStr = flash;
  if (run.RunMode == rmWorkStationSetup || run.RunMode == rmWorkStationUpdate) {
    aEngine.fFlashStr = expand(text("WSFlash", flash));
  }

  ReadSystemPaths(script, run, expand);

  aEngine.fSystemName = text("Name", "SystemName");
  aEngine.fSystemTitle = text("Title", aEngine.fSystemName);
  aEngine.fWelcomeTitle = text("WelcomeTitle", aEngine.fSystemTitle);
  aEngine.fSetupCaption = FormatText(LanguageText(65), {aEngine.SystemName()});

  aEngine.fSaveCleanUpInfo = script.ReadBool(kSystemInfo, "SaveCleanUp", true);
  aEngine.fSaveCleanUpProgInfo = script.ReadBool(kSystemInfo, "SaveProgInfo", true);
  aEngine.fCopySetupExeFile = script.ReadBool(kSystemInfo, "CopySetup", true);
  aEngine.fEncodeSysDir = script.ReadBool(kSystemInfo, "EncodeSysDir", aEngine.fEncodeSysDir);
  aEngine.fOemGui = script.ReadBool(kSystemInfo, "OemGui", aEngine.fOemGui);

  const unsigned winMajor = GetWinVersion().major;
  aEngine.fInstallUserRights = ParseRightsRequirement(text("IUserRights", ""), winMajor);
  aEngine.fUpdateUserRights = ParseRightsRequirement(text("UUserRights", ""), winMajor);

  if (run.RunMode == rmInstall) {
    aEngine.fLicensAgreementTest = !text("aftmode", "").empty() || script.ReadInteger("Media", "blocks", -1) != -1;
    // The agreement and picture blocks are cut out of the script's lines by the info pages.
  }

  if (aEngine.fInstmode == 0) aEngine.fInstmode = script.ReadInteger(kSystemInfo, "Installmode", 0);
  if (aEngine.fInstmode == 0) aEngine.fInstallMode = 2;

  aEngine.fUninstallInfo = ReadUninstallInfo(script, expand);
  aEngine.fFreeDiskSpace = FreeSpaceOfCurrentDrive();
}

void TScriptLoader::LoadUninstallExternals(TSetupEngine& aEngine) {
  const TScriptRecordSource source(aEngine.fScript);
  // Expanded now: a cleanup run reads them back from the record without this run's values.
  const TTextExpander expand = [&aEngine](std::string_view aText) { return aEngine.ExpandText(aText); };
  aEngine.fUninstallExternals = LoadUninstallRecords(source, "UninstallExternals", expand);
  aEngine.fWorkStationUninstallExternals = LoadUninstallRecords(source, "WorkStationUninstallExternals", expand);
}

bool TScriptLoader::LoadOptions(TSetupEngine& aEngine) {
  aEngine.fInstallSize = 0;
  if (!FileExists(aEngine.fScript.FileName())) {
    ReportLoadError(aEngine, FormatText(LanguageText(46), {aEngine.fScript.FileName()}));
    return false;
  }
  LoadDialogCaptions(aEngine);
  // Start and final info pages join here with their records, then the choices.
  if (!LoadMainOptions(aEngine)) return false;
  aEngine.fFreeDiskSpace = FreeSpaceOfCurrentDrive();
  return true;
}

bool TScriptLoader::LoadMainOptions(TSetupEngine& aEngine) {
  aEngine.CustomMainOptionList.reset();
  aEngine.NormalMainOptionList = std::make_unique<TMainOptionList>();
  aEngine.MainOptionList = aEngine.NormalMainOptionList.get();
  const TScriptFile& script = aEngine.fScript;
  const std::string prefix = InstallPrefix(aEngine.fInstallMode);
  const TOptionLoadSettings settings{aEngine.fInstallMode, aEngine.fSilent, GetWinVersion().major,
                                     aEngine.fContext.SourceDir, &NativeZipFiles()};
  for (int i = 1;; ++i) {
    auto option = std::make_unique<TMainOption>();
    const std::string section = Numbered((prefix + "MainOption").c_str(), i);
    if (!option->LoadFromIniFile(script, section, settings)) return false;
    if (option->Caption.empty()) {
      if (i > 1) return true;
      ReportLoadError(aEngine, FormatText(LanguageText(47), {section, script.FileName()}));
      return false;
    }
    if (!LoadSubOptions(aEngine, *option, i, settings)) return false;
    if (option->Selected()) aEngine.fInstallSize = AddSize(aEngine.fInstallSize, option->GetSize());
    aEngine.NormalMainOptionList->Add(std::move(option));
  }
}

bool TScriptLoader::LoadSubOptions(TSetupEngine& aEngine, TMainOption& aOption, int aNumber,
                                   const TOptionLoadSettings& aSettings) {
  const std::string prefix = InstallPrefix(aEngine.fInstallMode) + "SubOption";
  for (int j = 1;; ++j) {
    auto sub = std::make_unique<TSubOption>();
    if (!sub->LoadFromIniFile(aEngine.fScript, Numbered(prefix, aNumber, j), aSettings) || sub->Caption.empty()) break;
    aOption.SubOption.Add(std::move(sub));
  }
  if (aOption.SubOption.Count() != 0) return true;
  // A main option needs something to install.
  const std::string first = Numbered(prefix, aNumber, 1);
  if (aEngine.fScript.ReadText(first, "Caption", "").empty()) {
    ReportLoadError(aEngine, FormatText(LanguageText(47), {first, aEngine.fScript.FileName()}));
  }
  return false;
}

void TScriptLoader::LoadDialogCaptions(TSetupEngine& aEngine) {
  const TScriptFile& script = aEngine.fScript;
  const std::string section = InstallPrefix(aEngine.fInstallMode) + "Dialogs";
  aEngine.fDefaultBtnCaption = script.ReadText(section, "DefaultBtn", LanguageText(16));
  aEngine.fDefaultLabelCaption = script.ReadText(section, "DefaultLabel", LanguageText(26));
  aEngine.fCustomBtnCaption = script.ReadText(section, "CustomBtn", LanguageText(17));
  aEngine.fCustomLabelCaption = script.ReadText(section, "CustomLabel", LanguageText(27));
  if (aEngine.fDeftCustMode == -1) aEngine.fDeftCustMode = script.ReadInteger(section, "DeftCustMode", 0);
}

void TScriptLoader::LoadCleanUpGroup(TSetupEngine& aEngine) {
  const std::string group = aEngine.fScript.ReadText("Cleanup", "Group", "");
  const std::string title = aEngine.fScript.ReadText("Cleanup", "Title", "");
  aEngine.fCleanUpGrp.reset();
  if (group.empty() || title.empty()) return;
  aEngine.fCleanUpGrp =
      TCleanUpGroup{group, title, JoinPath(aEngine.fContext.SystemInstallDir, "setup.exe"), "/CleanUp", false};
}

void TScriptLoader::LoadVersionChecks(TSetupEngine& aEngine) {
  const TSystemValueSource disk;
  const std::string file = aEngine.fScript.FileName();
  const std::string code = aEngine.fScript.LangCode();
  const auto read = [&](const std::string& aKey) { return ReadFileText(disk, code, file, "UVersionCheck", aKey, ""); };
  aEngine.fVersionCheckList.clear();
  for (int number = 0; number <= 10; ++number) {
    const std::string suffix = number == 0 ? std::string() : std::to_string(number);
    const std::string value = ApplyNetMarkers(read("File" + suffix), aEngine.fContext.doNetInstall);
    if (value.empty()) continue;
    const TVersionCheckLine line = SplitVersionCheckLine(value);
    aEngine.fVersionCheckList.push_back(TFileVersionCheck{aEngine.ExpandText(line.file), aEngine.ExpandText(line.section),
                                                         aEngine.ExpandText(line.test),
                                                         aEngine.ExpandText(read("Error" + suffix))});
  }
}

std::string TScriptLoader::LoadMainPath(TSetupEngine& aEngine, int aOption, const std::string& aOptionPath) {
  const std::string reference = aEngine.fScript.ReadText(Numbered("UMainOption", aOption), "MainPath", "");
  TExpandScope scope;
  scope.OptionPath = aOptionPath;
  const std::string path = aEngine.ExpandText(aEngine.ReadCommandValue(reference), scope);
  return ExcludeTrailingPathDelimiter(path);
}

std::string TScriptLoader::LoadLibAlias(TSetupEngine& aEngine, int aOption, int aSubOption,
                                        const std::string& aOptionPath, const std::string& aLibName) {
  const std::string section = Numbered(std::string("USubOption"), aOption, aSubOption);
  const std::string alias = aEngine.ReadCommandValue(aEngine.fScript.ReadText(section, "LibAlias", ""));
  TExpandScope scope;
  scope.OptionPath = aOptionPath;
  scope.SubOption = TSubOptionNames{aLibName, alias};
  return aEngine.ExpandText(alias, scope);
}

}  // namespace vek
