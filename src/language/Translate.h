#pragma once
// TTranslation: the texts a setup script gives per language in its "<code>_Texts" sections.
// Script authors write placeholders "%Name%" into any script text; Translate replaces them
// with the selected language's value, or with the default language's values when the selected
// language replaced nothing.
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vek {

// The name=value lines of one language, in the order of the script.
using TTranslationLines = std::vector<std::pair<std::string, std::string>>;

class TTranslation {
 public:
  // The engine's translation starts with the default code "UK".
  explicit TTranslation(std::string_view aDefaultLangCode = "UK");

  void SetDefaultLangCode(std::string_view aValue);
  void SetSelectedLangCode(std::string_view aValue);
  const std::string& DefaultLangCode() const { return FDefaultLangCode; }
  const std::string& SelectedLangCode() const { return FSelectedLangCode; }

  void Clear() { FTranslations.clear(); }
  // Replaces the lines of aLangCode with aLines (the content of its "<code>_Texts" section);
  // no lines remove the language.
  void AddSection(std::string_view aLangCode, TTranslationLines aLines);
  // Every language with its lines, by upper-case code: what the cleanup record and the
  // workstation script store so that later runs translate alike.
  const std::map<std::string, TTranslationLines>& Translations() const { return FTranslations; }
  // "DE_Texts" for "de".
  static std::string SectionName(std::string_view aLangCode);

  std::string Translate(std::string_view aValue) const;
  std::string Translate(std::string_view aLangCode, std::string_view aValue) const;

  // A text never grows beyond this through replacements: values that contain their own or
  // each other's placeholders could otherwise double it line after line.
  static constexpr std::size_t kMaxTranslatedSize = 64 * 1024;

 private:
  std::map<std::string, TTranslationLines> FTranslations;
  std::string FDefaultLangCode;
  std::string FSelectedLangCode;
};

}  // namespace vek
