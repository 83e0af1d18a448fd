#include "archive/ProgressMonitor.h"

#include <algorithm>
#include <climits>

#include "base/Format.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/Drives.h"
#include "system/PathText.h"

namespace vek {
namespace {

int ClampToInt(std::int64_t aValue) {
  return static_cast<int>(std::clamp<std::int64_t>(aValue, INT_MIN, INT_MAX));
}

std::int64_t ScaledRead(const IProgressBar* aBar, int aFaktor, bool aScaled,
                        std::optional<int> (IProgressBar::*aRead)() const) {
  if (!aBar) return -1;
  const std::optional<int> value = (aBar->*aRead)();
  if (!value) return -1;
  return aScaled ? static_cast<std::int64_t>(*value) * aFaktor : *value;
}

}  // namespace

TQuestion SkipRetryAbortQuestion(const std::string& aMessage) {
  return {LanguageText(txt::Msg_SetupError),
          aMessage,
          mtError,
          {LanguageText(txt::contr_Continue), LanguageText(txt::contr_Retry), LanguageText(txt::contr_Abort)},
          sraSkip,
          {}};
}

int TProgressMonitor::Ask(const TQuestion& aQuestion) {
  return fChannel ? fChannel->Ask(aQuestion) : aQuestion.silentAnswer;
}

void TProgressMonitor::ShowMessage(const std::string& aCaption, const std::string& aMessage, TMsgDlgType aType) {
  if (fChannel) fChannel->ShowMessage(aCaption, aMessage, aType);
}

TSkipRetryAbort TProgressMonitor::AskSkipRetryAbort(const std::string& aMessage) {
  const int answer = Ask(SkipRetryAbortQuestion(aMessage));
  if (answer == sraRetry || answer == sraAbort) return static_cast<TSkipRetryAbort>(answer);
  return sraSkip;
}

std::string SkipReasonTitle(TZipSkipReason aReason) {
  switch (aReason) {
    case srBadPassword: return "BAD Password";
    case srNoOverwrite: return "ReadOnly Error";
    case srFileOpenError: return "File open Error";
    case srCreateError: return "File create Error";
    case srUnsafeName: return "Unsafe name";
    case srUnsupportedMethod: return "Unsupported method";
    case srDamagedEntry: return "Damaged entry";
    case srDiskFull: return "Disk full";
    case srExcludeList:
    case srArchiveBitNotSet:
    case srNoFileToFreshen:
    case srSkippedInStartZip: break;
  }
  return std::string();
}

std::string SkipReasonDetail(TZipSkipReason aReason) {
  switch (aReason) {
    case srBadPassword: return "Target file is password proteceted";
    case srNoOverwrite: return "Target file is marked as readonly";
    case srFileOpenError: return "Can't open target file";
    case srCreateError: return "Can't create target file";
    case srUnsafeName: return "Entry name leaves the target folder";
    case srUnsupportedMethod: return "Compression method not supported";
    case srDamagedEntry: return "Archive entry is damaged";
    case srDiskFull: return "Not enough space on the drive";
    case srExcludeList:
    case srArchiveBitNotSet:
    case srNoFileToFreshen:
    case srSkippedInStartZip: break;
  }
  return std::string();
}

std::string FileErrorMessage(const std::string& aFullPath, const std::string& aTitle,
                             const std::string& aDetail) {
  return FormatText(LanguageText(txt::Unzip_FileErr), {-1, aFullPath, aTitle, aDetail});
}

std::string FullTargetPath(const std::string& aFolder, const std::string& aName) {
  std::string path = JoinPath(aFolder, aName);
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::int64_t TProgressMonitor::Max() const {
  return ScaledRead(fProgressBar, fFaktor, true, &IProgressBar::Max);
}

void TProgressMonitor::SetMax(std::int64_t aMax) {
  if (!fProgressBar) return;
  fFaktor = 1;
  if (aMax <= INT_MAX && fProgressBar->SetMax(ClampToInt(aMax))) return;
  fFaktor = 1024;
  fProgressBar->SetMax(ClampToInt(aMax / fFaktor));
}

std::int64_t TProgressMonitor::Min() const {
  return ScaledRead(fProgressBar, fFaktor, false, &IProgressBar::Min);
}

void TProgressMonitor::SetMin(int aMin) {
  if (fProgressBar) fProgressBar->SetMin(aMin);
}

std::int64_t TProgressMonitor::Position() const {
  const std::int64_t position = ScaledRead(fProgressBar, fFaktor, true, &IProgressBar::Position);
  // While the bar still shows what was last written, that position is known to the byte.
  if (position >= 0 && position / fFaktor == ClampToInt(fPosition / fFaktor)) return fPosition;
  return position;
}

void TProgressMonitor::SetPosition(std::int64_t aPosition) {
  if (!fProgressBar) return;
  fPosition = aPosition;
  SetBarPosition(*fProgressBar, aPosition / fFaktor);
}

void TProgressMonitor::SetBarPosition(IProgressBar& aBar, std::int64_t aUnits) {
  aBar.SetPosition(ClampToInt(aUnits));
}

void TProgressMonitor::Log(const std::string& aMessage) {
  if (fOnLogMessage) fOnLogMessage(*this, aMessage);
}

TZipReaderEvents TProgressMonitor::Events(const TZipReader& aReader, const std::string& aFolder) {
  TZipReaderEvents events;
  events.OnStartUnZip = [this, &aReader](std::size_t aIndex, const std::string& aFileName) {
    StartUnZip(aReader.Entry(aIndex).UncompressedSize, aFileName);
  };
  events.OnFilePercentDone = [this](int aPercent) { FilePercentDone(aPercent); };
  events.OnBadCRC = [this, &aReader, aFolder](std::uint32_t aCalculated, std::uint32_t aStored,
                                              std::size_t aIndex) {
    BadCRC(aCalculated, aStored, FullTargetPath(aFolder, aReader.Entry(aIndex).FullName));
  };
  events.OnSkippingFile = [this, &aReader, aFolder](TZipSkipReason aReason, const std::string& aFileName,
                                                    std::size_t aIndex, bool& aRetry) {
    // A full drive is told with what the file needs and what the drive still has.
    const std::string detail =
        aReason != srDiskFull
            ? std::string()
            : FormatText(LanguageText(txt::Unzip_DiskFull), {std::to_string(aReader.Entry(aIndex).UncompressedSize),
                                                            std::to_string(GetDiskFreeSpace(aFolder))});
    aRetry = SkippingFile(aReason, FullTargetPath(aFolder, aFileName), detail);
  };
  return events;
}

void TProgressMonitor::StartUnZip(std::uint64_t aSize, const std::string& aFileName) {
  fCurrentFile = aFileName;
  fCurrentFileSize = static_cast<std::int64_t>(aSize / 100);
  if (fFileLabel) fFileLabel->SetCaption(aFileName);
  if (fFileProgressBar) fFileProgressBar->SetPosition(0);
  if (fProgressBar) fProgress = fProgressBar->Position().value_or(0);
  Log(aFileName);
}

void TProgressMonitor::FilePercentDone(int aPercent) {
  if (fProgressBar) SetBarPosition(*fProgressBar, aPercent * fCurrentFileSize / fFaktor + fProgress);
  if (fFileProgressBar) fFileProgressBar->SetPosition(aPercent);
}

void TProgressMonitor::Decide(const std::string& aMessage) {
  RetryFlag = false;
  switch (AskSkipRetryAbort(aMessage)) {
    case sraSkip: break;
    case sraRetry: RetryFlag = true; break;
    case sraAbort: AbortFlag = true; break;
  }
}

void TProgressMonitor::BadCRC(std::uint32_t aCalculated, std::uint32_t aStored, const std::string& aFullPath) {
  Decide(FileErrorMessage(aFullPath, "CRC Error",
                          FormatText(" Target file CRC = %x expected CRC = %x ", {aCalculated, aStored})));
  Log("BAD CRC:  " + aFullPath);
  if (!RetryFlag) NotInstalled(aFullPath);
}

bool TProgressMonitor::SkippingFile(TZipSkipReason aReason, const std::string& aFullPath,
                                    const std::string& aDetail) {
  const std::string message = FileErrorMessage(aFullPath, SkipReasonTitle(aReason),
                                               aDetail.empty() ? SkipReasonDetail(aReason) : aDetail);
  Decide(message);
  Log(message);
  if (!RetryFlag) NotInstalled(aFullPath);
  return RetryFlag;
}

}  // namespace vek
