#include "commands/ValueReference.h"

#include "commands/RegistryRoot.h"
#include "script/ScriptFile.h"

namespace vek {
namespace {

// Moves the text up to the first comma into aPart and drops it with the comma; nothing
// happens when there is no comma.
void SplitOffPart(std::string_view& aRest, std::string& aPart) {
  const std::size_t comma = aRest.find(',');
  if (comma == std::string_view::npos) return;
  aPart = std::string(aRest.substr(0, comma));
  aRest.remove_prefix(comma + 1);
}

}  // namespace

TValueRefParts SplitValueReference(std::string_view aText) {
  TValueRefParts parts;
  SplitOffPart(aText, parts.file);
  SplitOffPart(aText, parts.section);
  parts.key = std::string(aText);
  return parts;
}

std::string ReadFileText(const TValueSource& aSource, std::string_view aLangCode, const std::string& aFile,
                         const std::string& aSection, const std::string& aKey, const std::string& aDefault) {
  return ReadWithLanguageOverride(
      [&](const std::string& aName, const std::string& aFallback) {
        return aSource.ReadIniString(aFile, aSection, aName, aFallback);
      },
      aLangCode, aKey, aDefault);
}

std::string IniValueReference(const TValueSource& aSource, std::string_view aLangCode, std::string_view aText) {
  if (aText.empty()) return {};
  const TValueRefParts parts = SplitValueReference(aText);
  return ReadFileText(aSource, aLangCode, parts.file, parts.section, parts.key, {});
}

std::string RegIniValueReference(const TValueSource& aSource, std::string_view aLangCode, std::string_view aText) {
  const TValueRefParts parts = SplitValueReference(aText);
  if (!parts.file.starts_with("HKEY_")) return ReadFileText(aSource, aLangCode, parts.file, parts.section, parts.key, {});
  const TRegistryRoot root = FindRegistryRoot(parts.file).value_or(TRegistryRoot::CurrentUser);
  return aSource.ReadRegistryString(root, parts.section, parts.key);
}

std::string CommandValueReference(const TValueSource& aSource, std::string_view aLangCode,
                                  const TIniCmdParseContext& aContext, std::string_view aText) {
  if (aText.empty()) return {};
  const TIniFileCmd cmd = ParseIniFileCmd(aContext, false, aText);
  return ReadFileText(aSource, aLangCode, cmd.IniFileName, cmd.Section, cmd.Key, {});
}

}  // namespace vek
