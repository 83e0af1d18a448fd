#include "app/HelpText.h"

#include <array>

#include "base/Format.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"

namespace vek {
namespace {

constexpr std::array kRows{
    THelpRow{"/Q, /QN, /Y", txt::Help_Silent},
    THelpRow{"/LANG:code", txt::Help_Language},
    THelpRow{"/I", txt::Help_Install},
    THelpRow{"/I:path", txt::Help_InstallTo},
    THelpRow{"/U", txt::Help_Update},
    THelpRow{"/U:path", txt::Help_UpdateTo},
    THelpRow{"/L:command", txt::Help_RunOnExit},
    THelpRow{"/LOG", txt::Help_Log},
    THelpRow{"/D", txt::Help_Default},
    THelpRow{"/C", txt::Help_Custom},
    THelpRow{"/O", txt::Help_AskOptions},
    THelpRow{"/s:folder", txt::Help_SourceDir},
    THelpRow{"/N", txt::Help_Network},
    THelpRow{"/TS", txt::Help_TerminalServer},
    THelpRow{"/V", txt::Help_OverrideVersion},
    THelpRow{"/X", txt::Help_SkipExtVersion},
    THelpRow{"/G, /WORKSTATIONSETUP", txt::Help_WorkStation},
    THelpRow{"/GU:path, /WORKSTATIONUPDATE:path", txt::Help_WorkStationUpdate},
    THelpRow{"/CLEANUP", txt::Help_CleanUp},
    THelpRow{"/UNINSTALL", txt::Help_Uninstall},
    THelpRow{"/CLEANUPWORKSTATION [folder], /UNINSTALLWORKSTATION [folder]", txt::Help_CleanUpWorkStation},
    THelpRow{"/RUNCLEANUP, /RUNCLEANUPWORKSTATION", txt::Help_RunCleanUp},
    THelpRow{"/WAIT", txt::Help_Wait},
    THelpRow{"/RESULT:file", txt::Help_Result},
    THelpRow{"/?, /HELP", txt::Help_Help},
};

}  // namespace

std::span<const THelpRow> HelpRows() { return kRows; }

std::string HelpText(std::string_view aProgramName) {
  std::string text = FormatText(LanguageText(txt::Help_Usage), {std::string(aProgramName)}) + "\r\n\r\n";
  for (const THelpRow& row : kRows) {
    text.append(row.switches).append("\t").append(LanguageText(row.text)).append("\r\n");
  }
  return text + "\r\n" + LanguageText(txt::Help_ExitCodes) + "\r\n";
}

}  // namespace vek
