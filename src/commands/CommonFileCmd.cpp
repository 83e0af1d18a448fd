#include "commands/CommonFileCmd.h"

#include <exception>
#include <limits>

#include "archive/MaskMatch.h"
#include "base/Format.h"
#include "commands/CommonFileJobs.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/InstallOptions.h"
#include "script/ScriptFile.h"
#include "script/ScriptList.h"
#include "script/ScriptText.h"
#include "system/PathText.h"

namespace vek {
namespace {

constexpr std::string_view kFileExistsMark = "<FileExists>";

void LogLine(const TCommonFileEnv& aEnv, const std::string& aLine) {
  if (aEnv.Log) aEnv.Log(aLine);
}

std::string Quoted(const std::string& aText) { return "\"" + aText + "\""; }

// The form of the system's failure lines, without the system's text (which needs the system):
//   Copy "C:\a.dll" -> "C:\Common\a.dll": failed, error 32
std::string FailedLine(std::string_view aVerb, const std::string& aTarget, const SysResult& aResult) {
  return std::string(aVerb) + " " + aTarget + ": failed, error " + std::to_string(aResult.error);
}

bool HasVersion(const TfileVersion& aVersion) { return aVersion.Major >= 0; }

std::string VersionText(const TfileVersion& aVersion) {
  return HasVersion(aVersion) ? aVersion.ToString() : std::string("none");
}

void ReportScheduleFailure(const TCommonFileEnv& aEnv, const std::string& aSource, const std::string& aFolder) {
  const std::string message = FormatText(LanguageText(txt::CommonFiles_ScheduleErr), {aSource, aFolder});
  if (aEnv.ErrorLog) {
    aEnv.ErrorLog->push_back(LanguageText(txt::Msg_SetupWarning) + ": " + message);
  } else if (aEnv.Channel) {
    aEnv.Channel->ShowMessage(LanguageText(txt::Msg_SetupWarning), message, mtWarning);
  }
}

// Writes the job under the first free names of the RunOnce key; false, after reporting it,
// when it could not be written.
bool ScheduleCopyJob(ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv, const std::string& aSource,
                     const std::string& aTarget, bool aDeleteSource) {
  const std::string folder = ExtractFileDir(aTarget);
  const std::string key = std::string("HKEY_LOCAL_MACHINE") + kRunOnceKeyPath;
  const auto fail = [&](const SysResult& aResult) {
    LogLine(aEnv, FailedLine(aResult.operation ? aResult.operation : "Write", Quoted(aResult.target), aResult));
    ReportScheduleFailure(aEnv, aSource, folder);
    return false;
  };
  try {
    SysResult opened;
    const std::unique_ptr<IRunOnceKey> runOnce = aPlatform.OpenRunOnceKey(opened);
    if (!runOnce) return fail(SysResult::Failure(opened.error, "Open", key));
    const std::string interpreter =
        aEnv.Expand ? aEnv.Expand(JobInterpreter(aPlatform.NtFamily())) : JobInterpreter(aPlatform.NtFamily());
    const TCopyJob job = CopyJobCommands(interpreter, aSource, aTarget, aPlatform.NtFamily(),
                                         aPlatform.MajorVersion(), aDeleteSource);
    const auto taken = [&](const std::string& aName) { return runOnce->ValueExists(aName); };
    const auto write = [&](const char* aPrefix, const std::string& aCommand) {
      const std::string name = FirstFreeJobName(aPrefix, taken);
      const SysResult written = runOnce->WriteString(name, aCommand);
      if (written) LogLine(aEnv, "Common file scheduled: " + key + "\\" + name + " = " + aCommand);
      return written.ok() ? SysResult::Ok() : SysResult::Failure(written.error, "Write", key + "\\" + name);
    };
    if (const SysResult copy = write(kCopyJobPrefix, job.CopyCommand); !copy) return fail(copy);
    if (!job.DeleteCommand.empty()) {
      if (const SysResult del = write(kDeleteJobPrefix, job.DeleteCommand); !del) return fail(del);
    }
    return true;
  } catch (const std::exception& error) {
    LogLine(aEnv, std::string("Common file \"") + aSource + "\": scheduling failed: " + error.what());
    ReportScheduleFailure(aEnv, aSource, folder);
    return false;
  }
}

// The source files an entry stands for: the one file, or every file of the mask's folder that
// matches it.
std::vector<std::string> EntrySources(const ICommonFilePlatform& aPlatform, const std::string& aSourcePath,
                                      const std::string& aName) {
  const std::string path = JoinPath(aSourcePath, aName);
  if (aName.find_first_of("*?") == std::string::npos) return {path};
  const std::string folder = ExtractFileDir(path);
  const std::string mask = ExtractFileName(path);
  std::vector<std::string> sources;
  for (const std::string& name : aPlatform.FileNames(folder)) {
    if (MatchesMask(name, mask)) sources.push_back(JoinPath(folder, name));
  }
  return sources;
}

}  // namespace

std::vector<TCommonFileEntry> ParseCommonFiles(std::string_view aFiles) {
  std::vector<TCommonFileEntry> entries;
  for (std::string name : SplitScriptList(aFiles)) {
    TCommonFileEntry entry;
    entry.ExistingOnly = ReplaceAllText(name, kFileExistsMark, "");
    entry.Name = std::string(TrimBlanks(name));
    if (!entry.Name.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}

bool IsNewerCommonFile(const TfileVersion& aSource, const TfileVersion& aTarget) {
  return HasVersion(aSource) && HasVersion(aTarget) && aSource.TestVersion(vtGreater, aTarget);
}

std::unique_ptr<TOptionItem> TCommonFileCmd::Copy() const { return std::make_unique<TCommonFileCmd>(*this); }

bool TCommonFileCmd::Execute(ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv) {
  FReboot = false;
  const std::string targetFolder = aEnv.Expand ? aEnv.Expand(FCommonFolder) : FCommonFolder;
  for (const TCommonFileEntry& entry : ParseCommonFiles(FFiles)) CopyEntry(aPlatform, aEnv, targetFolder, entry);
  return FReboot;
}

void TCommonFileCmd::CopyEntry(ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv,
                               const std::string& aTargetFolder, const TCommonFileEntry& aEntry) {
  // The system would read a name only up to a NUL, and so act on another file than the one named.
  if (ContainsNul(aTargetFolder) || ContainsNul(FSourcePath) || ContainsNul(aEntry.Name)) {
    LogLine(aEnv, "Common file " + Quoted(JoinPath(FSourcePath, aEntry.Name)) + ": a name holds a NUL, nothing copied");
    return;
  }
  const std::vector<std::string> sources = EntrySources(aPlatform, FSourcePath, aEntry.Name);
  if (sources.empty()) {
    LogLine(aEnv, "Common file " + Quoted(JoinPath(FSourcePath, aEntry.Name)) + ": no file matches, nothing copied");
  }
  for (const std::string& source : sources) {
    if (!aPlatform.FileExists(source)) {
      LogLine(aEnv, "Common file " + Quoted(source) + ": not found, nothing copied");
      continue;
    }
    CopyFile(aPlatform, aEnv, source, JoinPath(aTargetFolder, ExtractFileName(source)), aEntry.ExistingOnly);
  }
}

void TCommonFileCmd::CopyFile(ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv, const std::string& aSource,
                              const std::string& aTarget, bool aExistingOnly) {
  if (aPlatform.FileExists(aTarget)) {
    const TfileVersion source = aPlatform.FileVersion(aSource);
    const TfileVersion target = aPlatform.FileVersion(aTarget);
    if (!IsNewerCommonFile(source, target)) {
      LogLine(aEnv, "Common file kept: " + Quoted(aTarget) + " (version " + VersionText(target) + "), " +
                        Quoted(aSource) + " (version " + VersionText(source) + ") is not newer");
      return;
    }
  } else if (aExistingOnly) {
    LogLine(aEnv, "Common file " + Quoted(aTarget) + ": not there, and only an existing one is replaced");
    return;
  }
  NotifyCopyBegin(aSource, aTarget);
  const std::string folder = ExtractFileDir(aTarget);
  if (!aPlatform.DirectoryExists(folder)) (void)aPlatform.CreateFolder(folder);
  const SysResult copied = aPlatform.CopyFile(aSource, aTarget);
  if (copied) {
    LogLine(aEnv, "Common file copied: " + Quoted(aSource) + " -> " + Quoted(aTarget));
    return;
  }
  LogLine(aEnv, FailedLine("Copy", Quoted(aSource) + " -> " + Quoted(aTarget), copied));
  const std::string staged = StageSource(aPlatform, aEnv, aSource);
  const std::string source = staged.empty() ? aSource : staged;
  if (ScheduleCopyJob(aPlatform, aEnv, source, aTarget, !staged.empty())) {
    FReboot = true;
  }
}

std::string TCommonFileCmd::StageSource(ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv,
                                        const std::string& aSource) {
  const std::string tempDir = aPlatform.TempDir();
  if (aPlatform.IsOnFixedDisk(aSource) || tempDir.empty() || !aPlatform.IsOnFixedDisk(tempDir)) return {};
  const std::string staged = JoinPath(tempDir, ExtractFileName(aSource));
  NotifyCopyBegin(aSource, staged);
  if (const SysResult copied = aPlatform.CopyFile(aSource, staged); !copied) {
    LogLine(aEnv, FailedLine("Copy", Quoted(aSource) + " -> " + Quoted(staged), copied));
    return {};
  }
  LogLine(aEnv, "Common file staged: " + Quoted(aSource) + " -> " + Quoted(staged) +
                    " (its drive is not a fixed disk)");
  return staged;
}

void TCommonFileCmd::NotifyCopyBegin(const std::string& aSource, const std::string& aTarget) const {
  if (fOnCopyBegin) fOnCopyBegin(*this, aSource, aTarget);
}

void TCommonFileCmd::LoadFromIniFile(const TIniAccess& aIni, const std::string& aSection,
                                     const std::string& aKeySuffix, const TCommonFileExpander& aExpand) {
  const auto read = [&](const char* aKey) { return aIni.ReadString(aSection, aKey + aKeySuffix, ""); };
  const auto expand = [&](const std::string& aText) { return aExpand ? aExpand(aText) : aText; };
  FCommonFolder = expand(read("CommonFolder"));
  FSourcePath = expand(read("SourcePath"));
  FFiles = read("Files");
}

bool TCommonFileCmd::SaveToIniFile(TIniAccess& aIni, const std::string& aSection, const std::string& aKeySuffix,
                                   const TCommonFileExpander& aEncodeSysDir) const {
  const std::string source = doEncodeSysdir && aEncodeSysDir ? aEncodeSysDir(FSourcePath) : FSourcePath;
  bool written = aIni.WriteString(aSection, "CommonFolder" + aKeySuffix, FCommonFolder);
  written = aIni.WriteString(aSection, "SourcePath" + aKeySuffix, source) && written;
  return aIni.WriteString(aSection, "Files" + aKeySuffix, FFiles) && written;
}

void TCommonFileList::addCommonFileCmds(const std::string& aSourcepath, const std::string& aCommonFolder,
                                        bool aEncodeSysdir, const std::string& aCommonfiles) {
  if (aCommonFolder.empty() || aCommonfiles.empty()) return;
  auto command = std::make_unique<TCommonFileCmd>();
  command->doEncodeSysdir = aEncodeSysdir;
  command->FCommonFolder = aCommonFolder;
  command->FSourcePath = aSourcepath;
  command->FFiles = aCommonfiles;
  Add(std::move(command));
}

bool TCommonFileList::CopyCommonFiles(ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv) {
  bool reboot = false;
  for (std::size_t i = 0; i < Count(); ++i) {
    if (TCommonFileCmd* command = Item(i)) reboot = command->Execute(aPlatform, aEnv) || reboot;
  }
  return reboot;
}

void TCommonFileList::LoadFromIniFile(const TIniAccess& aIni, const std::string& aSection, int aFirst,
                                      std::string_view aLangCode, const TCommonFileExpander& aExpand) {
  const TKeyReader reader = [&](const std::string& aKey, const std::string& aDefault) {
    return aIni.ReadString(aSection, aKey, aDefault);
  };
  // Counting stops at the first incomplete number, and in any case before the count overflows.
  for (long long number = aFirst; number <= std::numeric_limits<int>::max(); ++number) {
    const std::string suffix = std::to_string(number);
    const auto read = [&](const char* aKey) { return ReadWithLanguageOverride(reader, aLangCode, aKey + suffix, ""); };
    const std::string files = read("Files");
    const std::string folder = read("CommonFolder");
    if (files.empty() || folder.empty()) return;
    const std::string source = read("SourcePath");
    addCommonFileCmds(aExpand ? aExpand(source) : source, folder, false, files);
  }
}

bool TCommonFileList::SaveToIniFile(TIniAccess& aIni, const std::string& aSection, int aFirst,
                                    const TCommonFileExpander& aEncodeSysDir) const {
  bool written = true;
  for (std::size_t i = 0; i < Count(); ++i) {
    const TCommonFileCmd* command = Item(i);
    if (!command) continue;
    const std::string suffix = std::to_string(static_cast<long long>(aFirst) + static_cast<long long>(i));
    written = command->SaveToIniFile(aIni, aSection, suffix, aEncodeSysDir) && written;
  }
  return written;
}

bool CopySubOptionCommonFiles(const TSubOption& aSubOption, const std::string& aSourcepath, bool aEncodeSysdir,
                              ICommonFilePlatform& aPlatform, const TCommonFileEnv& aEnv) {
  if (aSubOption.CommonFolder.empty() || aSubOption.Commonfiles.empty()) return false;
  TCommonFileCmd command;
  command.doEncodeSysdir = aEncodeSysdir;
  command.FCommonFolder = aSubOption.CommonFolder;
  command.FFiles = aSubOption.Commonfiles;
  // An empty source path leaves the names relative: they are then found in the current folder.
  command.FSourcePath = aSourcepath;
  if (aSubOption.fonBeginCopyCommonFile) {
    command.fOnCopyBegin = [&](const TCommonFileCmd&, const std::string& aSource, const std::string& aTarget) {
      aSubOption.fonBeginCopyCommonFile(aSource, aTarget);
    };
  }
  return command.Execute(aPlatform, aEnv);
}

}  // namespace vek
