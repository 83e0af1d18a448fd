#include "language/CDSLanguages.h"

#include <utility>

namespace vek {

TCommonCDSLanguage::TCommonCDSLanguage(std::string aResourceName, std::string aLangCode)
    : fDefaultLangCode(aLangCode), FlangCode(std::move(aLangCode)), fResourceName(std::move(aResourceName)) {}

bool TCommonCDSLanguage::OpenFromBytes(std::string_view aBytes) {
  fCDS.Open(aBytes);
  fLangIndex = fCDS.ColumnOf(FlangCode);
  fDefLangIndex = fCDS.ColumnOf(fDefaultLangCode);
  return fCDS.IsOpen();
}

bool TCommonCDSLanguage::load(const std::string& aLangCode) {
  if (!IsOpen()) open();
  fLangIndex = fCDS.ColumnOf(aLangCode);
  fDefLangIndex = fCDS.ColumnOf(fDefaultLangCode);
  return fLangIndex != -1;
}

void TCommonCDSLanguage::close() {
  fCDS.Close();
  fLangIndex = -1;
  fDefLangIndex = -1;
}

std::string TCommonCDSLanguage::ls(int aId) const { return RowText(fCDS.RowById(aId)); }

std::string TCommonCDSLanguage::ls(std::string_view aName) const { return RowText(fCDS.RowByName(aName)); }

// A missing language or a missing translation gives the default language's text; a missing
// row gives an empty text.
std::string TCommonCDSLanguage::RowText(const TLanguageRow* aRow) const {
  if (aRow == nullptr) return {};
  const auto cell = [aRow](int aColumn) {
    return aColumn < 0 ? std::string() : aRow->fTexts[static_cast<std::size_t>(aColumn)];
  };
  if (fLangIndex < 0) return cell(fDefLangIndex);
  std::string text = cell(fLangIndex);
  if (text.empty() && fDefLangIndex != fLangIndex) return cell(fDefLangIndex);
  return text;
}

}  // namespace vek
