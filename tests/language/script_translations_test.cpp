#include <gtest/gtest.h>

#include "script/ScriptTranslations.h"

namespace vek {
namespace {

TEST(ScriptTranslations, EverySectionOfTheScriptIsALanguage) {
  const TIniStore script = TIniStore::FromText(
      "[System Info]\nName=%Title%\n"
      "[UK_Texts]\nTitle=Welcome\nBye=Goodbye\n"
      "[de_texts]\nTitle=Willkommen\n"
      "[_Texts]\nTitle=nobody\n");
  TTranslation translation;
  LoadScriptTranslations(translation, script);
  EXPECT_EQ(translation.Translations().size(), 2u);

  translation.SetSelectedLangCode("de");
  EXPECT_EQ(translation.Translate("%Title% / %TITLE%"), "Willkommen / Willkommen");
  translation.SetSelectedLangCode("SE");  // no SE_Texts: the default language's values
  EXPECT_EQ(translation.Translate("%Title%, %Bye%"), "Welcome, Goodbye");
}

TEST(ScriptTranslations, LoadingAgainReplacesTheOldTexts) {
  TTranslation translation;
  LoadScriptTranslations(translation, TIniStore::FromText("[UK_Texts]\nA=1\n"));
  LoadScriptTranslations(translation, TIniStore::FromText("[UK_Texts]\nB=2\n"));
  EXPECT_EQ(translation.Translate("%A%%B%"), "%A%2");
}

}  // namespace
}  // namespace vek
