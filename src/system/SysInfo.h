#pragma once
// Facts about the running system.
namespace vek {

struct WinVersion {
  unsigned major = 0;
  unsigned minor = 0;
  bool ntFamily = true;
};

WinVersion GetWinVersion();
// A multi-user terminal server: NT family, major version above 4, the product suite has the
// terminal bit and not the single-user terminal bit. A failing query gives false.
bool IsTerminalServer();

}  // namespace vek
