#include "script/NetMarkers.h"

#include "script/ScriptText.h"

namespace vek {

std::string ApplyNetMarkers(std::string_view aText, bool aNetInstall) {
  std::string text(aText);
  if (FindTextMatch(text, "<NONET>").found()) {
    if (aNetInstall) return {};
    ReplaceAllText(text, "<NoNet>", "");
  }
  if (FindTextMatch(text, "<NET>").found()) {
    if (!aNetInstall) return {};
    ReplaceAllText(text, "<NET>", "");
  }
  return text;
}

}  // namespace vek
