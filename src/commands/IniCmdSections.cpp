#include "commands/IniCmdSections.h"

#include <memory>

#include "base/CaseMap.h"
#include "script/ScriptText.h"

namespace vek {
namespace {

constexpr std::string_view kWsuToken = "<WSU>";

void AddNamed(TOptionList& aList, TIniFileCmd aCmd) {
  if (!aCmd.IniFileName.empty()) aList.Add(std::make_unique<TIniFileCmd>(std::move(aCmd)));
}

// "<WSU>rest" as the workstation update file's record of the line: "%WSUPDATE%,Inifiles,rest".
TIniFileCmd WorkStationRecord(const std::string& aLine, const TIniCmdParseContext& aContext) {
  const std::string line = "%WSUPDATE%,Inifiles," + aLine.substr(kWsuToken.size());
  TIniFileCmd cmd = ParseIniFileCmd(aContext, true, line);
  cmd.EncodeSysDir = !FindTextMatch(aLine, "<NOSYSDIR>").found();
  return cmd;
}

}  // namespace

bool IsLoneDefinition(const TIniFileCmd& aCmd) {
  for (const TIniFileCmdOption option : {icDefPath, icDefVar, icDefVal, icDefExistsVal}) {
    if (aCmd.Option == TIniFileCmdOptions{option}) return true;
  }
  return false;
}

void LoadIniFileCmds(const std::vector<std::string>& aLines, const TIniCmdParseContext& aContext,
                     const TIniCmdRun& aRun, TOptionList& aList) {
  aList.Clear();
  for (const std::string& line : aLines) {
    if (StartsWithText(line, "UPDATEFIRST=")) continue;
    TIniFileCmd cmd = ParseIniFileCmd(aContext, false, line);
    if (IsLoneDefinition(cmd)) {
      cmd.Execute(aRun);
    } else {
      AddNamed(aList, std::move(cmd));
    }
    if (StartsWithText(line, kWsuToken)) AddNamed(aList, WorkStationRecord(line, aContext));
  }
}

}  // namespace vek
