#include "script/ScriptLoader.h"

#include "base/Format.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/LoaderRules.h"
#include "script/ScriptList.h"
#include "system/PathText.h"

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

std::int64_t FreeSpace(const TLoaderEnv& aEnv) {
  const std::int64_t free = aEnv.freeSpace ? aEnv.freeSpace() : -1;
  return free < 0 ? kUnknownFreeSpace : free;
}

bool ScriptMissing(const TScriptFile& aScript, const TLoaderEnv& aEnv) {
  return !aEnv.fileExists || !aEnv.fileExists(aScript.FileName());
}

void ReportLoadError(const TLoaderEnv& aEnv, const std::string& aMessage) {
  if (aEnv.channel) aEnv.channel->ShowMessage(LanguageText(txt::Msg_Error), aMessage, mtError);
}

std::string Numbered(const std::string& aName, int aNumber) { return aName + std::to_string(aNumber); }

// "<name><i>.<j>"
std::string Numbered(const std::string& aName, int aNumber, int aSubNumber) {
  return aName + std::to_string(aNumber) + "." + std::to_string(aSubNumber);
}

// "<P>SubOption<i>.<j>" for j = 1, 2, ... until one has no caption or cannot be read; false
// when the option ends up without any.
bool LoadSubOptions(const TScriptFile& aScript, TMainOption& aOption, int aNumber,
                    const TOptionLoadSettings& aSettings, const TLoaderEnv& aEnv) {
  const std::string prefix = InstallPrefix(aSettings.InstallMode) + "SubOption";
  for (int j = 1;; ++j) {
    auto sub = std::make_unique<TSubOption>();
    if (!sub->LoadFromIniFile(aScript, Numbered(prefix, aNumber, j), aSettings) || sub->Caption.empty()) break;
    aOption.SubOption.Add(std::move(sub));
  }
  if (aOption.SubOption.Count() != 0) return true;
  // A main option needs something to install.
  const std::string first = Numbered(prefix, aNumber, 1);
  if (aScript.ReadText(first, "Caption", "").empty()) {
    ReportLoadError(aEnv, FormatText(LanguageText(txt::LoadIniF_3), {first, aScript.FileName()}));
  }
  return false;
}

// "<P>MainOption<i>" for i = 1, 2, ... until one has no caption; the first must have one.
bool LoadMainOptions(const TScriptFile& aScript, const TOptionLoadSettings& aSettings, const TLoaderEnv& aEnv,
                     TOptionSet& aSet) {
  const std::string prefix = InstallPrefix(aSettings.InstallMode);
  for (int i = 1;; ++i) {
    auto option = std::make_unique<TMainOption>();
    const std::string section = Numbered(prefix + "MainOption", i);
    if (!option->LoadFromIniFile(aScript, section, aSettings)) return false;
    if (option->Caption.empty()) {
      if (i > 1) return true;
      ReportLoadError(aEnv, FormatText(LanguageText(txt::LoadIniF_3), {section, aScript.FileName()}));
      return false;
    }
    if (!LoadSubOptions(aScript, *option, i, aSettings, aEnv)) return false;
    if (option->Selected()) aSet.InstallSize = AddSize(aSet.InstallSize, option->GetSize());
    aSet.Options->Add(std::move(option));
  }
}

}  // namespace

std::optional<TSystemInfo> LoadSystemInfo(const TScriptFile& aScript, TRunContext& aRun, const TLoaderEnv& aEnv) {
  if (ScriptMissing(aScript, aEnv)) {
    ReportLoadError(aEnv, FormatText(LanguageText(txt::LoadIniF_2), {aScript.FileName()}));
    return std::nullopt;
  }
  const TExpandFn& expand = aEnv.expand;
  const auto text = [&aScript](const char* aKey, const std::string& aDefault) {
    return aScript.ReadText(kSystemInfo, aKey, aDefault);
  };
  const auto define = [&aEnv](const char* aName, const std::string& aValue) {
    if (aEnv.defineVariable) aEnv.defineVariable(aName, aValue);
  };

  TSystemInfo info;
  info.SystemVer = text("Version", "x.xx");
  define("SysVer", info.SystemVer);
  info.SystemFileVer = text("FileVersion", "");
  define("SysFileVer", info.SystemFileVer);

  const std::string flash = expand(text("Flash", ""));
  if (aRun.RunMode == rmInstall) info.FlashStr = flash;
  if (aRun.RunMode == rmWorkStationSetup || aRun.RunMode == rmWorkStationUpdate) {
    info.FlashStr = expand(text("WSFlash", flash));
  }

  ReadSystemPaths(aScript, aRun, expand);

  info.SystemName = text("Name", "SystemName");
  info.SystemTitle = text("Title", info.SystemName);
  info.WelcomeTitle = text("WelcomeTitle", info.SystemTitle);
  info.SetupCaption = FormatText(LanguageText(txt::Setup_Caption),
                                 {aEnv.translate ? aEnv.translate(info.SystemName) : info.SystemName});

  info.SaveCleanUpInfo = aScript.ReadBool(kSystemInfo, "SaveCleanUp", true);
  info.SaveCleanUpProgInfo = aScript.ReadBool(kSystemInfo, "SaveProgInfo", true);
  info.CopySetupExeFile = aScript.ReadBool(kSystemInfo, "CopySetup", true);
  info.EncodeSysDir = aScript.ReadBool(kSystemInfo, "EncodeSysDir", false);
  info.OemGui = aScript.ReadBool(kSystemInfo, "OemGui", false);

  info.InstallUserRights = ParseRightsRequirement(text("IUserRights", ""), aEnv.winMajor);
  info.UpdateUserRights = ParseRightsRequirement(text("UUserRights", ""), aEnv.winMajor);

  if (aRun.RunMode == rmInstall) {
    info.LicensAgreementTest = !text("aftmode", "").empty() || aScript.ReadInteger("Media", "blocks", -1) != -1;
    // The agreement and picture blocks are cut out of the script's lines by the info pages.
  }
  info.Installmode = aScript.ReadInteger(kSystemInfo, "Installmode", 0);
  info.UninstallInfo = ReadUninstallInfo(aScript, expand);
  info.FreeDiskSpace = FreeSpace(aEnv);
  return info;
}

TUninstallExternals LoadUninstallExternals(const TScriptFile& aScript, const TLoaderEnv& aEnv) {
  const TScriptRecordSource source(aScript);
  const TTextExpander expand = [&aEnv](std::string_view aText) { return aEnv.expand(aText); };
  return {LoadUninstallRecords(source, "UninstallExternals", expand),
          LoadUninstallRecords(source, "WorkStationUninstallExternals", expand)};
}

std::optional<TOptionSet> LoadOptionSet(const TScriptFile& aScript, int aInstallMode, const TRunContext& aRun,
                                        const TLoaderEnv& aEnv) {
  if (ScriptMissing(aScript, aEnv)) {
    ReportLoadError(aEnv, FormatText(LanguageText(txt::LoadIniF_2), {aScript.FileName()}));
    return std::nullopt;
  }
  TOptionSet set;
  set.Captions = LoadDialogCaptions(aScript, aInstallMode);
  set.Options = std::make_unique<TMainOptionList>();
  // Start and final info pages join here with their records, then the choices.
  const bool silent = !aEnv.channel || aEnv.channel->Silent();
  const TOptionLoadSettings settings{aInstallMode,   silent,         aEnv.winMajor,
                                     aRun.SourceDir, aEnv.packFiles, aEnv.channel};
  if (!LoadMainOptions(aScript, settings, aEnv, set)) return std::nullopt;
  set.FreeDiskSpace = FreeSpace(aEnv);
  return set;
}

TDialogCaptions LoadDialogCaptions(const TScriptFile& aScript, int aInstallMode) {
  const std::string section = InstallPrefix(aInstallMode) + "Dialogs";
  return {aScript.ReadText(section, "DefaultBtn", LanguageText(txt::contr_Default)),
          aScript.ReadText(section, "DefaultLabel", LanguageText(txt::DeftCust_2)),
          aScript.ReadText(section, "CustomBtn", LanguageText(txt::contr_Custom)),
          aScript.ReadText(section, "CustomLabel", LanguageText(txt::DeftCust_3)),
          aScript.ReadInteger(section, "DeftCustMode", 0)};
}

std::optional<TCleanUpGroup> LoadCleanUpGroup(const TScriptFile& aScript, const std::string& aSystemInstallDir) {
  const std::string group = aScript.ReadText("Cleanup", "Group", "");
  const std::string title = aScript.ReadText("Cleanup", "Title", "");
  if (group.empty() || title.empty()) return std::nullopt;
  return TCleanUpGroup{group, title, JoinPath(aSystemInstallDir, "setup.exe"), "/CleanUp", false};
}

}  // namespace vek
