#include "commands/VerTest.h"

#include <algorithm>
#include <array>

#include "base/CaseMap.h"
#include "commands/RegistryRoot.h"

namespace vek {
namespace {

constexpr std::string_view kOperatorChars = "<=>";

struct TOperatorName {
  std::string_view text;
  TVersionTests test;
};
constexpr std::array<TOperatorName, 6> kOperators{{
    {"=", vtEqual},
    {"<>", vtNotEqual},
    {"<", vtLess},
    {">", vtGreater},
    {"<=", vtEqualOrLess},
    {">=", vtEqualOrGreater},
}};

std::string_view TrimSpaces(std::string_view aText) {
  while (!aText.empty() && aText.front() == ' ') aText.remove_prefix(1);
  while (!aText.empty() && aText.back() == ' ') aText.remove_suffix(1);
  return aText;
}

bool IsDigit(char aChar) { return aChar >= '0' && aChar <= '9'; }

// One part of a version: plain decimal digits up to 65535, a version resource's width.
TVersionParse ParsePart(std::string_view aText, std::int32_t& aPart) {
  aText = TrimSpaces(aText);
  if (aText.empty()) return vpNotANumber;
  if (aText.front() == '-' || aText.front() == '+') return vpSigned;
  std::int32_t value = 0;
  for (const char c : aText) {
    if (!IsDigit(c)) return vpNotANumber;
    value = value * 10 + (c - '0');
    // Checked per digit, so that no length of digits can overflow.
    if (value > 0xFFFF) return vpTooLarge;
  }
  aPart = value;
  return vpOk;
}

// The parts of a text at ".", at most four; the rest is ignored.
std::vector<std::string_view> VersionParts(std::string_view aText) {
  std::vector<std::string_view> parts;
  while (parts.size() < 4) {
    const std::size_t dot = aText.find('.');
    parts.push_back(aText.substr(0, dot));
    if (dot == std::string_view::npos) break;
    aText.remove_prefix(dot + 1);
  }
  return parts;
}

std::int32_t& PartAt(TfileVersion& aVersion, std::size_t aIndex) {
  switch (aIndex) {
    case 0: return aVersion.Major;
    case 1: return aVersion.Minor;
    case 2: return aVersion.Release;
    default: return aVersion.Build;
  }
}

std::int32_t PartAt(const TfileVersion& aVersion, std::size_t aIndex) {
  switch (aIndex) {
    case 0: return aVersion.Major;
    case 1: return aVersion.Minor;
    case 2: return aVersion.Release;
    default: return aVersion.Build;
  }
}

bool VersionEqual(const TfileVersion& aFound, const TfileVersion& aTarget) {
  if (aFound.Major == -1 || aTarget.Major == -1) return true;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::int32_t f = PartAt(aFound, i);
    const std::int32_t t = PartAt(aTarget, i);
    if (f != -1 && t != -1 && f != t) return false;
  }
  return true;
}

// Greater when aSign is 1, less when it is -1.
bool VersionBeyond(const TfileVersion& aFound, const TfileVersion& aTarget, int aSign) {
  if (aFound.Major == -1 || aTarget.Major == -1) return true;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::int32_t f = PartAt(aFound, i);
    const std::int32_t t = PartAt(aTarget, i);
    // A later part that either side lacks cannot decide: not beyond.
    if (i > 0 && (f == -1 || t == -1)) return false;
    if (f != t) return (f > t) == (aSign > 0);
  }
  return false;
}

bool TextTest(TVersionTests aTest, std::string_view aFound, std::string_view aTarget) {
  const int order = CompareText(aFound, aTarget);
  switch (aTest) {
    case vtEqual: return order == 0;
    case vtNotEqual: return order != 0;
    case vtLess: return order < 0;
    case vtGreater: return order > 0;
    case vtEqualOrLess: return order <= 0;
    case vtEqualOrGreater: return order >= 0;
    case VtNone: return false;
  }
  return false;
}

void RemoveToken(std::string& aText, std::string_view aToken, bool& aFound) {
  aFound = false;
  for (std::size_t at = FindText(aText, aToken); at != std::string::npos; at = FindText(aText, aToken)) {
    aText.erase(at, aToken.size());
    aFound = true;
  }
}

bool HasVersionLikeName(const std::string& aName) {
  return !aName.empty() && IsDigit(aName.front()) &&
         std::all_of(aName.begin(), aName.end(), [](char c) { return IsDigit(c) || c == '.'; });
}

std::string FixedVersionText(const TVersionResource& aResource) {
  const auto word = [](std::uint32_t aValue, int aShift) {
    return std::to_string((aValue >> aShift) & 0xFFFF);
  };
  return word(aResource.FixedFileVersion, 16) + "." + word(aResource.FixedFileVersion, 0) + "." +
         word(aResource.FixedFileBuild, 16) + "." + word(aResource.FixedFileBuild, 0);
}

bool IsIniFile(const std::string& aPath) {
  return EndsWithText(aPath, ".INI") || EndsWithText(aPath, ".MIF");
}

}  // namespace

std::string_view VersionTestName(TVersionTests aTest) {
  for (const TOperatorName& op : kOperators) {
    if (op.test == aTest) return op.text;
  }
  return "none";
}

std::string_view VersionParseName(TVersionParse aResult) {
  switch (aResult) {
    case vpOk: return "a version";
    case vpEmptyMajor: return "no version: the first part is empty";
    case vpNotANumber: return "no version: a part is not a number";
    case vpTooLarge: return "no version: a part is larger than 65535";
    case vpSigned: return "no version: a part carries a sign";
    case vpNul: return "no version: the text carries a NUL character";
  }
  return "no version";
}

bool TfileVersion::TestVersion(TVersionTests aTest, const TfileVersion& aVersion) const {
  switch (aTest) {
    case vtEqual: return VersionEqual(*this, aVersion);
    case vtNotEqual: return !VersionEqual(*this, aVersion);
    case vtLess: return VersionBeyond(*this, aVersion, -1);
    case vtGreater: return VersionBeyond(*this, aVersion, 1);
    case vtEqualOrLess: return VersionEqual(*this, aVersion) || VersionBeyond(*this, aVersion, -1);
    case vtEqualOrGreater: return VersionEqual(*this, aVersion) || VersionBeyond(*this, aVersion, 1);
    case VtNone: return true;
  }
  return true;
}

std::string TfileVersion::ToString() const {
  return std::to_string(Major) + "." + std::to_string(Minor) + "." + std::to_string(Release) + "." +
         std::to_string(Build);
}

TVersionParse ParseFoundVersion(std::string_view aText, TfileVersion& aVersion) {
  aVersion = TfileVersion{};
  if (aText.find('\0') != std::string_view::npos) return vpNul;
  const std::vector<std::string_view> parts = VersionParts(aText);
  TfileVersion parsed;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty()) {
      if (i == 0) return vpEmptyMajor;
      continue;  // stays -1
    }
    if (const TVersionParse result = ParsePart(parts[i], PartAt(parsed, i)); result != vpOk) return result;
  }
  aVersion = parsed;
  return vpOk;
}

TfileVersion FixedVersionOf(const TVersionResource& aResource) {
  if (!aResource.found) return TfileVersion{};
  return TfileVersion{static_cast<std::int32_t>(aResource.FixedFileVersion >> 16),
                      static_cast<std::int32_t>(aResource.FixedFileVersion & 0xFFFF),
                      static_cast<std::int32_t>(aResource.FixedFileBuild >> 16),
                      static_cast<std::int32_t>(aResource.FixedFileBuild & 0xFFFF)};
}

TfileVersion CreateAndLoadVersionInfo(const TVersionSource& aSource, const std::string& aFileName) {
  if (!aSource.FileExists(aFileName)) return TfileVersion{};
  return FixedVersionOf(aSource.ReadVersionResource(aFileName));
}

TOperatorSplit SplitOperator(std::string_view aText) {
  TOperatorSplit split;
  const std::size_t opStart = std::min(aText.find_first_of(kOperatorChars), aText.size());
  std::size_t opEnd = aText.find_first_not_of(kOperatorChars, opStart);
  if (opEnd == std::string_view::npos) opEnd = aText.size();
  split.name = std::string(aText.substr(0, opStart));
  split.op = std::string(aText.substr(opStart, opEnd - opStart));
  split.target = std::string(aText.substr(opEnd));
  return split;
}

std::vector<std::string> SplitTargetItems(std::string_view aValue) {
  std::vector<std::string> items;
  std::size_t i = 0;
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (i < aValue.size()) {
    while (i < aValue.size() && isBlank(aValue[i])) ++i;
    if (i >= aValue.size()) break;
    std::string item;
    if (aValue[i] == '"') {
      // A quoted item ends at the next lone quote; "" inside it is one quote.
      for (++i; i < aValue.size(); ++i) {
        if (aValue[i] != '"') {
          item += aValue[i];
        } else if (i + 1 < aValue.size() && aValue[i + 1] == '"') {
          item += '"';
          ++i;
        } else {
          ++i;
          break;
        }
      }
    } else {
      while (i < aValue.size() && aValue[i] != '|' && !isBlank(aValue[i])) item += aValue[i++];
    }
    items.push_back(std::move(item));
    while (i < aValue.size() && isBlank(aValue[i])) ++i;
    if (i < aValue.size() && aValue[i] == '|') ++i;
  }
  return items;
}

void TFileVersionCheck::SetFileAndTokens(std::string_view aFilename) {
  filename = std::string(aFilename);
  bool token = false;
  RemoveToken(filename, "<FILEEXISTS>", token);
  FileMustExists = !token;
  RemoveToken(filename, "<KEYEXISTS>", token);
  KeyMustExists = !token;
  RemoveToken(filename, "<VALORKEY>", token);
  ValOrKeyTest = token;
}

void TFileVersionCheck::SetVersionTest(std::string_view aFilename, std::string_view aSection,
                                       std::string_view aTest) {
  Section = std::string(aSection);
  Key.clear();
  SetFileAndTokens(aFilename);

  const TOperatorSplit split = SplitOperator(aTest.empty() ? aSection : aTest);
  if (aTest.empty() || aSection.empty()) {
    Section = split.name;
  } else {
    Key = split.name;
  }
  SetOperatorAndTarget(split.op, split.target);
}

void TFileVersionCheck::SetVersionTest(std::string_view aVersionKey) {
  const std::size_t comma = aVersionKey.find(',');
  SetFileAndTokens(aVersionKey.substr(0, comma));

  std::string_view rest =
      comma == std::string_view::npos ? std::string_view() : aVersionKey.substr(comma + 1);
  const std::size_t sectionEnd = std::min(rest.find_first_of(",<=>"), rest.size());
  Section = std::string(rest.substr(0, sectionEnd));
  Key.clear();
  rest.remove_prefix(sectionEnd);
  if (rest.size() > 1 && rest.front() == ',') {
    rest.remove_prefix(1);
    const std::size_t keyEnd = std::min(rest.find_first_of(kOperatorChars), rest.size());
    Key = std::string(rest.substr(0, keyEnd));
    rest.remove_prefix(keyEnd);
  }
  const TOperatorSplit split = SplitOperator(rest);
  SetOperatorAndTarget(split.op, split.target);
}

void TFileVersionCheck::SetOperatorAndTarget(std::string_view aOp, std::string_view aTarget) {
  for (const TOperatorName& op : kOperators) {
    if (aOp == op.text) VerTest = op.test;
  }
  version = TfileVersion{};
  Value.clear();
  ParseNote.clear();
  const bool numeric =
      std::all_of(aTarget.begin(), aTarget.end(), [](char c) { return IsDigit(c) || c == '.' || c == ' '; });
  if (!numeric) {
    Value = std::string(aTarget);
    return;
  }
  const std::vector<std::string_view> parts = VersionParts(aTarget);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty()) continue;  // stays -1
    std::int32_t& part = PartAt(version, i);
    const TVersionParse result = ParsePart(parts[i], part);
    if (result == vpOk) continue;
    // A part that is no number counts as 0; one too large for a version resource is never met
    // by a found version either, and 0 keeps the comparison defined.
    part = 0;
    if (ParseNote.empty()) {
      ParseNote = "target part \"" + std::string(parts[i]) + "\" read as 0 (" +
                  std::string(VersionParseName(result)) + ")";
    }
  }
}

std::string TFileVersionCheck::TargetText() const {
  if (!Value.empty()) return Value;
  std::string text;
  int last = -1;
  for (int i = 0; i < 4; ++i) {
    if (PartAt(version, static_cast<std::size_t>(i)) != -1) last = i;
  }
  for (int i = 0; i <= last; ++i) {
    const std::int32_t part = PartAt(version, static_cast<std::size_t>(i));
    if (i > 0) text += '.';
    if (part != -1) text += std::to_string(part);
  }
  return text;
}

bool TFileVersionCheck::CompareFound(const std::string& aFound, TVersionTrace* aTrace) const {
  if (aTrace) aTrace->found = aFound;
  if (!Value.empty()) {
    if (Value.find('|') == std::string::npos) return TextTest(VerTest, aFound, Value);
    const std::vector<std::string> items = SplitTargetItems(Value);
    return std::any_of(items.begin(), items.end(),
                       [&](const std::string& aItem) { return TextTest(VerTest, aFound, aItem); });
  }
  TfileVersion found;
  const TVersionParse parsed = ParseFoundVersion(aFound, found);
  if (parsed != vpOk) {
    if (aTrace) aTrace->note = std::string(VersionParseName(parsed));
    return false;
  }
  return found.TestVersion(VerTest, version);
}

bool TFileVersionCheck::RegistryOk(const TVersionSource& aSource, TVersionTrace* aTrace) const {
  const TRegistryRoot root = FindRegistryRoot(filename).value_or(TRegistryRoot::CurrentUser);
  std::string found = aSource.ReadRegistryValue(root, Section, Key).value_or(std::string());
  if (found.empty() && ValOrKeyTest) {
    std::vector<std::string> names = aSource.ReadRegistrySubKeys(root, Section);
    std::erase_if(names, [](const std::string& aName) { return !HasVersionLikeName(aName); });
    // Text order, as the names are listed: 9.0 comes after 10.0.
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    if (!names.empty()) found = names.back();
  }
  if (!found.empty()) return CompareFound(found, aTrace);
  if (KeyMustExists) return CompareFound("0", aTrace);
  if (aTrace) aTrace->note = "no value, and it need not exist";
  return true;
}

bool TFileVersionCheck::IniOk(const TVersionSource& aSource, std::string_view aLangCode,
                              TVersionTrace* aTrace) const {
  if (!aSource.FileExists(filename)) {
    if (aTrace) aTrace->note = "no such file";
    return !FileMustExists;
  }
  const std::string found = ReadFileText(aSource, aLangCode, filename, Section, Key, {});
  if (!found.empty()) return CompareFound(found, aTrace);
  if (KeyMustExists) return CompareFound("0", aTrace);
  if (aTrace) aTrace->note = "no value, and it need not exist";
  return true;
}

bool TFileVersionCheck::ResourceOk(const TVersionSource& aSource, TVersionTrace* aTrace) const {
  const TVersionResource resource = aSource.ReadVersionResource(filename);
  if (!SameText(Section, "FixedFileVersion")) return CompareFound(resource.FileVersion, aTrace);
  // A file without a version resource counts as 0.0.0.0 here, not as a version that is absent.
  TfileVersion found = FixedVersionOf(resource);
  if (!resource.found) found = TfileVersion{0, 0, 0, 0};
  if (aTrace) aTrace->found = FixedVersionText(resource);
  return found.TestVersion(VerTest, version);
}

bool TFileVersionCheck::IsVersionOk(const TVersionSource& aSource, std::string_view aLangCode,
                                    TVersionTrace* aTrace) const {
  if (!FileMustExists && !aSource.FileExists(filename)) {
    if (aTrace) aTrace->note = "no such file, and it need not exist";
    return true;
  }
  if (filename.starts_with("HKEY_")) return RegistryOk(aSource, aTrace);
  if (IsIniFile(filename)) return IniOk(aSource, aLangCode, aTrace);
  return ResourceOk(aSource, aTrace);
}

std::string VersionCheckLogLine(const TFileVersionCheck& aCheck, const TVersionTrace& aTrace, bool aPassed) {
  std::string line = "Version test \"" + aCheck.filename + "\" " + aCheck.Section;
  if (!aCheck.Key.empty()) line += ", " + aCheck.Key;
  line += ": found \"" + aTrace.found + "\" " + std::string(VersionTestName(aCheck.VerTest)) + " \"" +
          aCheck.TargetText() + "\": " + (aPassed ? "passed" : "failed");
  std::string notes = aTrace.note;
  if (!aCheck.ParseNote.empty()) notes += (notes.empty() ? "" : "; ") + aCheck.ParseNote;
  if (!notes.empty()) line += " (" + notes + ")";
  return line;
}

std::string TFileVersionCheck::GetTestTargetVersion(const TVersionSource& aSource,
                                                    std::string_view aLangCode) const {
  const auto missing = [this] { return KeyMustExists ? std::string("0") : std::string("Key Don't Exists"); };
  if (filename.starts_with("HKEY_")) {
    const TRegistryRoot root = FindRegistryRoot(filename).value_or(TRegistryRoot::CurrentUser);
    const std::string found = aSource.ReadRegistryString(root, Section, Key);
    return found.empty() ? missing() : found;
  }
  if (!aSource.FileExists(filename)) return "File Don't Exists";
  if (IsIniFile(filename)) {
    const std::string found = ReadFileText(aSource, aLangCode, filename, Section, Key, {});
    return found.empty() ? missing() : found;
  }
  const TVersionResource resource = aSource.ReadVersionResource(filename);
  return SameText(Section, "FixedFileVersion") ? FixedVersionText(resource) : resource.FileVersion;
}

}  // namespace vek
