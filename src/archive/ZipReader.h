#pragma once
// The archive reader: opens a pack, lists its entries and extracts the selected ones below a
// destination folder, reporting through four events. One reader serves one pack.
//
// Typical use, one entry at a time:
//   TZipReader reader(NativeZipFiles());
//   reader.SetArchiveFileName(pack);
//   reader.SetEvents(events);
//   if (!reader.ReadDirectory()) report(reader.ErrorMessage());
//   reader.SetDestinationFolder(folder);
//   for (i...) { reader.ClearSelection(); reader.Select(i); reader.ExtractSelected(); }
//
// Every call of ExtractSelected that extracts nothing for a selected entry raises OnSkippingFile
// or OnBadCRC for it, so a caller that repeats an entry on "retry" always gets a decision.
// Nothing is ever written outside the destination folder; a file that is replaced stays as it
// was unless the new one arrived complete and intact.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/ZipDataCopier.h"
#include "archive/ZipDirectory.h"
#include "archive/ZipEntry.h"
#include "archive/ZipFileSystem.h"
#include "archive/ZipSkipReason.h"

namespace vek {

enum TZipOverwriteMode { omAlways, omNever };

struct TZipTarget;

struct TZipReaderEvents {
  // A file starts: the entry's index and its target, relative to the destination folder.
  std::function<void(std::size_t aIndex, const std::string& aFileName)> OnStartUnZip;
  // Share of the current file written so far, 0 to 100, raised when it changes.
  std::function<void(int aPercent)> OnFilePercentDone;
  // The file came out complete but with another CRC; it was not put in place.
  std::function<void(std::uint32_t aCalculated, std::uint32_t aStored, std::size_t aIndex)> OnBadCRC;
  // The entry was not extracted. aRetry comes in false; a handler sets it to ask for the entry
  // to be tried again, which the caller reads back through RetryRequested().
  std::function<void(TZipSkipReason aReason, const std::string& aFileName, std::size_t aIndex, bool& aRetry)>
      OnSkippingFile;
};

class TZipReader {
 public:
  explicit TZipReader(IZipFileSystem& aFiles);

  void SetArchiveFileName(std::string aFileName) { fArchiveFileName = std::move(aFileName); }
  const std::string& ArchiveFileName() const { return fArchiveFileName; }
  // Opens the pack and reads its directory; false with ErrorMessage() set when it cannot,
  // in which case the reader has no entries.
  bool ReadDirectory();
  const std::string& ErrorMessage() const { return fErrorMessage; }

  std::size_t Count() const { return fDirectory.Entries.size(); }
  // aIndex below Count().
  const TZipEntry& Entry(std::size_t aIndex) const { return fDirectory.Entries.at(aIndex); }

  void SetDestinationFolder(std::string aFolder) { fDestinationFolder = std::move(aFolder); }
  // On: an entry's stored folders are recreated below the destination. Off: every file lands
  // directly in the destination folder under its name without path.
  void SetRecreateFolders(bool aOn) { fRecreateFolders = aOn; }
  void SetOverwriteMode(TZipOverwriteMode aMode) { fOverwriteMode = aMode; }
  // On: the pack stays open between extraction calls. Off: it is opened for each call and
  // closed after it, so other programs may use it in between.
  void SetKeepArchiveOpen(bool aOn);
  void SetEvents(TZipReaderEvents aEvents) { fEvents = std::move(aEvents); }

  void ClearSelection() { fSelection.clear(); }
  void Select(std::size_t aIndex);
  // Extracts the selected entries in the order of the directory and returns how many were
  // extracted. A folder entry counts as extracted once its folder exists.
  int ExtractSelected();
  // What the last skipping-file handler answered.
  bool RetryRequested() const { return fRetryRequested; }

 private:
  bool ExtractEntry(std::size_t aIndex);
  bool ExtractFile(std::size_t aIndex, const TZipTarget& aTarget);
  bool WriteFile(std::size_t aIndex, const TZipTarget& aTarget, std::uint64_t aDataStart,
                 std::unique_ptr<IZipOutput> aOutput);
  bool ForceFolder(const std::string& aFolder);
  bool EnsureInput();
  bool Skip(TZipSkipReason aReason, const std::string& aFileName, std::size_t aIndex);
  void ReportPercent(int aPercent);

  IZipFileSystem& fFiles;
  std::string fArchiveFileName;
  std::string fErrorMessage;
  std::unique_ptr<IZipInput> fInput;
  TZipDirectory fDirectory;
  std::string fDestinationFolder;
  bool fRecreateFolders = false;
  TZipOverwriteMode fOverwriteMode = omAlways;
  bool fKeepArchiveOpen = false;
  TZipReaderEvents fEvents;
  std::vector<std::size_t> fSelection;  // sorted, no duplicates
  bool fRetryRequested = false;
  int fLastPercent = -1;
  std::string fLastFolder;          // the last folder known to exist, to spare a look-up per file
  std::vector<std::string> fParts;  // scratch for entry names
  TZipDataCopier fCopier;
};

}  // namespace vek
