#include "commands/IniFileCmd.h"

#include <array>

#include "base/CaseMap.h"
#include "script/ScriptText.h"

namespace vek {
namespace {

struct TExactToken {
  std::string_view text;
  TIniFileCmdOption option;
};

constexpr std::array<TExactToken, 12> kExactTokens{{
    {"<FILEEXISTS>", icFileExists},
    {"<FILENOTEXISTS>", icFileNotExists},
    {"<KEYEXISTS>", icKeyExists},
    {"<KEYNOTEXISTS>", icKeyNotExists},
    {"<NET>", icNet},
    {"<NONET>", icNoNet},
    {"<TS>", icTS},
    {"<NOTS>", icNoTS},
    {"<DELETESECTION>", icDeleteSection},
    {"<DELETEKEY>", icDeleteKey},
    {"<RENAMEKEY>", icRenameKey},
    {"<ARANGE>", icArrange},
}};

// Tokens that carry a variable name after their prefix, up to the closing ">".
constexpr std::array<TExactToken, 6> kNamedTokens{{
    {"<IFNOT ", icIfNot},
    {"<IF ", icIf},
    {"<DEFPATH ", icDefPath},
    {"<DEFVAR ", icDefVar},
    {"<DEFVAL ", icDefVal},
    {"<DEFEXISTSVAL ", icDefExistsVal},
}};

static_assert(kExactTokens.size() + kNamedTokens.size() == icArrange + 1, "every option has its token");

bool IsComparison(TIniFileCmdOption aOption) { return aOption == icIf || aOption == icIfNot; }

void ApplyNamedToken(TIniFileCmd& aCmd, TIniFileCmdOption aOption, std::string_view aName) {
  aCmd.Option.Include(aOption);
  aCmd.varname = std::string(aName);
  if (!IsComparison(aOption)) return;
  const std::size_t equals = aName.find('=');
  if (equals == std::string_view::npos) return;
  aCmd.varname = std::string(aName.substr(0, equals));
  aCmd.VarValue = std::string(aName.substr(equals + 1));
  aCmd.VarTest = "=";
}

void ApplyToken(TIniFileCmd& aCmd, std::string_view aToken) {
  for (const TExactToken& exact : kExactTokens) {
    if (SameText(aToken, exact.text)) {
      aCmd.Option.Include(exact.option);
      return;
    }
  }
  if (SameText(aToken, "<SYSDIR>") || SameText(aToken, "<NOSYSDIR>")) {
    aCmd.EncodeSysDir = SameText(aToken, "<SYSDIR>");
    return;
  }
  for (const TExactToken& named : kNamedTokens) {
    if (StartsWithText(aToken, named.text)) {
      ApplyNamedToken(aCmd, named.option, aToken.substr(named.text.size(), aToken.size() - named.text.size() - 1));
      return;
    }
  }
  // Any other token (such as "<WSU>", which the loader handles before) has no effect.
}

void MarkHomeDir(std::string& aText) {
  ReplaceAllText(aText, "%INSTALLPATH%", "%HOMEDIR%");
  ReplaceAllText(aText, "%SYSTEMPATH%", "%HOMEDIR%");
}

}  // namespace

std::unique_ptr<TOptionItem> TIniFileCmd::Copy() const {
  auto copy = std::make_unique<TIniFileCmd>();
  copy->IniFileName = IniFileName;
  copy->Section = Section;
  copy->Key = Key;
  copy->Value = Value;
  copy->EncodeSysDir = EncodeSysDir;
  return copy;
}

std::string TIniFileCmd::SetOption(std::string_view aOption) {
  Option = {};
  std::string_view rest = aOption;
  while (rest.starts_with('<')) {
    const std::size_t close = rest.find('>');
    if (close == std::string_view::npos) break;
    ApplyToken(*this, rest.substr(0, close + 1));
    rest.remove_prefix(close + 1);
  }
  return std::string(rest);
}

std::string TIniFileCmd::SetOptionAndIniFileName(std::string_view aOption) {
  const std::string rest = SetOption(aOption);
  const std::size_t comma = rest.find(',');
  IniFileName = rest.substr(0, comma);
  CmdType = FindTextMatch(IniFileName, "HKEY_").found() ? itRegistry : itIniFile;
  return comma == std::string::npos ? std::string() : rest.substr(comma + 1);
}

TIniFileCmd ParseIniFileCmd(const TIniCmdParseContext& aContext, bool aForWorkStation, std::string_view aLine) {
  TIniFileCmd cmd;
  if (StartsWithText(aLine, "UPDATEFIRST=")) return cmd;
  cmd.EncodeSysDir = aContext.EncodeSysDir;
  const std::string line = aContext.Translate ? aContext.Translate(aLine) : std::string(aLine);
  const std::string rest = cmd.SetOptionAndIniFileName(line);

  TExpandScope scope = aContext.Scope;
  scope.UpperCase = true;
  cmd.IniFileName = ExpandVars(aContext.Expand, scope, cmd.IniFileName);

  const std::size_t comma = rest.find(',');
  cmd.Section = rest.substr(0, comma);  // taken literally, without expansion
  if (comma == std::string::npos) return cmd;
  const std::string entry = rest.substr(comma + 1);
  const std::size_t equals = entry.find('=');
  cmd.Key = entry.substr(0, equals);
  if (equals != std::string::npos) cmd.Value = entry.substr(equals + 1);

  if (aForWorkStation) {
    MarkHomeDir(cmd.Key);
    if (cmd.Key.starts_with("<IF")) MarkHomeDir(cmd.Value);
  }
  scope.UpperCase = false;
  cmd.Key = ExpandVars(aContext.Expand, scope, cmd.Key);
  cmd.Value = ExpandVars(aContext.Expand, scope, cmd.Value);
  return cmd;
}

}  // namespace vek
