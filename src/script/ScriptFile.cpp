#include "script/ScriptFile.h"

#include "language/LanguageText.h"

namespace vek {

std::string LanguageKeyName(std::string_view aCode, std::string_view aKey) {
  std::string name(aCode);
  name += '_';
  name += aKey;
  return name;
}

std::string ReadWithLanguageOverride(const TKeyReader& aRead, std::string_view aCode, const std::string& aKey,
                                     const std::string& aDefault) {
  const std::string plain = aRead(aKey, aDefault);
  return aRead(LanguageKeyName(aCode, aKey), plain);
}

void TScriptFile::Open(const std::string& aFileName, std::string_view aBytes, const TAnsiDecoder& aAnsi,
                       const TLinesFilterMaker& aLinesFilter) {
  fFileName = aFileName;
  const std::string text = DecodeScriptBytes(aBytes, aAnsi);
  fStore = TIniStore::FromText(text, aLinesFilter ? aLinesFilter(text) : TSectionLinesFilter{});
}

std::string TScriptFile::LangCode() const { return fLangCode ? *fLangCode : CurrentLanguageCode(); }

std::string TScriptFile::ReadText(const std::string& aSection, const std::string& aKey,
                                  const std::string& aDefault) const {
  return ReadWithLanguageOverride(
      [&](const std::string& aName, const std::string& aFallback) {
        return fStore.ReadString(aSection, aName, aFallback);
      },
      LangCode(), aKey, aDefault);
}

}  // namespace vek
