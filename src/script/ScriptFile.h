#pragma once
// The setup script of the run: the file's name and its in-memory store, read once at start-up.
// Text keys are read with the language code of the run (CurrentLanguageCode), unless a code is
// set for this script.
//
// A text key is read with its language override: first Key with the caller's default, then
// "<code>_<Key>" in the same section with the first result as its default. So dk_Title replaces
// Title while the code is dk, and is found even when Title is absent. Integer and Boolean keys
// have no override.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/IniStore.h"
#include "script/ScriptEncoding.h"

namespace vek {

// "<code>_<Key>": the name of a text key for one language.
std::string LanguageKeyName(std::string_view aCode, std::string_view aKey);

// Reads a value by key name with a default: the store, or a file on disk.
using TKeyReader = std::function<std::string(const std::string& aKey, const std::string& aDefault)>;

// The override rule over any reader.
std::string ReadWithLanguageOverride(const TKeyReader& aRead, std::string_view aCode, const std::string& aKey,
                                     const std::string& aDefault);

class TScriptFile {
 public:
  // Replaces the store by the decoded bytes of aFileName (empty bytes give an empty store).
  // aLinesFilter, when given, makes from the decoded text the filter of the sections whose
  // lines the store keeps.
  using TLinesFilterMaker = std::function<TSectionLinesFilter(std::string_view aText)>;
  void Open(const std::string& aFileName, std::string_view aBytes, const TAnsiDecoder& aAnsi,
            const TLinesFilterMaker& aLinesFilter = {});
  // Frees the store; the file name stays for messages.
  void Close() { fStore = TIniStore(); }

  const std::string& FileName() const { return fFileName; }
  const TIniStore& Store() const { return fStore; }
  std::string LangCode() const;
  void SetLangCode(std::string aCode) { fLangCode = std::move(aCode); }

  std::string ReadText(const std::string& aSection, const std::string& aKey, const std::string& aDefault) const;
  int ReadInteger(std::string_view aSection, std::string_view aKey, int aDefault) const {
    return fStore.ReadInteger(aSection, aKey, aDefault);
  }
  bool ReadBool(std::string_view aSection, std::string_view aKey, bool aDefault) const {
    return fStore.ReadBool(aSection, aKey, aDefault);
  }
  std::vector<std::string> SectionLines(std::string_view aSection) const { return fStore.SectionLines(aSection); }
  bool SectionExists(std::string_view aSection) const { return fStore.SectionExists(aSection); }

 private:
  std::string fFileName;
  TIniStore fStore;
  std::optional<std::string> fLangCode;
};

}  // namespace vek
