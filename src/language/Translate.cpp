#include "language/Translate.h"

#include "base/CaseMap.h"
#include "base/Utf.h"

namespace vek {
namespace {

// Byte length of the text at aPos that matched aWhat code point by code point: upper-casing
// may change a character's UTF-8 length, so the needle's byte length is not the answer.
std::size_t MatchedLength(std::string_view aText, std::size_t aPos, std::string_view aWhat) {
  std::size_t end = aPos;
  for (std::size_t i = 0; i < aWhat.size() && end < aText.size();) {
    DecodeUtf8(aWhat, i);
    DecodeUtf8(aText, end);
  }
  return end - aPos;
}

// Replaces every "%aName%" (without regard to case) by aValue in one pass over aText: the
// inserted values are not searched again, so a value that holds its own placeholder ends.
// False, with aText unchanged, when there is none or the result would grow too large.
bool ReplacePlaceholder(std::string& aText, std::string_view aName, std::string_view aValue) {
  const std::string placeholder = "%" + std::string(aName) + "%";
  std::string result;
  std::size_t from = 0;
  for (std::size_t at = FindText(aText, placeholder); at != std::string::npos;
       at = FindText(aText, placeholder, from)) {
    result.append(aText, from, at - from).append(aValue);
    from = at + MatchedLength(aText, at, placeholder);
    if (result.size() > TTranslation::kMaxTranslatedSize && result.size() > aText.size()) return false;
  }
  if (from == 0) return false;
  result.append(aText, from, std::string::npos);
  if (result.size() > TTranslation::kMaxTranslatedSize && result.size() > aText.size()) return false;
  aText = std::move(result);
  return true;
}

// Applies the lines in order; later lines see what earlier ones left. True when any replaced.
bool ApplyLines(std::string& aText, const TTranslationLines& aLines) {
  bool replaced = false;
  for (const auto& [name, value] : aLines) {
    // A line without a name would turn every "%%" of the text into its value.
    if (!name.empty() && ReplacePlaceholder(aText, name, value)) replaced = true;
  }
  return replaced;
}

}  // namespace

TTranslation::TTranslation(std::string_view aDefaultLangCode) {
  SetDefaultLangCode(aDefaultLangCode);
  FSelectedLangCode = FDefaultLangCode;
}

void TTranslation::SetDefaultLangCode(std::string_view aValue) { FDefaultLangCode = UpperCase(aValue); }

void TTranslation::SetSelectedLangCode(std::string_view aValue) { FSelectedLangCode = UpperCase(aValue); }

void TTranslation::AddSection(std::string_view aLangCode, TTranslationLines aLines) {
  const std::string code = UpperCase(aLangCode);
  if (aLines.empty()) {
    FTranslations.erase(code);
  } else {
    FTranslations[code] = std::move(aLines);
  }
}

std::string TTranslation::SectionName(std::string_view aLangCode) { return UpperCase(aLangCode) + "_Texts"; }

std::string TTranslation::Translate(std::string_view aValue) const { return Translate(FSelectedLangCode, aValue); }

std::string TTranslation::Translate(std::string_view aLangCode, std::string_view aValue) const {
  std::string result(aValue);
  const std::string code = UpperCase(aLangCode);
  const auto selected = FTranslations.find(code);
  const bool replaced = selected != FTranslations.end() && ApplyLines(result, selected->second);
  // All or nothing: once the selected language replaced one placeholder, the default
  // language fills none of the others.
  if (!replaced && code != FDefaultLangCode) {
    const auto fallback = FTranslations.find(FDefaultLangCode);
    if (fallback != FTranslations.end()) ApplyLines(result, fallback->second);
  }
  return result;
}

}  // namespace vek
