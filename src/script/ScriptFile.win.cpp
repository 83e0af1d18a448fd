// Reading the script file from disk, in the system's ANSI code page where it has no byte-order
// mark.
#include "script/ScriptLoader.h"
#include "system/AnsiCodePage.h"
#include "system/Files.h"

namespace vek {

void OpenScriptFile(TScriptFile& aScript, const std::string& aFileName,
                    const TScriptFile::TLinesFilterMaker& aLinesFilter) {
  std::string bytes;
  (void)ReadWholeFile(aFileName, bytes);  // an unreadable file reads as an empty one
  aScript.Open(aFileName, bytes, AnsiToUtf8, aLinesFilter);
}

}  // namespace vek
