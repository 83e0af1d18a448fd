#include "archive/PackExtraction.h"

#include <algorithm>

#include "archive/DosDateTime.h"
#include "archive/MaskMatch.h"
#include "archive/MissingTargets.h"
#include "archive/ProgressMonitor.h"
#include "archive/ZipFiles.h"
#include "archive/ZipReader.h"
#include "archive/ZipSafeName.h"
#include "base/CaseMap.h"
#include "base/Format.h"
#include "base/Utf.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/FileAttributes.h"
#include "system/Files.h"
#include "system/MessagePump.h"
#include "system/PathText.h"

namespace vek {
namespace {

bool TargetExists(const std::string& aTarget) {
  std::uint32_t attributes = 0;
  return !aTarget.empty() && GetFileAttributesAt(aTarget, attributes).ok();
}

// The target's last write as a DOS date and time, comparable with an entry's; nothing when
// it cannot be read.
std::optional<std::uint32_t> TargetDosDateTime(const std::string& aTarget) {
  TLocalFileTime time;
  if (!GetLastWriteLocalTime(aTarget, time).ok()) return std::nullopt;
  return MakeDosDateTime({time.Year, time.Month, time.Day, time.Hour, time.Minute, time.Second});
}

// A target the system takes in no form, not even as an extended-length path.
bool PathTooLong(const std::string& aTarget) { return Utf8ToUtf16(aTarget).size() > kLongestPath; }

// The start of a path for a log line, cut between characters.
std::string PathStart(const std::string& aPath) {
  std::size_t end = std::min<std::size_t>(aPath.size(), 120);
  while (end > 0 && end < aPath.size() && (static_cast<unsigned char>(aPath[end]) & 0xC0) == 0x80) --end;
  return aPath.substr(0, end) + "...";
}

// Where the reader writes an entry below aFolder, or "" for a name it refuses to write: such
// a name must not lead the attribute and date tests to a file outside the folder either.
std::string TargetOf(const std::string& aFolder, const std::string& aName) {
  std::vector<std::string> parts;
  if (!SplitSafeEntryName(aName, parts) || parts.empty()) return std::string();
  std::string path = aFolder;
  for (const std::string& part : parts) {
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    path += part;
  }
  return path;
}

// One call of ExtractPackFile: the reader, the rules of the call and the entry at hand.
class TPackExtraction {
 public:
  TPackExtraction(TZipReader& aReader, TProgressMonitor& aMonitor, const std::vector<std::string>& aMasks)
      : fReader(aReader), fMonitor(aMonitor), fMasks(aMasks), fKnownMissing([this](std::size_t aEntry) {
          return TargetOf(Folder, fReader.Entry(aEntry).FullName);
        }) {}

  bool NewerOnly = false;
  std::string CleanupSection;
  bool* CleanupErrorShown = nullptr;
  ICleanupRecord* CleanupStore = nullptr;
  std::uint32_t FileAttr = 0;
  int UnpackMode = umAll;
  std::string Folder;

  // Every file that the extraction may create anew is recorded, and the record made durable,
  // before the first byte is written: a process killed in the middle of the pack then leaves a
  // record that names its half-written files. Files that exist already are recorded once they
  // are replaced, since the record must never name a file that the installation did not make;
  // their successor is written under a temporary name first, which is recorded ahead instead.
  void RecordNewFilesAhead() {
    if (!CleanupStore || CleanupSection.empty()) return;
    for (std::size_t i = 0; i < fReader.Count(); ++i) {
      const TZipEntry& entry = fReader.Entry(i);
      if (entry.IsFolder || entry.IsEncrypted() || !Matches(entry)) continue;
      const std::string target = TargetOf(Folder, entry.FullName);
      if (target.empty() || PathTooLong(target)) continue;
      if (TargetExists(target)) {
        if (UnpackMode != umMissingOnly) Record(entry.FullName + std::string(kZipPartSuffix));
      } else {
        fKnownMissing.Add(i);
        if (UnpackMode != umExistingOnly) Record(entry.FullName);
      }
    }
    CleanupStore->Flush();
  }

  void Run() {
    RecordNewFilesAhead();
    fReader.ClearSelection();
    for (std::size_t i = 0; i < fReader.Count(); ++i) {
      ProcessPendingMessages();
      if (fMonitor.AbortFlag || !ProcessEntry(i)) return;
    }
  }

 private:
  // False when the extraction is to stop.
  bool ProcessEntry(std::size_t aIndex) {
    const TZipEntry& entry = fReader.Entry(aIndex);
    const bool matched = Matches(entry);
    const std::int64_t endPos =
        fMonitor.Position() + (matched ? static_cast<std::int64_t>(entry.UncompressedSize) : 0);
    if (matched && !Install(aIndex, entry)) return false;
    fMonitor.SetPosition(endPos);
    return true;
  }

  bool Matches(const TZipEntry& aEntry) const {
    return std::any_of(fMasks.begin(), fMasks.end(),
                       [&](const std::string& aMask) { return MatchesMask(aEntry.FullName, aMask); });
  }

  // Whether the target is there. A target found missing before the first file was written and
  // not extracted since is known to be missing without asking the file system again: under
  // Wine every look-up of a missing name reads its whole folder.
  bool Exists(const std::string& aTarget) const {
    return !fKnownMissing.Contains(aTarget) && TargetExists(aTarget);
  }

  // A matching entry: filters, questions, extraction and attributes. False when aborted.
  bool Install(std::size_t aIndex, const TZipEntry& aEntry) {
    const std::string target = TargetOf(Folder, aEntry.FullName);
    if (PathTooLong(target)) {
      // Nothing can create it; the pack's other files go on.
      fMonitor.Log("Skipped, the path is longer than " + std::to_string(kLongestPath) +
                   " characters: " + PathStart(target));
      if (!aEntry.IsFolder) ++fMonitor.Tally.failed;
      return true;
    }
    std::uint32_t oldAttr = 0;
    const bool cleared = FileAttr != 0 && Exists(target);
    if (cleared && !ClearAttributes(target, oldAttr)) return false;
    const bool wanted = Wanted(aEntry, target);
    if (!wanted || !ReadOnlyTestPassed(target)) {
      // A file that stays as it was keeps the attributes it had.
      if (cleared) SetFileAttributesAt(target, oldAttr).ok();
      if (!aEntry.IsFolder) ++(wanted ? fMonitor.Tally.skipped : fMonitor.Tally.kept);
      return !fMonitor.AbortFlag;
    }
    // From here on the target may exist (a later entry of the same name finds it).
    fKnownMissing.Remove(target);
    if (!Extract(aIndex, aEntry)) return false;
    if (FileAttr != 0 && !target.empty() &&
        !SetFileAttributesAt(target, FileAttr | oldAttr | kAttrArchive).ok() && !AttributeFailure(target)) {
      return false;
    }
    fReader.ClearSelection();
    return true;
  }

  // False when the attributes could not be cleared and the user chose to abort.
  bool ClearAttributes(const std::string& aTarget, std::uint32_t& aOldAttr) {
    if (GetFileAttributesAt(aTarget, aOldAttr).ok() &&
        SetFileAttributesAt(aTarget, aOldAttr & ~FileAttr).ok()) {
      return true;
    }
    return AttributeFailure(aTarget);
  }

  // The newer-only and unpack-mode rules.
  bool Wanted(const TZipEntry& aEntry, const std::string& aTarget) const {
    if (!NewerOnly && UnpackMode == umAll) return true;
    const bool exists = Exists(aTarget);
    if (NewerOnly && exists) {
      const std::optional<std::uint32_t> fileTime = TargetDosDateTime(aTarget);
      if (fileTime && *fileTime >= aEntry.DosDateTime) return false;
    }
    if (UnpackMode == umExistingOnly) return exists;
    if (UnpackMode == umMissingOnly) return !exists;
    return true;
  }

  // False when the file is to be left out (a skip or an abort decision).
  bool ReadOnlyTestPassed(const std::string& aTarget) {
    if (fKnownMissing.Contains(aTarget)) return true;
    bool again = false;
    do {
      fMonitor.RetryFlag = false;
      // The entry loop has just let the interface work; only a repeated test needs it again.
      if (again) ProcessPendingMessages();
      again = true;
      std::uint32_t attributes = 0;
      if (!GetFileAttributesAt(aTarget, attributes).ok() || !(attributes & kAttrReadOnly)) return true;
      const std::string message =
          FileErrorMessage(aTarget, "ReadOnly Error", "Target file is marked as readonly");
      fMonitor.Log(message);
      switch (fMonitor.AskSkipRetryAbort(message)) {
        case sraSkip: fMonitor.NotInstalled(aTarget); return false;
        case sraRetry: fMonitor.RetryFlag = true; break;
        case sraAbort: fMonitor.AbortFlag = true; return false;
      }
    } while (fMonitor.RetryFlag);
    return true;
  }

  // Extracts the entry and counts the outcome. False when aborted.
  bool Extract(std::size_t aIndex, const TZipEntry& aEntry) {
    bool extracted = false;
    const bool goOn = ExtractWithRetries(aIndex, aEntry, extracted);
    // Every file is counted once, however many attempts it took.
    if (!aEntry.IsFolder) ++(extracted ? fMonitor.Tally.installed : fMonitor.Tally.failed);
    return goOn;
  }

  // Extracts the entry until it is extracted or a skip or abort decision ends the attempts.
  // False when aborted.
  bool ExtractWithRetries(std::size_t aIndex, const TZipEntry& aEntry, bool& aExtracted) {
    bool again = false;
    do {
      if (again) ProcessPendingMessages();
      again = true;
      if (fMonitor.AbortFlag) return false;
      // The reader's skip or CRC event sets the flag again when the user asks for a retry; an
      // extraction that fails without a decision therefore ends the attempts.
      fMonitor.RetryFlag = false;
      fReader.ClearSelection();
      fReader.Select(aIndex);
      if (fReader.ExtractSelected() > 0) {
        aExtracted = true;
        fMonitor.RetryFlag = false;
        // An extracted file is recorded even when the user has just asked to stop, so that
        // the uninstall still finds it. Folders are not files of the record: a cleanup
        // removes them once they are empty.
        if (!aEntry.IsFolder) Record(aEntry.FullName);
        if (fMonitor.AbortFlag) return false;
      }
    } while (fMonitor.RetryFlag);
    return !fMonitor.AbortFlag;
  }

  void Record(const std::string& aName) {
    if (!CleanupStore || CleanupSection.empty()) return;
    if (CleanupStore->WriteKey(CleanupSection, aName) || *CleanupErrorShown) return;
    *CleanupErrorShown = true;
    fMonitor.ShowMessage(LanguageText(txt::Msg_SetupWarning),
                         FormatText(LanguageText(txt::CleanUp_WriteErr), {CleanupStore->FileName()}),
                         mtWarning);
  }

  // Reports that the attributes of aTarget cannot be changed; false when the user aborts.
  bool AttributeFailure(const std::string& aTarget) {
    // Continue leaves the attributes as they are; a run without a user continues.
    const TQuestion question{LanguageText(txt::Msg_SetupError),
                             FormatText(LanguageText(txt::Unzip_AttrErr), {aTarget}),
                             mtError,
                             {LanguageText(txt::contr_Continue), LanguageText(txt::contr_Abort)},
                             1,
                             {}};
    if (fMonitor.Ask(question) != 2) return true;
    fMonitor.AbortFlag = true;
    return false;
  }

  TZipReader& fReader;
  TProgressMonitor& fMonitor;
  const std::vector<std::string>& fMasks;
  // The targets found missing ahead of the extraction and not extracted yet.
  TMissingTargets fKnownMissing;
};

// Opens the pack; reports a pack that cannot be read (the reader then has no entries).
void OpenPack(TZipReader& aReader, TProgressMonitor& aMonitor, const std::string& aPackFile) {
  aReader.SetArchiveFileName(aPackFile);
  if (aReader.ReadDirectory()) return;
  aMonitor.ShowMessage(
      LanguageText(txt::Msg_Error),
      FormatText(LanguageText(txt::Unzip_OpenErr) + "\r(%s)", {aPackFile, aReader.ErrorMessage()}), mtError);
}

}  // namespace

void ExtractPackFile(const std::string& aPackFile, const std::string& aFolder,
                     const std::vector<std::string>& aMasks, bool aNewerOnly,
                     const std::string& aCleanupSection, bool& aCleanupErrorShown,
                     ICleanupRecord* aCleanupStore, TProgressMonitor& aMonitor, std::uint16_t aFileAttr,
                     int aUnpackMode) {
  aMonitor.AbortFlag = false;
  const std::string& folder = aFolder;
  TZipReader reader(NativeZipFiles());
  reader.SetOverwriteMode(omAlways);
  reader.SetEvents(aMonitor.Events(reader, folder));
  reader.SetKeepArchiveOpen(true);
  OpenPack(reader, aMonitor, aPackFile);
  reader.SetDestinationFolder(folder);
  reader.SetRecreateFolders(true);
  if (reader.Count() == 0) return;

  TPackExtraction extraction(reader, aMonitor, aMasks);
  extraction.NewerOnly = aNewerOnly;
  extraction.CleanupSection = aCleanupSection;
  extraction.CleanupErrorShown = &aCleanupErrorShown;
  extraction.CleanupStore = aCleanupStore;
  extraction.FileAttr = aFileAttr;
  extraction.UnpackMode = aUnpackMode;
  extraction.Folder = folder;
  extraction.Run();
}

}  // namespace vek
