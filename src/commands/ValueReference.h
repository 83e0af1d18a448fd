#pragma once
// Value references: script texts that name a value held elsewhere, in another INI file or in
// the registry, which replaces the text when it is read. Any failure gives empty text.
//
//   file,section,key          an INI value (read with the language override)
//   HKEY_LM,key path,value    a registry string value (registry-or-INI references only)
//   <options>file,section,key=...   an INI command line (command references)
#include <string>
#include <string_view>

#include "commands/IniFileCmd.h"
#include "system/Registry.h"

namespace vek {

// The platform's reads behind value references.
class TValueSource {
 public:
  virtual ~TValueSource() = default;
  // A key of an INI file on disk; aDefault when the file, section or key is missing.
  virtual std::string ReadIniString(const std::string& aFile, const std::string& aSection,
                                    const std::string& aKey, const std::string& aDefault) const = 0;
  // A string value of a key opened read-only; empty on any failure.
  virtual std::string ReadRegistryString(TRegistryRoot aRoot, const std::string& aKeyPath,
                                         const std::string& aValueName) const = 0;
};

struct TValueRefParts {
  std::string file;
  std::string section;
  std::string key;
};

// Splits at the first two commas; the key is everything after the second. The file, and then
// the section, are split off only when a comma follows them: a text without commas is all key,
// "a,b" is file a and key b.
TValueRefParts SplitValueReference(std::string_view aText);

// Reads aKey of a file on disk with the language override of aLangCode.
std::string ReadFileText(const TValueSource& aSource, std::string_view aLangCode, const std::string& aFile,
                         const std::string& aSection, const std::string& aKey, const std::string& aDefault);

// "file,section,key" read from the INI file.
std::string IniValueReference(const TValueSource& aSource, std::string_view aLangCode, std::string_view aText);
// As above, or a registry value when the first part begins with "HKEY_" (a root name that is
// not known reads below the current user).
std::string RegIniValueReference(const TValueSource& aSource, std::string_view aLangCode, std::string_view aText);
// An INI command line (split without option context, not for a workstation) whose key is read
// from its INI file. The line's variables are expanded with aContext.
std::string CommandValueReference(const TValueSource& aSource, std::string_view aLangCode,
                                  const TIniCmdParseContext& aContext, std::string_view aText);

}  // namespace vek
