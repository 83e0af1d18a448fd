#pragma once
// Common-file commands: shared files (typically libraries) copied from a source folder into a
// common folder, only where the copy is newer, and scheduled for the next start of the system
// when the target is in use. A sub-option names them with CommonFolder and Commonfiles; the
// workstation script keeps them for the workstations in its "CommonFiles" section:
//
//   [CommonFiles]
//   CommonFolder1=%COMMONFILES%\Shared      the target folder, expanded when the command runs
//   SourcePath1=%SYSDIR%\LIBS               where the files are taken from
//   Files1=a.dll;<FileExists>b.dll;*.ocx    names or masks; <FileExists> (any case): only
//                                           replace a file that the target folder already has
//
// A file is copied when the target is missing, or when both files carry a version resource and
// the source's version is higher: a file without one is never taken for newer. A copy that
// fails is written as a job under the RunOnce key (CommonFileJobs.h); a source on a drive that
// is not a fixed disk is first copied into the temporary folder, and the job deletes that copy.
//
// The decisions are here and tested in both builds; the files, versions and registry come
// through ICommonFilePlatform (SystemCommonFilePlatform.h for the real system).
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/UserChannel.h"
#include "commands/VerTest.h"
#include "script/OptionList.h"
#include "script/UnInstallInfo.h"
#include "system/SysResult.h"

namespace vek {

class TSubOption;

// The RunOnce key of the local machine, open for writing.
class IRunOnceKey {
 public:
  virtual ~IRunOnceKey() = default;
  virtual bool ValueExists(const std::string& aName) const = 0;
  virtual SysResult WriteString(const std::string& aName, const std::string& aValue) = 0;
};

class ICommonFilePlatform {
 public:
  virtual ~ICommonFilePlatform() = default;
  virtual bool FileExists(const std::string& aPath) const = 0;
  virtual bool DirectoryExists(const std::string& aPath) const = 0;
  // The names of the files (not folders) of aFolder; empty when it cannot be listed.
  virtual std::vector<std::string> FileNames(const std::string& aFolder) const = 0;
  // The fixed file version; all parts -1 without a version resource.
  virtual TfileVersion FileVersion(const std::string& aPath) const = 0;
  virtual SysResult CreateFolder(const std::string& aPath) = 0;
  // Copies over an existing target.
  virtual SysResult CopyFile(const std::string& aFrom, const std::string& aTo) = 0;
  virtual bool IsOnFixedDisk(const std::string& aPath) const = 0;
  virtual std::string TempDir() const = 0;
  virtual bool NtFamily() const = 0;
  virtual unsigned MajorVersion() const = 0;
  // Opens the existing RunOnce key (never creating it); null, with the reason in aError, when
  // it does not open.
  virtual std::unique_ptr<IRunOnceKey> OpenRunOnceKey(SysResult& aError) = 0;
};

using TCommonFileExpander = std::function<std::string(std::string_view aText)>;

// What a command needs of the run besides the platform.
struct TCommonFileEnv {
  TCommonFileExpander Expand;  // text variables of the target folder and the interpreter
  TLogSink Log;                // one line for every file copied, kept, skipped or scheduled
  // A job that cannot be scheduled is reported as "<text 181>: <text 227>" here when given,
  // otherwise as a warning through the channel (a silent channel only logs it).
  std::vector<std::string>* ErrorLog = nullptr;
  IUserChannel* Channel = nullptr;
};

// One entry of a command's file list.
struct TCommonFileEntry {
  std::string Name;           // file name or mask, relative to the source path
  bool ExistingOnly = false;  // it carried <FileExists>
  bool operator==(const TCommonFileEntry&) const = default;
};

// The file list split at ";" by the list rule, each entry's <FileExists> marks taken out.
// Entries left empty are dropped.
std::vector<TCommonFileEntry> ParseCommonFiles(std::string_view aFiles);

// Whether a source with version aSource replaces an existing target with version aTarget.
bool IsNewerCommonFile(const TfileVersion& aSource, const TfileVersion& aTarget);

class TCommonFileCmd : public TOptionItem {
 public:
  using TCommonCopyBeginNotify =
      std::function<void(const TCommonFileCmd& aSender, const std::string& aSource, const std::string& aTarget)>;

  std::unique_ptr<TOptionItem> Copy() const override;

  // Copies what the file list names; true when a copy was scheduled for the next start.
  bool Execute(ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv);

  // The keys CommonFolder<suffix>, SourcePath<suffix> and Files<suffix>; the folders are
  // expanded by aExpand.
  void LoadFromIniFile(const TIniAccess& aIni, const std::string& aSection, const std::string& aKeySuffix,
                       const TCommonFileExpander& aExpand);
  // The same keys; with doEncodeSysdir the source path goes through aEncodeSysDir. False when
  // a value could not be written.
  bool SaveToIniFile(TIniAccess& aIni, const std::string& aSection, const std::string& aKeySuffix,
                     const TCommonFileExpander& aEncodeSysDir) const;

  std::string FCommonFolder;
  std::string FFiles;
  std::string FSourcePath;
  bool FReboot = false;  // a copy of the last Execute was scheduled
  bool doEncodeSysdir = false;
  TCommonCopyBeginNotify fOnCopyBegin;  // called before each copy

 private:
  void CopyEntry(ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv, const std::string& aTargetFolder,
                 const TCommonFileEntry& aEntry);
  void CopyFile(ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv, const std::string& aSource,
                const std::string& aTarget, bool aExistingOnly);
  void NotifyCopyBegin(const std::string& aSource, const std::string& aTarget) const;
  // A temporary copy of a source on a drive that may be gone at the next start; empty when
  // none is made.
  std::string StageSource(ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv, const std::string& aSource);
};

// The workstation's list of common-file commands, collected while installing and kept in the
// workstation script.
class TCommonFileList : public TOptionList {
 public:
  TCommonFileCmd* Item(std::size_t aIndex) const { return ItemAs<TCommonFileCmd>(aIndex); }

  // Appends a command when aCommonFolder and aCommonfiles are both given.
  void addCommonFileCmds(const std::string& aSourcepath, const std::string& aCommonFolder, bool aEncodeSysdir,
                         const std::string& aCommonfiles);
  // Executes every command in order; true when any of them scheduled a copy.
  bool CopyCommonFiles(ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv);
  // Appends the commands numbered aFirst, aFirst + 1, ... up to the first number without both
  // Files<n> and CommonFolder<n>. Keys are read with the language override of aLangCode;
  // SourcePath<n> is expanded, CommonFolder<n> only when the command runs.
  void LoadFromIniFile(const TIniAccess& aIni, const std::string& aSection, int aFirst, std::string_view aLangCode,
                       const TCommonFileExpander& aExpand);
  // Writes the commands with the numbers aFirst, aFirst + 1, ...; false when a value could not
  // be written.
  bool SaveToIniFile(TIniAccess& aIni, const std::string& aSection, int aFirst,
                     const TCommonFileExpander& aEncodeSysDir) const;
};

// A sub-option's own common files (its CommonFolder and Commonfiles), copied from aSourcepath
// (the current folder when empty); its fonBeginCopyCommonFile hears of each copy. True when a
// copy was scheduled; false as well when the sub-option names none.
bool CopySubOptionCommonFiles(const TSubOption& aSubOption, const std::string& aSourcepath, bool aEncodeSysdir,
                              ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv);

}  // namespace vek
