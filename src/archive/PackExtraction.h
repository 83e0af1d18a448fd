#pragma once
// Installing from pack files: the extraction of one pack into a folder with masks,
// newer-only and unpack-mode rules, attribute handling, questions and cleanup recording.
#include <cstdint>
#include <string>
#include <vector>

namespace vek {

class TProgressMonitor;

// Where extracted files are written down so that an uninstall can remove them later.
class ICleanupRecord {
 public:
  virtual ~ICleanupRecord() = default;
  // Adds aKey with an empty value to aSection; false when it cannot be written.
  virtual bool WriteKey(const std::string& aSection, const std::string& aKey) = 0;
  virtual std::string FileName() const = 0;
  // Makes what was written so far durable (on disk), so that a process killed right after
  // still leaves it behind. Nothing by default.
  virtual void Flush() {}
};

enum TUnpackMode { umAll = 0, umExistingOnly = 1, umMissingOnly = 2 };

// Extracts the entries of aPackFile whose full name matches one of aMasks into aFolder (an
// absolute path; the process's current folder plays no part). aCleanupStore may be null (nothing is recorded then, as with an empty section);
// aCleanupErrorShown is set once a failure to record has been reported, so that it is reported
// once per run. aFileAttr holds FILE_ATTRIBUTE_* bits cleared on an existing target before and
// set on it after extraction. After an abort aMonitor.AbortFlag is set.
void ExtractPackFile(const std::string& aPackFile, const std::string& aFolder, const std::vector<std::string>& aMasks,
                     bool aNewerOnly,
                     const std::string& aCleanupSection, bool& aCleanupErrorShown,
                     ICleanupRecord* aCleanupStore, TProgressMonitor& aMonitor, std::uint16_t aFileAttr,
                     int aUnpackMode);

}  // namespace vek
