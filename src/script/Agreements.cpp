#include "script/Agreements.h"

#include "base/CaseMap.h"
#include "script/ScriptText.h"

namespace vek {
namespace {

std::size_t FindLine(const std::vector<std::string>& aLines, const std::string& aLine, std::size_t aFrom) {
  for (std::size_t i = aFrom; i < aLines.size(); ++i) {
    if (SameText(TrimBlanks(aLines[i]), aLine)) return i;
  }
  return aLines.size();
}

}  // namespace

std::vector<std::string> CutBlock(const std::vector<std::string>& aLines, const std::string& aStart,
                                  const std::string& aEnd, bool* aFound) {
  const std::size_t start = FindLine(aLines, aStart, 0);
  if (aFound) *aFound = start < aLines.size();
  if (start >= aLines.size()) return {};
  const std::size_t end = FindLine(aLines, aEnd, start + 1);
  return {aLines.begin() + static_cast<std::ptrdiff_t>(start + 1), aLines.begin() + static_cast<std::ptrdiff_t>(end)};
}

TAgreementList LoadAgreements(const std::vector<std::string>& aLines, const TScriptFile& aScript,
                              const std::vector<std::string>& aLanguageCodes) {
  TAgreementList list;
  bool found = false;
  std::vector<std::string> block = CutBlock(aLines, "[Licens Agreement]", "[End Licens Agreement]", &found);
  if (found) list[kDefaultAgreement] = TAgreement(std::move(block), aScript.ReadInteger("Media", "blocks", -1));
  for (const std::string& code : aLanguageCodes) {
    block = CutBlock(aLines, "[" + code + " Licens Agreement]", "[" + code + " End Licens Agreement]", &found);
    if (found) list[code] = TAgreement(std::move(block), aScript.ReadInteger("Media", code + "_blocks", -1));
  }
  return list;
}

const TAgreement* FindAgreement(const TAgreementList& aList, const std::string& aLanguageCode) {
  if (!aLanguageCode.empty()) {
    if (const auto found = aList.find(aLanguageCode); found != aList.end()) return &found->second;
  }
  const auto fallback = aList.find(kDefaultAgreement);
  return fallback == aList.end() ? nullptr : &fallback->second;
}

bool AgreementTestDue(const TAgreement* aAgreement, bool aLicensAgreementTest) {
  if (!aAgreement) return aLicensAgreementTest;
  return aLicensAgreementTest || aAgreement->Size() > 0 || !aAgreement->Lines().empty();
}

}  // namespace vek
