#include "archive/ZipReader.h"

#include <algorithm>

#include "archive/ZipLocalHeader.h"
#include "archive/ZipSafeName.h"

namespace vek {

// Where an entry goes: relative to the destination (for events), as a full path, and the
// folder that must exist for it.
struct TZipTarget {
  std::string Relative;
  std::string Path;
  std::string Folder;
};

namespace {

std::string JoinParts(const std::vector<std::string>& aParts, std::size_t aCount, char aDelimiter) {
  std::string result;
  for (std::size_t i = 0; i < aCount; ++i) {
    if (i > 0) result += aDelimiter;
    result += aParts[i];
  }
  return result;
}

std::string JoinFolder(const std::string& aFolder, const std::string& aRelative, char aDelimiter) {
  if (aFolder.empty()) return aRelative;
  if (aRelative.empty()) return aFolder;
  const char last = aFolder.back();
  return (last == aDelimiter || last == '/') ? aFolder + aRelative : aFolder + aDelimiter + aRelative;
}

bool IsSupportedMethod(std::uint16_t aMethod) {
  return aMethod == TZipEntry::kMethodStored || aMethod == TZipEntry::kMethodDeflated;
}

}  // namespace

TZipReader::TZipReader(IZipFileSystem& aFiles) : fFiles(aFiles) {}

bool TZipReader::ReadDirectory() {
  fDirectory = {};
  fSelection.clear();
  fErrorMessage.clear();
  fLastFolder.clear();
  fInput = fFiles.OpenInput(fArchiveFileName, fErrorMessage);
  if (!fInput) return false;
  const bool ok = ReadZipDirectory(*fInput, fDirectory, fErrorMessage);
  if (!ok || !fKeepArchiveOpen) fInput.reset();
  return ok;
}

void TZipReader::SetKeepArchiveOpen(bool aOn) {
  fKeepArchiveOpen = aOn;
  if (!aOn) fInput.reset();
}

void TZipReader::Select(std::size_t aIndex) {
  if (aIndex >= Count()) return;
  const auto place = std::lower_bound(fSelection.begin(), fSelection.end(), aIndex);
  if (place == fSelection.end() || *place != aIndex) fSelection.insert(place, aIndex);
}

int TZipReader::ExtractSelected() {
  fRetryRequested = false;
  int extracted = 0;
  for (const std::size_t index : fSelection) {
    if (ExtractEntry(index)) ++extracted;
  }
  if (!fKeepArchiveOpen) fInput.reset();
  return extracted;
}

bool TZipReader::ExtractEntry(std::size_t aIndex) {
  const TZipEntry& entry = fDirectory.Entries[aIndex];
  if (!SplitSafeEntryName(entry.FullName, fParts) || (!entry.IsFolder && fParts.empty())) {
    return Skip(srUnsafeName, entry.FullName, aIndex);
  }
  const char delimiter = fFiles.PathDelimiter();
  const std::size_t folderParts = fRecreateFolders && !fParts.empty() ? fParts.size() - 1 : 0;
  TZipTarget target;
  target.Relative = fRecreateFolders ? JoinParts(fParts, fParts.size(), delimiter)
                                     : (fParts.empty() ? std::string() : fParts.back());
  target.Path = JoinFolder(fDestinationFolder, target.Relative, delimiter);
  target.Folder = JoinFolder(fDestinationFolder, JoinParts(fParts, folderParts, delimiter), delimiter);
  if (entry.IsFolder) {
    if (!fRecreateFolders || fFiles.ForceFolders(target.Path)) return true;
    return Skip(srCreateError, target.Relative, aIndex);
  }
  return ExtractFile(aIndex, target);
}

bool TZipReader::ExtractFile(std::size_t aIndex, const TZipTarget& aTarget) {
  const TZipEntry& entry = fDirectory.Entries[aIndex];
  if (fEvents.OnStartUnZip) fEvents.OnStartUnZip(aIndex, aTarget.Relative);
  if (entry.IsEncrypted()) return Skip(srBadPassword, aTarget.Relative, aIndex);
  if (!IsSupportedMethod(entry.Method)) return Skip(srUnsupportedMethod, aTarget.Relative, aIndex);
  if (fOverwriteMode == omNever && fFiles.FileExists(aTarget.Path)) {
    return Skip(srNoOverwrite, aTarget.Relative, aIndex);
  }
  std::uint64_t dataStart = 0;
  if (!EnsureInput() || !FindEntryData(*fInput, entry, fDirectory.DataEnd, dataStart)) {
    return Skip(srDamagedEntry, aTarget.Relative, aIndex);
  }
  if (!ForceFolder(aTarget.Folder)) return Skip(srCreateError, aTarget.Relative, aIndex);
  TZipSkipReason failure = srCreateError;
  std::unique_ptr<IZipOutput> output = fFiles.CreateOutput(aTarget.Path, failure);
  if (!output) {
    fLastFolder.clear();
    return Skip(failure, aTarget.Relative, aIndex);
  }
  return WriteFile(aIndex, aTarget, dataStart, std::move(output));
}

bool TZipReader::WriteFile(std::size_t aIndex, const TZipTarget& aTarget, std::uint64_t aDataStart,
                           std::unique_ptr<IZipOutput> aOutput) {
  const TZipEntry& entry = fDirectory.Entries[aIndex];
  fLastPercent = -1;
  ReportPercent(0);
  const TZipDataOutcome outcome =
      fCopier.Copy(*fInput, entry, aDataStart, *aOutput, [&](std::uint64_t aDone) {
        ReportPercent(aDone >= entry.UncompressedSize
                          ? 100
                          : static_cast<int>(100.0 * static_cast<double>(aDone) /
                                             static_cast<double>(entry.UncompressedSize)));
      });
  if (outcome.Result == TZipDataResult::Ok && aOutput->Commit(entry.DosDateTime)) {
    ReportPercent(100);
    return true;
  }
  const bool noSpace = aOutput->NoSpace();
  // The unfinished file goes before anyone is asked what to do next.
  aOutput.reset();
  switch (outcome.Result) {
    case TZipDataResult::Ok: return Skip(srFileOpenError, aTarget.Relative, aIndex);
    case TZipDataResult::BadCrc:
      if (fEvents.OnBadCRC) fEvents.OnBadCRC(outcome.Crc, entry.Crc, aIndex);
      return false;
    case TZipDataResult::Damaged: return Skip(srDamagedEntry, aTarget.Relative, aIndex);
    case TZipDataResult::WriteFailed: return Skip(noSpace ? srDiskFull : srCreateError, aTarget.Relative, aIndex);
  }
  return false;
}

bool TZipReader::ForceFolder(const std::string& aFolder) {
  if (aFolder.empty() || aFolder == fLastFolder) return true;
  if (!fFiles.ForceFolders(aFolder)) return false;
  fLastFolder = aFolder;
  return true;
}

bool TZipReader::EnsureInput() {
  if (fInput) return true;
  std::string error;
  fInput = fFiles.OpenInput(fArchiveFileName, error);
  return fInput != nullptr;
}

bool TZipReader::Skip(TZipSkipReason aReason, const std::string& aFileName, std::size_t aIndex) {
  bool retry = false;
  if (fEvents.OnSkippingFile) fEvents.OnSkippingFile(aReason, aFileName, aIndex, retry);
  fRetryRequested = retry;
  return false;
}

void TZipReader::ReportPercent(int aPercent) {
  if (aPercent == fLastPercent) return;
  fLastPercent = aPercent;
  if (fEvents.OnFilePercentDone) fEvents.OnFilePercentDone(aPercent);
}

}  // namespace vek
