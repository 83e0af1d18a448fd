#pragma once
// The small rules by which the loader reads the system section and its neighbours: the
// rights a script asks for, quoted folder values, the language code of the run and the
// three parts of a version-check line.
#include <cstdint>
#include <string>
#include <string_view>

#include "script/ScriptFile.h"

namespace vek {

// The rights an installation or an update needs: a set of these two flags.
enum TRightsFlag : std::uint8_t {
  rfPowerUser = 1,
  rfAdministrator = 2,
};

// From "IUserRights"/"UUserRights": the value upper-cased; "POWERUSER" asks for power-user
// rights, which systems from NT 6.0 on no longer have, so there it asks for administrator
// rights; "ADMINISTRATOR" asks for administrator rights.
std::uint8_t ParseRightsRequirement(std::string_view aValue, unsigned aWinMajor);

// The value without one pair of surrounding double quotes.
std::string Unquoted(std::string_view aValue);

// "I" for an install (mode 1), "U" for an update (mode 2): the prefix of mode-dependent sections.
std::string InstallPrefix(int aInstallMode);

// The language code from section "Language": "LangCode" (default "uk"); with aUseLocale, the
// key named by the locale number in at least four digits ("1030", "0009") maps the locale to a
// code, with LangCode's value as default.
std::string ReadLanguageCode(const TScriptFile& aScript, bool aUseLocale, unsigned aLocale);

struct TVersionCheckLine {
  std::string file;     // before the first ","; empty without a comma
  std::string section;  // between the first and second ","; all of it without a comma
  std::string test;     // after the second ",", commas included
};

TVersionCheckLine SplitVersionCheckLine(std::string_view aLine);

}  // namespace vek
