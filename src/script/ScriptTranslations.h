#pragma once
// The "<code>_Texts" sections of a setup script into the run's translations.
#include "language/Translate.h"
#include "script/IniStore.h"
#include "script/UnInstallInfo.h"

namespace vek {

// Clears aTranslation and loads every "<code>_Texts" section of the script (name=value lines;
// a line without "=" gives an empty value). Every language the script translates is loaded,
// so that a language chosen later in the run finds its texts.
void LoadScriptTranslations(TTranslation& aTranslation, const TIniStore& aScript);

// Writes every loaded language into its "<CODE>_Texts" section of aIni, so that a later run
// that reads aIni translates alike. False when a write failed.
bool SaveScriptTranslations(const TTranslation& aTranslation, TIniAccess& aIni);

}  // namespace vek
