#pragma once
// Text variables: almost every path, command line, caption and INI value of a script may hold
// %NAME% references that are replaced by values known only at run time.
//
// Variables are replaced one after another in a fixed order (see kFixedVariables in
// Expand.cpp): %SYSTEMPATH%, %OPTIONPATH%, %LIBNAME%, %INSTALLPATH%, %WINCMDDIR%, %WINDIR%,
// %WINSYSTEMDIR%, %INIFILEENTRY%, %REGINIPATH%, %INSTALLFROM%, %COMMONFILES%, %PROGRAMFILES%,
// %WSUPDATE%, %NOW%, %LCID%, %LANGCODE%, then every user path variable and every user variable
// in the order they were defined, and %SYSDIR% last. Names are found without regard to case;
// inserted values keep their own case. A value that is inserted is never searched for the same
// name again, so expansion always ends: a variable whose value holds its own reference leaves
// that reference in the result as text (X = "a%X%" expands "%X%" to "a%X%"). A value may hold
// references to variables that come later in the order; those are replaced too.
//
// Afterwards the escape forms $NAME$ of the fixed variables and of every user variable become
// %NAME%: a script writes them to put a reference itself into an INI value, a shortcut or a
// workstation file, for a later expansion to replace.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "script/RunContext.h"
#include "script/UserVariables.h"

namespace vek {

// Folders of the running system; the caller asks the platform for them.
struct TSystemFolders {
  std::string WinDir;        // %WINDIR%
  std::string WinSystemDir;  // %WINSYSTEMDIR%
  std::string CommonFiles;   // %COMMONFILES%
  std::string ProgramFiles;  // %PROGRAMFILES%
  bool NtFamily = true;      // %WINCMDDIR% is the system folder on NT, the Windows folder before
};

// The selected option of the script's language choice.
struct TLanguageSelection {
  std::string Lcid;      // its locale number, %LCID%
  std::string LangCode;  // its language code, %LANGCODE%
};

// What every expansion of a run reads: run-wide values, the user variables and the platform.
struct TExpandContext {
  TRunContext& Run;  // WsUpdateFileName is filled on the first %WSUPDATE%
  const TUserVariables& Vars;
  TSystemFolders Folders;
  // Set only when an engine is present and its language choice has a selected option;
  // otherwise %LCID% and %LANGCODE% stay as they are.
  std::optional<TLanguageSelection> Language;
  std::function<std::string()> Now;  // the local date and time in the user's format
  // Creates the workstation update file of the run and gives its path.
  std::function<std::string()> CreateWsUpdateFile;
};

struct TSubOptionNames {
  std::string LibName;   // %LIBNAME%
  std::string LibAlias;  // %INSTALLPATH% when not empty
};

struct TExternalNames {
  std::string IniFileEntry;  // %INIFILEENTRY%
  std::string RegIniPath;    // %REGINIPATH%
};

// The option, sub-option or external program that one expansion is asked for.
struct TExpandScope {
  std::optional<std::string> OptionPath;     // the main option's Path
  std::optional<TSubOptionNames> SubOption;  // counts only together with a main option
  std::optional<TExternalNames> External;
  bool UpperCase = false;  // upper-case the whole result
};

std::string ExpandVars(const TExpandContext& aContext, const TExpandScope& aScope, std::string_view aText);

// The folder that %SYSDIR% stands for: SystemInstallDir in an install run, SourceDir otherwise.
std::string SysDirValue(const TRunContext& aRun);

// The reverse of %SYSDIR%, used when INI values, shortcuts and common-file records are written:
// the first occurrence of the system folder (SystemInstallDir in an install run, SourceDir in
// workstation setup and update runs), found without regard to case, becomes %SYSDIR%, together
// with a "\" right after it. Other runs, and an empty folder, leave the text as it is.
std::string EncodeSysDir(const TRunContext& aRun, std::string_view aText);

}  // namespace vek
