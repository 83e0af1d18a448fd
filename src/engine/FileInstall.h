#pragma once
// The file installation of an install run: the setup program copied into the system folder,
// then, option by option and sub-option by sub-option, target folders prepared, obsolete files
// deleted and the pack files extracted, with what a workstation setup needs collected.
#include <optional>
#include <string>
#include <vector>

namespace vek {

class TSetupEngine;
class TMainOption;
class TSubOption;
class TProgressMonitor;
class TFileAttrOptionItem;

// The masks of a sub-option's Files value: split at ";", empty pieces between separators kept,
// a trailing empty piece dropped; an empty value gives "*.*".
std::vector<std::string> SubOptionMasks(const std::string& aFiles);

// The Files value of a sub-option that installs no files at all.
inline constexpr const char* kNoFilesMask = "$$$$$$$$.$$$";

class TFileInstaller {
 public:
  TFileInstaller(TSetupEngine& aEngine, TProgressMonitor& aMonitor) : fEngine(aEngine), fMonitor(aMonitor) {}

  // The whole installation; false when it was aborted.
  bool Run();
  // Called as soon as the system folder exists, before anything else is written: the record
  // is made on disk with the folders created so far, so that a run killed before its files
  // are installed still leaves nothing the cleanup does not know of.
  static void RecordInstallationStart(TSetupEngine& aEngine);
  // False when a file of the packs could not be installed (Run has logged which).
  bool AllFilesInstalled() const;

 private:
  void CopySetupProgram();
  static void WriteProgramRecord(TSetupEngine& e);
  void SaveRecordSoFar();
  void LogFilesNotInstalled();
  void InstallMainOption(TMainOption& aOption);
  bool SetFolderAttributes(const std::string& aPath, unsigned aAdd, unsigned aRemove);
  // Makes the folder (creating it when needed) and returns it as the file system spells it;
  // nothing, after reporting it, when it cannot be used.
  std::optional<std::string> PrepareFolder(const std::string& aPath);
  std::string UseStoredCase();
  void InstallSubOption(TSubOption& aSubOption, const std::string& aOptionFolder);
  void DeleteObsoleteFiles(const TSubOption& aSubOption, const std::string& aFolder);
  // The sub-option's file-attribute commands of one moment, on the files of aFolder; false
  // when a change failed.
  bool SetFileAttr(const TSubOption& aSubOption, bool aBeforeUnzipItems, const std::string& aFolder);
  // One command on the files it names below aPath; false when a change failed.
  bool ApplyFileAttr(const TFileAttrOptionItem& aItem, const std::string& aPath);
  bool ChangeFileAttr(const TFileAttrOptionItem& aItem, const std::string& aFile);
  void InstallFiles(TSubOption& aSubOption, const std::string& aFolder);
  // False when the sub-option is to end (pack missing and skipped, or the run aborted).
  bool WaitForPackFile(const std::string& aPath);
  void CopyCommonFiles(TSubOption& aSubOption, const std::string& aFolder);
  void CollectForWorkStation(const TSubOption& aSubOption, const std::string& aFolder);
  std::string EncodedDir(const std::string& aFolder);

  TSetupEngine& fEngine;
  TProgressMonitor& fMonitor;
  // Failed attribute changes are asked about until the user chooses to hear no more of them.
  bool fShowFileAttrErrors = true;
};

}  // namespace vek
