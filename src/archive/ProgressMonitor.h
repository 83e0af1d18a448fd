#pragma once
// TProgressMonitor turns the archive reader's events into progress-bar movement, log lines and
// the Skip / Retry / Abort questions put to the user while pack files are extracted.
//
// Positions are byte counts of uncompressed data. A bar that cannot hold the byte count as its
// maximum gets kilobytes instead: fFaktor is then 1024 and every position written to the bar is
// divided by it, while Max and Position keep speaking bytes. The monitor remembers the byte
// position it last wrote, so that adding many files smaller than a kilobyte still moves the bar
// instead of losing each file's bytes to the division.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "archive/ZipReader.h"
#include "archive/ZipSkipReason.h"
#include "archive/ExtractTally.h"
#include "base/UserChannel.h"

namespace vek {

// A progress bar of the user interface. SetMax returns false when the bar cannot take that
// maximum; a read returns nothing when the bar cannot be asked.
class IProgressBar {
 public:
  virtual ~IProgressBar() = default;
  virtual bool SetMax(int aMax) = 0;
  virtual std::optional<int> Max() const = 0;
  virtual void SetMin(int aMin) = 0;
  virtual std::optional<int> Min() const = 0;
  virtual void SetPosition(int aPosition) = 0;
  virtual std::optional<int> Position() const = 0;
};

// A label that shows the name of the file being extracted.
class IFileLabel {
 public:
  virtual ~IFileLabel() = default;
  virtual void SetCaption(const std::string& aCaption) = 0;
};

// The answers of the three-button question, numbered as its buttons.
enum TSkipRetryAbort { sraSkip = 1, sraRetry = 2, sraAbort = 3 };

// The question with the buttons skip, retry and abort about a file of a pack; a run without a
// user skips the file.
TQuestion SkipRetryAbortQuestion(const std::string& aMessage);

// The title and the detail that the skip question shows for a reason ("" for reasons that
// need no explanation).
std::string SkipReasonTitle(TZipSkipReason aReason);
std::string SkipReasonDetail(TZipSkipReason aReason);

class TProgressMonitor {
 public:
  using TLogEvent = std::function<void(TProgressMonitor& aSender, const std::string& aLogMessage)>;

  TProgressMonitor() = default;
  TProgressMonitor(const TProgressMonitor&) = delete;
  TProgressMonitor& operator=(const TProgressMonitor&) = delete;

  void SetProgressBar(IProgressBar* aBar) { fProgressBar = aBar; }
  IProgressBar* ProgressBar() const { return fProgressBar; }
  void SetFileProgressBar(IProgressBar* aBar) { fFileProgressBar = aBar; }
  IProgressBar* FileProgressBar() const { return fFileProgressBar; }
  void SetFileLabel(IFileLabel* aLabel) { fFileLabel = aLabel; }
  IFileLabel* FileLabel() const { return fFileLabel; }
  const std::string& CurrentFile() const { return fCurrentFile; }
  void SetOnLogMessage(TLogEvent aEvent) { fOnLogMessage = std::move(aEvent); }
  // The run's channel for messages and questions; without one every question gets its silent
  // answer and nothing is shown.
  void SetChannel(IUserChannel* aChannel) { fChannel = aChannel; }
  // Asks through the channel; the answer is the button's number (0 when closed otherwise).
  int Ask(const TQuestion& aQuestion);
  // Shows (when somebody is there) and logs a message through the channel.
  void ShowMessage(const std::string& aCaption, const std::string& aMessage, TMsgDlgType aType);
  // The skip, retry and abort question, its answer turned into the flags: closed counts as skip.
  TSkipRetryAbort AskSkipRetryAbort(const std::string& aMessage);

  // Bytes; -1 without a bar or when the bar cannot be read. Writes without a bar do nothing.
  std::int64_t Max() const;
  void SetMax(std::int64_t aMax);
  std::int64_t Min() const;
  void SetMin(int aMin);
  std::int64_t Position() const;
  void SetPosition(std::int64_t aPosition);
  int Faktor() const { return fFaktor; }

  void Log(const std::string& aMessage);

  // The reader's four events bound to the handlers below; aReader gives the entries' sizes
  // and names, aFolder the folder the entries' names are relative to.
  TZipReaderEvents Events(const TZipReader& aReader, const std::string& aFolder);

  void StartUnZip(std::uint64_t aSize, const std::string& aFileName);
  void FilePercentDone(int aPercent);
  void BadCRC(std::uint32_t aCalculated, std::uint32_t aStored, const std::string& aFullPath);
  // Returns the decision as the reader's retry flag. aDetail replaces the reason's own detail
  // when it is not empty.
  bool SkippingFile(TZipSkipReason aReason, const std::string& aFullPath, const std::string& aDetail = {});
  // A file of a pack that was to be installed and is not (skipped after an error, or a
  // read-only target left as it was): reported once the installation ends, whose run fails.
  void NotInstalled(const std::string& aFullPath) { fNotInstalled.push_back(aFullPath); }
  const std::vector<std::string>& FilesNotInstalled() const { return fNotInstalled; }

  // The user asked to stop; the extraction ends at its next check.
  bool AbortFlag = false;
  // The last decision asked to try the current file again.
  bool RetryFlag = false;
  // What became of the files of every pack extracted under this monitor.
  TExtractTally Tally;

 private:
  // Asks the skip, retry and abort question and sets the flags from the answer.
  void Decide(const std::string& aMessage);
  void SetBarPosition(IProgressBar& aBar, std::int64_t aUnits);

  IProgressBar* fProgressBar = nullptr;
  IProgressBar* fFileProgressBar = nullptr;
  IFileLabel* fFileLabel = nullptr;
  std::string fCurrentFile;
  std::int64_t fCurrentFileSize = 0;  // the current entry's size div 100
  std::int64_t fProgress = 0;         // bar units when the current file started
  std::int64_t fPosition = 0;         // the last position written, in bytes
  int fFaktor = 1;
  TLogEvent fOnLogMessage;
  IUserChannel* fChannel = nullptr;
  std::vector<std::string> fNotInstalled;
};

// The message of the file question: error number -1, the file, a title and a detail.
std::string FileErrorMessage(const std::string& aFullPath, const std::string& aTitle,
                             const std::string& aDetail);

// aName (relative, "/" or "\" between folders) made absolute below aFolder with "\" throughout.
std::string FullTargetPath(const std::string& aFolder, const std::string& aName);

}  // namespace vek
