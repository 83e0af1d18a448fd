#pragma once
// One INI or registry command of the script, as split from its line:
//
//   <OPTION><OPTION>...file,section,key=value
//
// Option tokens in angle brackets come first (a blank ends them); then the file part (an INI
// file, or a registry root such as HKEY_CURRENT_USER), the section (or registry key path), the
// entry name and the value. Only the first "," after the file part, the first "," after the
// section and the first "=" after that separate the parts; blanks belong to the parts, and the
// value may hold further "," and "=".
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "script/Expand.h"
#include "script/OptionList.h"

namespace vek {

// The option tokens, one bit each, in this order.
enum TIniFileCmdOption : std::uint8_t {
  icFileExists,     // "<FILEEXISTS>"
  icFileNotExists,  // "<FILENOTEXISTS>"
  icKeyExists,      // "<KEYEXISTS>"
  icKeyNotExists,   // "<KEYNOTEXISTS>"
  icNet,            // "<NET>"
  icNoNet,          // "<NONET>"
  icDeleteSection,  // "<DELETESECTION>"
  icDeleteKey,      // "<DELETEKEY>"
  icDefPath,        // "<DEFPATH name>"
  icDefVar,         // "<DEFVAR name>"
  icDefVal,         // "<DEFVAL name>"
  icDefExistsVal,   // "<DEFEXISTSVAL name>"
  icIf,             // "<IF name>" or "<IF name=value>"
  icIfNot,          // "<IFNOT name>" or "<IFNOT name=value>"
  icRenameKey,      // "<RENAMEKEY>"
  icTS,             // "<TS>"
  icNoTS,           // "<NOTS>"
  icArrange,        // "<ARANGE>"
};

class TIniFileCmdOptions {
 public:
  TIniFileCmdOptions() = default;
  TIniFileCmdOptions(std::initializer_list<TIniFileCmdOption> aOptions) {
    for (const TIniFileCmdOption option : aOptions) Include(option);
  }
  void Include(TIniFileCmdOption aOption) { fBits |= Bit(aOption); }
  bool Has(TIniFileCmdOption aOption) const { return (fBits & Bit(aOption)) != 0; }
  bool Empty() const { return fBits == 0; }
  std::uint32_t Bits() const { return fBits; }
  bool operator==(const TIniFileCmdOptions&) const = default;

 private:
  static std::uint32_t Bit(TIniFileCmdOption aOption) { return std::uint32_t{1} << aOption; }
  std::uint32_t fBits = 0;
};

enum TIniFIleCmdType : std::uint8_t { itIniFile, itRegistry };

struct TIniCmdRun;

struct TIniFileCmd : TOptionItem {
  std::string IniFileName;  // expanded and upper-cased: an INI file or a registry root name
  std::string Section;
  std::string Key;
  std::string Value;
  std::string varname;   // the variable of an IF, IFNOT or definition token, case as written
  std::string VarValue;  // the comparison value of "<IF name=value>"
  std::string VarTest;   // "=" when a comparison value was given
  TIniFileCmdOptions Option;
  TIniFIleCmdType CmdType = itIniFile;
  bool EncodeSysDir = false;  // write SystemInstallDir as %SYSDIR%

  // A command with the same file, section, key, value and EncodeSysDir; options and variable
  // tests are not carried over (lists that are run are parsed afresh from the script).
  std::unique_ptr<TOptionItem> Copy() const override;
  // Carries the command out once (IniFileCmdExecute.cpp). A failure is reported through the
  // run's channel and ends only this command. Writing an entry "#" fixes the number it got.
  void Execute(const TIniCmdRun& aRun);

  // Reads the option tokens at the start of aOption; returns the text after the last one.
  std::string SetOption(std::string_view aOption);
  // SetOption, then the file part and the command type; returns the text after the file
  // part's ",", or empty when there is none.
  std::string SetOptionAndIniFileName(std::string_view aOption);
};

// Everything that splitting a line needs besides the line.
struct TIniCmdParseContext {
  const TExpandContext& Expand;
  TExpandScope Scope;               // option and sub-option of the line; UpperCase is ignored
  bool EncodeSysDir = false;        // the script's EncodeSysDir setting, the default of each command
  // The script's translation of texts (no variables); unset: texts stay as written.
  std::function<std::string(std::string_view)> Translate;
};

// Builds the command of one script line. A line that begins with "UPDATEFIRST=" (any case)
// gives an empty command. With aForWorkStation, %INSTALLPATH% and %SYSTEMPATH% in the key (and
// in the value when the key begins with "<IF") become %HOMEDIR% before expansion, so that the
// workstation's own folder is filled in later.
TIniFileCmd ParseIniFileCmd(const TIniCmdParseContext& aContext, bool aForWorkStation, std::string_view aLine);

}  // namespace vek
