#pragma once
// The script loader: reads the sections of the setup script that describe the system as a whole
// and returns them as values (a system-info record, an option set, uninstall records) that the
// engine keeps. It reads the script store and the run context; the platform's values and the
// run's text expansion come in through TLoaderEnv, so the loader is plain logic.
//
// Section families, by install prefix <P> ("I" install, "U" update) and numbers from 1:
//   System Info, Language, <code>_Texts, Media, UnInstall            read at start
//   <P>Dialogs, <P>StartInfo[<k>], <P>FinalInfo[<k>], Choice[<k>],
//   <P>Choice[<k>], <P>MainOption<i>, <P>SubOption<i>.<j>              read with the options
//   <P>External<k>, UninstallExternals, WorkStationUninstallExternals  read with the externals
//   UVersionCheck, UMainOption<i> MainPath, USubOption<i>.<j> LibAlias  checked in update mode
//   <P>IniFiles<i>.<j>, <P>Groups<i>.<j>, <P>WorkStationGroups<i>.<j>,
//   Cleanup                                                           read when installing files
//   Groups, Files, CleanUpFiles, IniFiles                             workstation runs
// A numbered series ends at the first number whose section yields nothing.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/UserChannel.h"
#include "script/CleanUpGroup.h"
#include "script/InstallOptions.h"
#include "script/RunContext.h"
#include "script/ScriptFile.h"
#include "script/UnInstallInfo.h"

namespace vek {

class IZipFileSystem;

// What the loaders need besides the script.
struct TLoaderEnv {
  // Text variables replaced with the run's values at the moment of the call.
  std::function<std::string(std::string_view)> expand;
  // The script's translation of a text, its variables replaced when the translation changed it.
  std::function<std::string(std::string_view)> translate;
  // Defines a user variable of the run (SysVer, SysFileVer), visible to later expansions.
  std::function<void(const std::string& aName, const std::string& aValue)> defineVariable;
  // Where load errors are shown and logged.
  IUserChannel* channel = nullptr;
  // The platform: the Windows major version (for "POWERUSER"), the free space of the current
  // drive in bytes (negative: unknown), whether a file exists, and the pack files' file system.
  unsigned winMajor = 0;
  std::function<std::int64_t()> freeSpace;
  std::function<bool(const std::string&)> fileExists;
  IZipFileSystem* packFiles = nullptr;
};

// "System Info" and "UnInstall" of the script.
struct TSystemInfo {
  std::string SystemVer;
  std::string SystemFileVer;
  std::string FlashStr;  // already expanded; empty in the cleanup modes
  std::string SystemName;
  std::string SystemTitle;
  std::string WelcomeTitle;
  std::string SetupCaption;  // text 65 with the translated system name
  bool SaveCleanUpInfo = true;
  bool SaveCleanUpProgInfo = true;
  bool CopySetupExeFile = true;
  bool EncodeSysDir = false;
  bool OemGui = false;
  std::uint8_t InstallUserRights = 0;  // TRightsFlag bits an installation needs
  std::uint8_t UpdateUserRights = 0;   // and an update
  bool LicensAgreementTest = false;
  int Installmode = 0;  // the script's "Installmode": 0 not given, 1 install, 2 update
  TUnInstallInfo UninstallInfo;
  std::int64_t FreeDiskSpace = 0;
};

// The captions of the default/custom page ("IDialogs" or "UDialogs").
struct TDialogCaptions {
  std::string DefaultBtn;
  std::string DefaultLabel;
  std::string CustomBtn;
  std::string CustomLabel;
  int DeftCustMode = 0;
};

// The main options with their sub-options as loaded (the default selection).
struct TOptionSet {
  std::unique_ptr<TMainOptionList> Options;
  TDialogCaptions Captions;
  std::int64_t InstallSize = 0;  // of the selected options
  std::int64_t FreeDiskSpace = 0;
};

struct TUninstallExternals {
  std::vector<TUnInstallInfo> Local;        // "UninstallExternals"
  std::vector<TUnInstallInfo> WorkStation;  // "WorkStationUninstallExternals"
};

// Reads the whole file into a new store; a missing or unreadable file gives an empty one.
// Files without a byte-order mark are read in the system's ANSI code page. (Windows build.)
void OpenScriptFile(TScriptFile& aScript, const std::string& aFileName,
                    const TScriptFile::TLinesFilterMaker& aLinesFilter = {});

// The system section; it also sets the run's paths (install path, roots, system folders) in
// aRun. Nothing, after reporting it, when the script file is missing.
std::optional<TSystemInfo> LoadSystemInfo(const TScriptFile& aScript, TRunContext& aRun, const TLoaderEnv& aEnv);

// The dialog captions and the main options with their sub-options for aInstallMode (1 install,
// 2 update). Nothing, after reporting it, when the script file is missing or names no usable
// main option.
std::optional<TOptionSet> LoadOptionSet(const TScriptFile& aScript, int aInstallMode, const TRunContext& aRun,
                                        const TLoaderEnv& aEnv);
TDialogCaptions LoadDialogCaptions(const TScriptFile& aScript, int aInstallMode);

// "Cleanup": the cleanup shortcut when both Group and Title are given.
std::optional<TCleanUpGroup> LoadCleanUpGroup(const TScriptFile& aScript, const std::string& aSystemInstallDir);

// The uninstall records of the external programs that this system installs here and on
// workstations, expanded now: a cleanup run reads them back without this run's values.
TUninstallExternals LoadUninstallExternals(const TScriptFile& aScript, const TLoaderEnv& aEnv);

}  // namespace vek
