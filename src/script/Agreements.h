#pragma once
// Licence agreements: text blocks of the script file between marker lines, one default
// ("[Licens Agreement]" ... "[End Licens Agreement]") and one per language code C
// ("[C Licens Agreement]" ... "[C End Licens Agreement]"). The Media section declares each
// block's number of lines ("blocks", "C_blocks"); a block whose line count differs from what
// was declared cannot be accepted, so a cut or damaged agreement never lets the installation on.
#include <map>
#include <string>
#include <vector>

#include "script/ScriptFile.h"

namespace vek {

class TAgreement {
 public:
  TAgreement() = default;
  TAgreement(std::vector<std::string> aLines, int aSize) : FAgreement(std::move(aLines)), FAgreementSize(aSize) {}
  const std::vector<std::string>& Lines() const { return FAgreement; }
  int Size() const { return FAgreementSize; }
  bool Valid() const { return static_cast<long long>(FAgreement.size()) == FAgreementSize; }

 private:
  std::vector<std::string> FAgreement;
  int FAgreementSize = -1;  // -1: not declared
};

// Agreements by key: "DEFAULT" for the default one, else the language code.
using TAgreementList = std::map<std::string, TAgreement>;
inline constexpr const char* kDefaultAgreement = "DEFAULT";

// The lines strictly between the first line equal to aStart and the first line equal to aEnd
// after it (both compared without regard to case and surrounding blanks), or up to the end
// when aEnd is missing; nothing when aStart is missing.
std::vector<std::string> CutBlock(const std::vector<std::string>& aLines, const std::string& aStart,
                                  const std::string& aEnd, bool* aFound = nullptr);

// The agreements of the script file's lines, for the language codes of the language choice.
TAgreementList LoadAgreements(const std::vector<std::string>& aLines, const TScriptFile& aScript,
                              const std::vector<std::string>& aLanguageCodes);

// The agreement of the selected language's code (empty: none selected), else the default one;
// null when neither exists.
const TAgreement* FindAgreement(const TAgreementList& aList, const std::string& aLanguageCode);

// Whether the agreement page is due: without an agreement the script's test flag decides; with
// one, the flag, a declared size above 0 or any line.
bool AgreementTestDue(const TAgreement* aAgreement, bool aLicensAgreementTest);

}  // namespace vek
