#pragma once
// Facts about the running system: its version and edition, and the screen's font size.
namespace vek {

struct WinVersion {
  unsigned major = 0;
  unsigned minor = 0;
  bool ntFamily = true;
  unsigned suiteMask = 0;  // product suite flags of the extended version information

  // Major version, ".", minor version read as one decimal number: 6.1 for version 6.1, 10 for
  // version 10.0. Scripts and steps compare versions by this number ("at least 4.0").
  double Number() const {
    double fraction = minor;
    while (fraction >= 1) fraction /= 10;
    return major + fraction;
  }

  // A multi-user terminal server: NT family, major version above 4, the product suite has the
  // terminal flag and not the single-user terminal flag (which every workstation with remote
  // desktop carries).
  bool IsTerminalServer() const {
    constexpr unsigned kTerminal = 0x0010;
    constexpr unsigned kSingleUserTerminal = 0x0100;
    return ntFamily && major > 4 && (suiteMask & kTerminal) && !(suiteMask & kSingleUserTerminal);
  }
};

// The running system's version; all zero when the system does not tell it.
WinVersion GetWinVersion();
// GetWinVersion().IsTerminalServer(): false as well when the version cannot be read.
bool IsTerminalServer();
// The locale identifier of the running thread (1033 for US English).
unsigned GetThreadLocaleId();
// The screen has the standard 96 pixels per logical inch (the "small fonts" setting).
bool IsSmallFonts();

}  // namespace vek
