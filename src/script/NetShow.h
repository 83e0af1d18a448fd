#pragma once
// The condition code shared by info pages (NetShow) and external programs (NetRun): in which
// kinds of installation a page is shown or a program runs, by the run's network and
// terminal-server flags.
//   0 not network         4 terminal server                     8 neither
//   1 always              5 network and not terminal server     9 not network, or terminal server
//   2 network             6 terminal server and not network    10 not terminal server, or network
//   3 not terminal server 7 network and terminal server        any other code: never
namespace vek {

bool InstallationKindMatches(int aCode, bool aNetInstall, bool aTSInstall);

}  // namespace vek
