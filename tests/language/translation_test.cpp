#include <gtest/gtest.h>

#include <string>

#include "language/Translate.h"

namespace vek {
namespace {

// A script with English and German texts; DE defines only some of the names.
TTranslation ScriptTranslation() {
  TTranslation translation;  // default "UK"
  translation.AddSection("uk", {{"Title", "Welcome"}, {"A", "a-uk"}, {"B", "b-uk"}, {"Product", "Notes"}});
  translation.AddSection("De", {{"Title", "Willkommen"}, {"A", "a-de"}});
  return translation;
}

TEST(Translation, ReplacesPlaceholdersOfTheSelectedLanguage) {
  const struct {
    const char* selected;
    const char* text;
    const char* expected;
  } cases[] = {
      {"DE", "%Title% and %TITLE%", "Willkommen and Willkommen"},  // names without regard to case
      {"de", "%title%!", "Willkommen!"},                           // codes too
      {"DE", "%A% %B%", "a-de %B%"},        // the selected language replaced something: no fallback
      {"DE", "%Product%", "Notes"},         // it replaced nothing: the default language fills in
      {"PL", "%Title%", "Welcome"},         // a language without a section
      {"UK", "%Missing% %A%", "%Missing% a-uk"},  // unknown names stay
      {"UK", "%Missing%", "%Missing%"},
      {"DE", "no placeholder", "no placeholder"},
      {"DE", "", ""},
      {"DE", "100% sure", "100% sure"},
      {"DE", "%Title", "%Title"},      // a placeholder that never closes
      {"DE", "%Title %Title%", "%Title Willkommen"},
      {"DE", "%%Title%%", "%Willkommen%"},
  };
  const TTranslation base = ScriptTranslation();
  for (const auto& c : cases) {
    TTranslation translation = base;
    translation.SetSelectedLangCode(c.selected);
    EXPECT_EQ(translation.Translate(c.text), c.expected) << c.selected << " " << c.text;
  }
}

// One language's lines applied in order: later lines see what earlier lines left, no line
// is applied twice, and a value holding its own placeholder ends after one pass.
TEST(Translation, AppliesEachLineOnceInOrder) {
  const struct {
    TTranslationLines lines;
    const char* text;
    const char* expected;
  } cases[] = {
      {{{"Caption", "%Product% %Version%"}, {"Product", "Notes"}, {"Version", "2.1"}}, "Setup of %Caption%",
       "Setup of Notes 2.1"},
      {{{"Product", "Notes"}, {"Caption", "%Product%"}}, "%Caption%", "%Product%"},
      {{{"Title", "[%Title%]"}}, "%Title%", "[%Title%]"},
      {{{"", "x"}, {"Name", "value"}}, "50%% %Name%", "50%% value"},  // a line without a name
      // Upper-casing may change a character's UTF-8 length: "ı" (2 bytes) matches "I" (1 byte).
      {{{"Title", "T"}}, "<%tıtle%>", "<T>"},
      {{{"Title", "T"}}, "ä%TITLE%ö", "äTö"},
  };
  for (const auto& c : cases) {
    TTranslation translation;
    translation.AddSection("UK", c.lines);
    EXPECT_EQ(translation.Translate(c.text), c.expected) << c.text;
  }
}

// Values that name each other's placeholders could double the text line after line.
TEST(Translation, GrowthIsBounded) {
  TTranslationLines doubling;
  for (int i = 0; i < 40; ++i) {
    const std::string next = "%P" + std::to_string(i + 1) + "%";
    doubling.emplace_back("P" + std::to_string(i), next + next);
  }
  TTranslation growth;
  growth.AddSection("UK", doubling);
  const std::string result = growth.Translate("%P0%");
  EXPECT_LE(result.size(), TTranslation::kMaxTranslatedSize);
  EXPECT_NE(result.find("%P"), std::string::npos);  // the replacement that would overflow is not made
}

TEST(Translation, SectionsAreKeptByUpperCaseCode) {
  TTranslation translation("uk");
  EXPECT_EQ(translation.DefaultLangCode(), "UK");
  EXPECT_EQ(translation.SelectedLangCode(), "UK");
  translation.AddSection("de", {{"Title", "Willkommen"}});
  ASSERT_EQ(translation.Translations().count("DE"), 1u);
  EXPECT_EQ(TTranslation::SectionName("de"), "DE_Texts");

  translation.AddSection("DE", {{"Title", "Hallo"}});  // a section loaded again replaces the old lines
  EXPECT_EQ(translation.Translate("DE", "%Title%"), "Hallo");
  translation.AddSection("De", {});  // an empty section removes the language
  EXPECT_EQ(translation.Translations().count("DE"), 0u);
  translation.AddSection("DE", {{"Title", "Hallo"}});
  translation.Clear();
  EXPECT_TRUE(translation.Translations().empty());
  EXPECT_EQ(translation.Translate("DE", "%Title%"), "%Title%");
}

}  // namespace
}  // namespace vek
