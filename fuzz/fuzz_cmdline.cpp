// Fuzzes the program's command line: the input is one command line, split as the runtime does
// and read by both passes, then the source folder is decided and the relaunch command line
// built. A file "exists" when its name contains "INI" (so both the script-found and the
// script-missing ways are taken). Any crash, sanitizer report or hang is a defect.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/CmdLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize) {
  using namespace vek;
  const std::string_view line(reinterpret_cast<const char*>(aData), aSize);
  CmdLineHost host;
  host.programPath = "C:\\Dist\\setup.exe";
  host.fileExists = [](const std::string& aPath) { return aPath.find("INI") != std::string::npos; };
  host.fullPath = [](const std::string& aPath) {
    return aPath.size() > 1 && aPath[1] == ':' ? aPath : "C:\\Work\\" + aPath;
  };
  host.tempDir = [] { return std::string("C:\\Temp\\"); };
  host.copyFile = [](const std::string&, const std::string&) { return true; };

  std::vector<std::string> args = SplitCommandLine(line);
  if (!args.empty()) args.erase(args.begin());
  TRunContext context;
  TCmdLineSettings settings;
  ChooseRunModeAndScript(args, context, settings, host);
  (void)ReadSwitches(args, context, settings, host);
  DecideSourceDirAndRunHere(context, host);
  (void)RelaunchCommandLine("C:\\Temp\\VekSetup.exe", context);
  return 0;
}
