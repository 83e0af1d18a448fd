#pragma once
// Start and final info pages: the texts the wizard shows before the installation and at its
// end. Each page is a section of the script (<P>StartInfo, <P>StartInfo1, ... and the same for
// FinalInfo) with its lines in the keys info0 ... info25, or a text file named by infofile whose
// lines replace them. NetShow says in which kinds of installation the page is shown.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/ScriptFile.h"

namespace vek {

// What turning a page into its shown lines needs: the script's translation of a line, the
// run's text variables, and reading a text file as lines (false when it cannot be read).
struct TInfoTextEnv {
  std::function<std::string(std::string_view)> translate;
  std::function<std::string(std::string_view)> expand;
  std::function<bool(const std::string& aFileName, std::vector<std::string>& aLines)> readLines;
};

class TCommonInfo {
 public:
  // Reads one page; false when the section names neither an info file nor a line.
  bool LoadFromIniFile(const TScriptFile& aScript, const std::string& aSection,
                       const std::function<std::string(std::string_view)>& aExpand);
  bool doShow(bool doNetInstall, bool doTSInstall) const;
  // The lines to show: the info file's, or the page's own followed by an empty line and the
  // message that the file cannot be read; each translated and its variables replaced.
  std::vector<std::string> getInfoStrings(const TInfoTextEnv& aEnv) const;

  std::vector<std::string> info;
  std::string infofile;
  int netshow = 1;
};

// The page of section aSection, then those of aSection1, aSection2, ... up to the first
// numbered section that yields no page.
std::vector<TCommonInfo> LoadInfoPages(const TScriptFile& aScript, const std::string& aSection,
                                       const std::function<std::string(std::string_view)>& aExpand);

}  // namespace vek
