// Fuzzes text expansion and the splitting of command lines. The input's first lines define user
// path variables ("P name=value"), user variables ("V name=value") and the run's folders
// ("S folder"); the rest is expanded in every scope and split as an INI command line. Values
// may refer to themselves and to each other: expansion must end all the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "commands/IniFileCmd.h"
#include "script/Expand.h"
#include "script/NetMarkers.h"

namespace {

using namespace vek;

// Reads the definition lines at the start of the input; returns the rest.
std::string_view ReadDefinitions(std::string_view aInput, TUserVariables& aVars, TRunContext& aRun) {
  while (aInput.size() > 2 && (aInput[0] == 'P' || aInput[0] == 'V' || aInput[0] == 'S') && aInput[1] == ' ') {
    const std::size_t end = aInput.find('\n');
    const std::string_view line = aInput.substr(2, end == std::string_view::npos ? std::string_view::npos : end - 2);
    const std::size_t equals = line.find('=');
    const std::string_view name = line.substr(0, equals);
    const std::string_view value = equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
    if (aInput[0] == 'P') aVars.SetPathVariable(name, value);
    if (aInput[0] == 'V') aVars.SetVariable(name, value);
    if (aInput[0] == 'S') aRun.SystemInstallDir = aRun.SourceDir = std::string(line);
    if (end == std::string_view::npos) return {};
    aInput.remove_prefix(end + 1);
  }
  return aInput;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize) {
  const std::string_view input(reinterpret_cast<const char*>(aData), aSize);
  TRunContext run;
  TUserVariables vars;
  const std::string_view text = ReadDefinitions(input, vars, run);
  run.InstallRootList = {"Root"};
  run.InstallRootIndex = 0;
  TExpandContext context{run, vars, {"C:\\WINDOWS", "C:\\WINDOWS\\system32", "C:\\CF", "C:\\PF", true},
                         TLanguageSelection{"1030", "dk"}, [] { return std::string("now"); },
                         [] { return std::string("C:\\ws.wsupdate"); }};

  TExpandScope option;
  option.OptionPath = "C:\\Opt%OPTIONPATH%";
  option.SubOption = TSubOptionNames{"%LIBNAME%", "%INSTALLPATH%"};
  option.External = TExternalNames{"%INIFILEENTRY%", "%REGINIPATH%"};
  option.UpperCase = true;
  for (const TRunMode mode : {rmInstall, rmWorkStationSetup, rmWorkStationUpdate}) {
    run.RunMode = mode;
    for (const TExpandScope& scope : {TExpandScope{}, option}) (void)ExpandVars(context, scope, text);
    (void)EncodeSysDir(run, text);
  }
  (void)ApplyNetMarkers(text, true);
  const TIniCmdParseContext parse{context, option, true, nullptr};
  (void)ParseIniFileCmd(parse, true, text);
  (void)ParseIniFileCmd(parse, false, text);
  return 0;
}
