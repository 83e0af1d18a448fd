#pragma once
// The text of /? and /HELP: every switch the program reads and what it does, in the language of
// the run. README.md shows the same table; tests/docs holds the two together.
#include <span>
#include <string>
#include <string_view>

namespace vek {

struct THelpRow {
  std::string_view switches;  // as typed on the command line, never translated
  int text;                   // language text: what the switch does
};

// The rows in the order the help shows them.
std::span<const THelpRow> HelpRows();

// The whole help for the program file aProgramName: a heading, one line per row (switches, a
// tab, the meaning) and the exit codes; lines end with CR LF.
std::string HelpText(std::string_view aProgramName);

}  // namespace vek
