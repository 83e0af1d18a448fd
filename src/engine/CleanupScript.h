#pragma once
// The cleanup record "CLEANUP.INI" while an install run writes it: an INI file held in memory
// (sections and keys compared without regard to case, in the order they were first written)
// and saved whole as UTF-16 little-endian text with a byte-order mark. The extraction writes
// every file it creates into the section named by the file's folder.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "archive/PackExtraction.h"
#include "engine/RecordSection.h"
#include "script/IniStore.h"
#include "script/UnInstallInfo.h"
#include "system/Files.h"

namespace vek {

class TCleanupScript : public ICleanupRecord, public TIniAccess {
 public:
  // An empty record that will be saved as aFileName.
  explicit TCleanupScript(std::string aFileName) : fFileName(std::move(aFileName)) {}
  // Adds the sections and keys of an existing record (UTF-16, UTF-8 or ANSI text) to this one.
  void Merge(std::string_view aFileBytes);
  // The same for text already decoded (UTF-8).
  void MergeText(std::string_view aText);

  void SetString(std::string_view aSection, std::string_view aKey, std::string_view aValue);
  std::optional<std::string_view> FindValue(std::string_view aSection, std::string_view aKey) const;
  std::vector<std::string> SectionNames() const;
  // The keys of a section in the order they were first written; none when it is missing.
  std::vector<std::string> SectionKeys(std::string_view aSection) const;
  // A section, to be read in place when it is too large to copy (a folder of many files); null
  // when it is missing. Valid until the record changes.
  const TRecordSection* FindSection(std::string_view aSection) const { return Find(aSection); }

  // TIniAccess, for the uninstall records kept in the record.
  std::string ReadString(const std::string& aSection, const std::string& aKey,
                         const std::string& aDefault) const override;
  bool WriteString(const std::string& aSection, const std::string& aKey, const std::string& aValue) override;

  // Writes the value only when the key is not there yet.
  void WriteKeyIfMissing(std::string_view aSection, std::string_view aKey, std::string_view aValue);
  // ICleanupRecord: a key with an empty value (never fails in memory; saving may).
  bool WriteKey(const std::string& aSection, const std::string& aKey) override;
  std::string FileName() const override { return fFileName; }
  // Flush hands the record to its owner, who writes it to disk.
  void Flush() override {
    if (fOnFlush) fOnFlush();
  }
  void SetOnFlush(std::function<void()> aOnFlush) { fOnFlush = std::move(aOnFlush); }

  // The bytes of the record's file handed to aWrite piece by piece, so that a large record is
  // not held a second time as its file; false as soon as aWrite returns false.
  bool SerializeTo(const TPieceWriter& aWrite) const;
  // The whole record as the bytes of its file.
  std::string Serialize() const;

 private:
  using NameIndex = std::unordered_multimap<std::size_t, std::size_t>;
  TRecordSection& FindOrAdd(std::string_view aSection);
  const TRecordSection* Find(std::string_view aSection) const;
  std::size_t SectionAt(std::string_view aSection) const;

  std::string fFileName;
  std::vector<TRecordSection> fSections;
  NameIndex fSectionIndex;
  std::function<void()> fOnFlush;
};

// A record read back for a cleanup run. Empty when the bytes are not a cleanup record: text with
// NUL characters (binary or a wrongly decoded file) or without the program record's sections. A
// last line without its line end (a file cut short) is left out, since it may name a file only
// in part.
std::optional<TCleanupScript> ParseCleanupRecord(const std::string& aFileName, std::string_view aFileBytes);
// The same for bytes read for it alone, which it releases once they are decoded.
std::optional<TCleanupScript> ParseCleanupRecord(const std::string& aFileName, std::string&& aFileBytes);

// For the script store of a cleanup run, whose script is the record: leaves out the lines of
// the sections that the record's folder and group lists name. The cleanup reads those file
// lists from the record itself (ParseCleanupRecord), and a record of tens of thousands of files
// would otherwise be held twice.
TSectionLinesFilter RecordFileListsLeftOut(std::string_view aText);

}  // namespace vek
