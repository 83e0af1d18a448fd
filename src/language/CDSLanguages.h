#pragma once
// TCommonCDSLanguage: the language table behind Ilanguages. It opens the table, selects the
// column of a language and answers texts by number or by name with the default language
// (English, "UK") where the selected one has no text.
#include <string>
#include <string_view>

#include "language/LanguageInterface.h"
#include "language/LanguageTable.h"

namespace vek {

class TCommonCDSLanguage : public Ilanguages {
 public:
  // Both the default and the selected code start as aLangCode; nothing is opened yet.
  TCommonCDSLanguage(std::string aResourceName, std::string aLangCode);

  bool load(const std::string& aLangCode) override;
  void close() override;
  std::string ls(int aId) const override;
  std::string ls(std::string_view aName) const override;
  std::string GetdefaultLangCode() const override { return fDefaultLangCode; }
  // Takes effect at the next load, which looks the column up again.
  void SetdefaultLangCode(const std::string& aLangCode) override { fDefaultLangCode = aLangCode; }

  const std::string& langCode() const { return FlangCode; }
  void SetlangCode(const std::string& aLangCode) { FlangCode = aLangCode; }
  const std::string& ResourceName() const { return fResourceName; }
  bool IsOpen() const { return fCDS.IsOpen(); }

  // Opens the table from its encoded bytes (what the resource holds) and selects the columns
  // of the selected and the default code. False, with the table closed, for damaged bytes.
  bool OpenFromBytes(std::string_view aBytes);

 protected:
  // Brings the table in when load finds it closed. Here the bytes must have been given with
  // OpenFromBytes; TRSLanguage reads them from the program file.
  virtual bool open() { return IsOpen(); }

 private:
  std::string RowText(const TLanguageRow* aRow) const;

  std::string fDefaultLangCode;
  TLanguageTable fCDS;
  std::string FlangCode;
  std::string fResourceName;
  int fLangIndex = -1;
  int fDefLangIndex = -1;
};

}  // namespace vek
