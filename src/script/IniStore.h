#pragma once
// An INI file held in memory: the script store. Built once from the whole text and only read.
//
// Reading rules, chosen to agree with the Windows profile-string functions
// (GetPrivateProfileString and GetPrivateProfileSection on the same file):
//   - lines end at CR, LF or NUL; blanks and control characters around a line are ignored;
//   - a line beginning with ";" is a comment; empty lines are skipped;
//   - a line beginning with "[" and holding a "]" starts a section; its name is the text up to
//     the last "]", trimmed ("[ A ]" is A; the rest of the line after "]" is ignored); a "["
//     line without "]" is an ordinary line of the current section;
//   - any other line belongs to the current section; lines before the first header form a
//     section with an empty name;
//   - "name=value": name and value are trimmed; the value is kept as written, double quotes
//     included (the profile functions strip one pair of surrounding quotes; scripts rely on
//     them for quoted list entries and quoted folders);
//   - a line without "=" is not a key: reading it by name gives the default, but it stays in
//     the section's lines;
//   - section and key names compare without regard to case (one Unicode case mapping; Wine's
//     profile functions fold ASCII only);
//   - a section name that occurs again: only its first section is read, by key and as lines;
//     the later ones are kept in Sections() but never consulted. A key that occurs again in a
//     section: the first one is read.
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/CaseMap.h"
#include "base/NameIndex.h"

namespace vek {

struct TIniLine {
  std::string Name;   // the text before the first "=", or the whole line when there is none
  std::string Value;  // the text after the first "="
  bool HasValue = false;

  // "name=value", or the line itself when it has no "=".
  std::string Text() const { return HasValue ? Name + "=" + Value : Name; }
};

class TIniSection {
 public:
  explicit TIniSection(std::string aName) : fName(std::move(aName)) {}

  const std::string& Name() const { return fName; }
  const std::vector<TIniLine>& Lines() const { return fLines; }
  // The first key of that name, or null.
  const TIniLine* FindKey(std::string_view aKey) const;
  void AddLine(TIniLine aLine);

 private:
  auto LineName() const {
    return [this](std::size_t aLine) -> std::string_view { return fLines[aLine].Name; };
  }

  std::string fName;
  std::vector<TIniLine> fLines;
  TNameIndex fKeys;  // the line of each key's first occurrence
};

// Calls aVisit(section, name, value) for every "name=value" line of the text, in file order,
// by the rules above and without building a store: for a large file that is read once. Lines
// before the first header come with an empty section name; a repeated section or key is
// passed on every time it occurs.
using TIniValueVisitor = std::function<void(std::string_view, std::string_view, std::string_view)>;
void ForEachIniValue(std::string_view aText, const TIniValueVisitor& aVisit);

// Whether the lines of a section are kept in a store; a section left out is there, but empty.
using TSectionLinesFilter = std::function<bool(std::string_view aSection)>;

class TIniStore {
 public:
  TIniStore() = default;
  // Builds the store from the decoded text of a file, with the lines of the sections that
  // aKeepLines keeps (all when it is empty).
  static TIniStore FromText(std::string_view aText, const TSectionLinesFilter& aKeepLines = {});

  bool SectionExists(std::string_view aSection) const { return FindSection(aSection) != nullptr; }
  bool ValueExists(std::string_view aSection, std::string_view aKey) const;
  // The first section of that name, or null.
  const TIniSection* FindSection(std::string_view aSection) const;

  std::string ReadString(std::string_view aSection, std::string_view aKey, std::string_view aDefault) const;
  // A value that is not a number (ScriptNumber.h) gives the default.
  int ReadInteger(std::string_view aSection, std::string_view aKey, int aDefault) const;
  // Read as an integer: 0 is false, any other number true.
  bool ReadBool(std::string_view aSection, std::string_view aKey, bool aDefault) const;

  // The lines of a section in file order ("name=value", or the line without "="); empty when
  // the section is missing.
  std::vector<std::string> SectionLines(std::string_view aSection) const;
  // Every section name in file order, each once, the empty name left out.
  std::vector<std::string> SectionNames() const;
  const std::vector<TIniSection>& Sections() const { return fSections; }

 private:
  std::vector<TIniSection> fSections;
  std::map<std::string, std::size_t, TextLess> fIndex;  // name -> index of its first section
};

}  // namespace vek
