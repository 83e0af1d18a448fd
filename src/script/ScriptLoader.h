#pragma once
// The script loader: reads the sections of the setup script that describe the system as a whole
// into the engine and the run context. Each operation takes the engine, whose script store
// (TSetupEngine::Script) it reads.
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
#include <string>

namespace vek {

class TSetupEngine;
class TScriptFile;
class TMainOption;
struct TOptionLoadSettings;
struct TExpandScope;

// Reads the whole file into a new store; a missing or unreadable file gives an empty one.
// Files without a byte-order mark are read in the system's ANSI code page.
void OpenScriptFile(TScriptFile& aScript, const std::string& aFileName);

class TScriptLoader {
 public:
  // "System Info" and "UnInstall" into the engine's fields and the run's paths; the user
  // variables SysVer and SysFileVer. A missing script file is reported and loads nothing.
  static void LoadSystemSection(TSetupEngine& aEngine);
  // The dialog captions, the main options with their sub-options (a new list in force, the
  // selected size in Installsize) and the free space. False, after reporting it, when the
  // script file is missing or names no usable main option.
  static bool LoadOptions(TSetupEngine& aEngine);
  // "<P>MainOption<i>" for i = 1, 2, ... until one has no caption; the first must have one.
  static bool LoadMainOptions(TSetupEngine& aEngine);
  // "<P>SubOption<i>.<j>" for j = 1, 2, ... until one has no caption or cannot be read; false
  // when the option ends up without any.
  static bool LoadSubOptions(TSetupEngine& aEngine, TMainOption& aOption, int aNumber,
                             const TOptionLoadSettings& aSettings);
  // "IDialogs" or "UDialogs": the captions of the default/custom page and DeftCustMode.
  static void LoadDialogCaptions(TSetupEngine& aEngine);
  // "Cleanup": the cleanup shortcut when both Group and Title are given.
  static void LoadCleanUpGroup(TSetupEngine& aEngine);
  // "UVersionCheck", read from the script file on disk: the tests an update must pass.
  static void LoadVersionChecks(TSetupEngine& aEngine);
  // Update mode: where an earlier installation put main option aOption (from 1) and its
  // sub-option aSubOption. Empty when the script names no place or nothing is found there.
  static std::string LoadMainPath(TSetupEngine& aEngine, int aOption, const std::string& aOptionPath);
  static std::string LoadLibAlias(TSetupEngine& aEngine, int aOption, int aSubOption,
                                  const std::string& aOptionPath, const std::string& aLibName);
  // "UninstallExternals" and "WorkStationUninstallExternals": the uninstall records of the
  // external programs that this system installs here and on workstations.
  static void LoadUninstallExternals(TSetupEngine& aEngine);
  // Shows (unless silent) and logs a load error under the caption of error messages.
  static void ReportLoadError(TSetupEngine& aEngine, const std::string& aMessage);
};

}  // namespace vek
