// The sub-options' INI and registry commands at stInstallFiles: loaded once for every selected
// main option, run by the file installation before or after each sub-option's files.
#include "commands/IniCmdSections.h"
#include "engine/SetupEngine.h"

namespace vek {

TIniCmdRun TSetupEngine::IniCmdRun() {
  if (!fIniRegistry) fIniRegistry = CreateSystemIniRegistry();
  return TIniCmdRun{*fIniRegistry,
                    fUserVariables,
                    *fChannel,
                    fContext.doNetInstall,
                    fContext.doTSInstall,
                    [this](std::string_view aText) { return vek::EncodeSysDir(fContext, aText); },
                    [this](const std::string& aLine) { Log(aLine); }};
}

void TSetupEngine::LoadSubOptionCommands(const std::string& aIniPrefix) {
  if (!MainOptionList) return;
  const TIniCmdRun run = IniCmdRun();
  for (std::size_t i = 0; i < MainOptionList->Count(); ++i) {
    TMainOption* option = MainOptionList->Option(i);
    if (!option || !option->Selected()) continue;
    for (std::size_t j = 0; j < option->SubOption.Count(); ++j) {
      TSubOption* sub = option->SubOptionAt(j);
      if (!sub) continue;
      const std::string section = aIniPrefix + std::to_string(i + 1) + "." + std::to_string(j + 1);
      sub->UpdateInifiles = fScript.ReadInteger(section, "UpdateFirst", -1);
      if (sub->UpdateInifiles == -1) {
        sub->IniFileCmdList = nullptr;
        continue;
      }
      TExpandScope scope;
      scope.OptionPath = option->Path;
      scope.SubOption = TSubOptionNames{sub->LibName, sub->LibAlias};
      if (!sub->IniFileCmdList) sub->IniFileCmdList = std::make_shared<TOptionList>();
      LoadIniFileCmds(fScript.SectionLines(section), IniCmdParseContext(scope), run, *sub->IniFileCmdList);
    }
  }
}

void TSetupEngine::ExecuteIniFileCmds(const TSubOption& aSubOption) {
  vek::ExecuteIniFileCmds(aSubOption.IniFileCmdList.get(), IniCmdRun());
}

}  // namespace vek
