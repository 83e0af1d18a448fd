// Common-file commands over an in-memory machine: which files are copied, kept or scheduled,
// the exact jobs under the RunOnce key, staging from a drive that is not a fixed disk, the
// reports of a job that cannot be written, and the numbered keys of the workstation script.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

#include "../base/FakeUserChannel.h"
#include "base/CaseMap.h"
#include "base/Format.h"
#include "commands/CommonFileCmd.h"
#include "commands/CommonFileJobs.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/InstallOptions.h"
#include "script/WorkStationFileCmd.h"
#include "system/PathText.h"

namespace vek {
namespace {

struct FakeFile {
  TfileVersion version;
  bool locked = false;  // held open by another program: it cannot be written
  std::string content;
};

class FakeRunOnce final : public IRunOnceKey {
 public:
  explicit FakeRunOnce(std::map<std::string, std::string>& aValues, bool aFailWrites)
      : fValues(aValues), fFailWrites(aFailWrites) {}
  bool ValueExists(const std::string& aName) const override { return fValues.count(aName) != 0; }
  SysResult WriteString(const std::string& aName, const std::string& aValue) override {
    if (fFailWrites) return SysResult(5);
    fValues[aName] = aValue;
    return SysResult::Ok();
  }

 private:
  std::map<std::string, std::string>& fValues;
  bool fFailWrites;
};

// Paths compare without regard to case; C: is the only fixed disk.
class FakeMachine final : public ICommonFilePlatform {
 public:
  bool FileExists(const std::string& aPath) const override { return files.count(UpperCase(aPath)) != 0; }
  bool DirectoryExists(const std::string& aPath) const override {
    return folders.count(UpperCase(ExcludeTrailingPathDelimiter(aPath))) != 0;
  }
  std::vector<std::string> FileNames(const std::string& aFolder) const override {
    std::vector<std::string> names;
    const std::string prefix = UpperCase(IncludeTrailingPathDelimiter(aFolder));
    for (const auto& [path, file] : files) {
      if (path.starts_with(prefix) && path.find('\\', prefix.size()) == std::string::npos) {
        names.push_back(path.substr(prefix.size()));
      }
    }
    return names;
  }
  TfileVersion FileVersion(const std::string& aPath) const override {
    const auto found = files.find(UpperCase(aPath));
    return found == files.end() ? TfileVersion{} : found->second.version;
  }
  SysResult CreateFolder(const std::string& aPath) override {
    created.push_back(aPath);
    folders.insert(UpperCase(ExcludeTrailingPathDelimiter(aPath)));
    return SysResult::Ok();
  }
  SysResult CopyFile(const std::string& aFrom, const std::string& aTo) override {
    copies.push_back(aFrom + " -> " + aTo);
    const auto source = files.find(UpperCase(aFrom));
    const auto target = files.find(UpperCase(aTo));
    if (source == files.end()) return SysResult(2);
    if (target != files.end() && target->second.locked) return SysResult(32);
    if (!DirectoryExists(ExtractFileDir(aTo))) return SysResult(3);
    files[UpperCase(aTo)] = FakeFile{source->second.version, false, source->second.content};
    return SysResult::Ok();
  }
  bool IsOnFixedDisk(const std::string& aPath) const override { return UpperCase(aPath).starts_with("C:"); }
  std::string TempDir() const override { return "C:\\TEMP\\"; }
  bool NtFamily() const override { return ntFamily; }
  unsigned MajorVersion() const override { return major; }
  std::unique_ptr<IRunOnceKey> OpenRunOnceKey(SysResult& aError) override {
    if (!runOnce) {
      aError = SysResult(2);
      return nullptr;
    }
    return std::make_unique<FakeRunOnce>(*runOnce, failWrites);
  }

  void AddFile(const std::string& aPath, TfileVersion aVersion = {}, std::string aContent = "x") {
    files[UpperCase(aPath)] = FakeFile{aVersion, false, std::move(aContent)};
    folders.insert(UpperCase(ExtractFileDir(aPath)));
  }

  std::map<std::string, FakeFile> files;
  std::set<std::string> folders{"C:\\TEMP"};
  std::vector<std::string> created;
  std::vector<std::string> copies;
  std::optional<std::map<std::string, std::string>> runOnce = std::map<std::string, std::string>{};
  bool failWrites = false;
  bool ntFamily = true;
  unsigned major = 10;
};

const TfileVersion kV1{1, 0, 0, 0};
const TfileVersion kV2{2, 0, 0, 0};

// The variables of the commands in these tests.
std::string ExpandForTest(std::string_view aText) {
  std::string text(aText);
  for (const auto& [name, value] : std::map<std::string, std::string>{
           {"%COMMON%", "C:\\Common"}, {"%WINSYSTEMDIR%", "C:\\windows\\system32"}, {"%WINDIR%", "C:\\windows"}}) {
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name)) {
      text.replace(at, name.size(), value);
    }
  }
  return text;
}

// The command, its machine and what it logged.
struct CommonFiles : ::testing::Test {
  bool Run(const std::string& aFiles, const std::string& aSource = "C:\\SRC") {
    command.FCommonFolder = "%COMMON%\\Shared";
    command.FSourcePath = aSource;
    command.FFiles = aFiles;
    command.fOnCopyBegin = [this](const TCommonFileCmd&, const std::string& aFrom, const std::string& aTo) {
      notified.push_back(aFrom + " -> " + aTo);
    };
    return command.Execute(machine, env);
  }
  bool Logged(std::string_view aStart) const {
    for (const std::string& line : log) {
      if (line.starts_with(aStart)) return true;
    }
    return false;
  }

  FakeMachine machine;
  TCommonFileCmd command;
  std::vector<std::string> log;
  std::vector<std::string> notified;
  test::TFakeUserChannel channel{true};
  TCommonFileEnv env{ExpandForTest, [this](const std::string& aLine) { log.push_back(aLine); }, nullptr, &channel};
};

TEST(CommonFileEntries, MarkersAndTheListRule) {
  const struct {
    const char* files;
    std::vector<TCommonFileEntry> entries;
  } cases[] = {
      {"a.dll;b.dll", {{"a.dll", false}, {"b.dll", false}}},
      {"<FileExists>a.dll", {{"a.dll", true}}},
      {"<fileEXISTS>A.DLL;*.ocx", {{"A.DLL", true}, {"*.ocx", false}}},
      {"a<FILEEXISTS>.dll", {{"a.dll", true}}},
      {"a.dll;;b.dll;", {{"a.dll", false}, {"b.dll", false}}},
      {"<FileExists>", {}},
      {"\"my lib.dll\";x y", {{"my lib.dll", false}, {"x", false}, {"y", false}}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseCommonFiles(c.files), c.entries) << c.files;
}

TEST(CommonFileVersions, OnlyAKnownHigherVersionReplaces) {
  const TfileVersion none{};
  const struct {
    TfileVersion source, target;
    bool newer;
  } cases[] = {
      {{1, 2, 0, 0}, {1, 1, 0, 0}, true},   {{1, 2, 0, 1}, {1, 2, 0, 0}, true},
      {{1, 2, 0, 0}, {1, 2, 0, 0}, false},  {{1, 1, 9, 9}, {1, 2, 0, 0}, false},
      {none, {1, 0, 0, 0}, false},          {{9, 0, 0, 0}, none, false},
      {none, none, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsNewerCommonFile(c.source, c.target), c.newer) << c.source.ToString() << " " << c.target.ToString();
  }
}

TEST(CommonFileJobs, TheThreeCommandForms) {
  const std::string cmd = "C:\\WINDOWS\\system32\\cmd.exe";
  const std::string com = "C:\\WINDOWS\\command.com";
  const struct {
    std::string interpreter;
    bool nt;
    unsigned major;
    bool deleteSource;
    std::string copy, del;
  } cases[] = {
      {cmd, true, 10, false, cmd + " /c \"xcopy /I /Y \"D:\\a.dll\" \"C:\\Common\\*.*\"\"", ""},
      {cmd, true, 5, true,
       cmd + " /c \"xcopy /I /Y \"D:\\a.dll\" \"C:\\Common\\*.*\"\" \"&& Del \"D:\\a.dll\"\"", ""},
      {cmd, true, 4, false, cmd + " /c \"xcopy /I \"D:\\a.dll\" \"C:\\Common\\*.*\"\"", ""},
      {cmd, true, 4, true, cmd + " /c \"xcopy /I \"D:\\a.dll\" \"C:\\Common\\*.*\"\" \"&& Del \"D:\\a.dll\"\"", ""},
      {com, false, 4, false, com + " /c xcopy /I /Y \"D:\\a.dll\" \"C:\\Common\\*.*\"", ""},
      {com, false, 4, true, com + " /c xcopy /I /Y \"D:\\a.dll\" \"C:\\Common\\*.*\"", com + "/c del \"D:\\a.dll\""},
  };
  for (const auto& c : cases) {
    const TCopyJob job = CopyJobCommands(c.interpreter, "D:\\a.dll", "C:\\Common\\a.dll", c.nt, c.major, c.deleteSource);
    EXPECT_EQ(job.CopyCommand, c.copy);
    EXPECT_EQ(job.DeleteCommand, c.del);
  }
  // A target in a drive's root keeps one delimiter before the mask.
  EXPECT_EQ(CopyJobCommands("cmd", "a", "C:\\a.dll", true, 10, false).CopyCommand,
            "cmd /c \"xcopy /I /Y \"a\" \"C:\\*.*\"\"");
  EXPECT_EQ(JobInterpreter(true), "%WINSYSTEMDIR%\\cmd.exe");
  EXPECT_EQ(JobInterpreter(false), "%WINDIR%\\command.com");
}

TEST(CommonFileJobs, FirstFreeNumberFromZeroToAHundredThenAHundredAndOne) {
  const struct {
    std::set<int> taken;
    std::string name;
  } cases[] = {
      {{}, "lum_copy0"},
      {{0, 1}, "lum_copy2"},
      {{0, 2}, "lum_copy1"},
      {{1, 101}, "lum_copy0"},
  };
  for (const auto& c : cases) {
    const auto taken = [&](const std::string& aName) {
      return c.taken.count(std::stoi(aName.substr(8))) != 0;
    };
    EXPECT_EQ(FirstFreeJobName("lum_copy", taken), c.name);
  }
  EXPECT_EQ(FirstFreeJobName("lum_del", [](const std::string&) { return true; }), "lum_del101");
}

TEST_F(CommonFiles, MissingTargetsAreCopiedIntoANewFolderWithANotice) {
  machine.AddFile("C:\\SRC\\a.dll", kV1);
  EXPECT_FALSE(Run("a.dll"));
  EXPECT_EQ(machine.created, std::vector<std::string>{"C:\\Common\\Shared"});
  EXPECT_TRUE(machine.FileExists("C:\\Common\\Shared\\a.dll"));
  EXPECT_EQ(notified, std::vector<std::string>{"C:\\SRC\\a.dll -> C:\\Common\\Shared\\a.dll"});
  EXPECT_TRUE(Logged("Common file copied: \"C:\\SRC\\a.dll\" -> \"C:\\Common\\Shared\\a.dll\""));
  EXPECT_TRUE(machine.runOnce->empty());
}

TEST_F(CommonFiles, ExistingTargetsAreReplacedOnlyByAKnownNewerVersion) {
  const struct {
    TfileVersion source, target;
    bool copied;
  } cases[] = {
      {kV2, kV1, true}, {kV1, kV1, false}, {kV1, kV2, false}, {{}, kV1, false}, {kV2, {}, false},
  };
  for (const auto& c : cases) {
    FakeMachine fresh;
    machine = fresh;
    log.clear();
    machine.AddFile("C:\\SRC\\a.dll", c.source, "new");
    machine.AddFile("C:\\Common\\Shared\\a.dll", c.target, "old");
    EXPECT_FALSE(Run("a.dll"));
    EXPECT_EQ(machine.files["C:\\COMMON\\SHARED\\A.DLL"].content, c.copied ? "new" : "old");
    EXPECT_EQ(Logged("Common file kept: \"C:\\Common\\Shared\\a.dll\""), !c.copied);
  }
}

TEST_F(CommonFiles, ExistingOnlyMasksAndMissingSources) {
  machine.AddFile("C:\\SRC\\a.dll", kV2);
  machine.AddFile("C:\\SRC\\b.dll", kV2);
  machine.AddFile("C:\\SRC\\c.ocx", kV2);
  machine.AddFile("C:\\SRC\\LIB\\d.dll", kV2);
  machine.AddFile("C:\\SRC\\readme.txt", kV2);
  machine.AddFile("C:\\Common\\Shared\\c.ocx", kV1);
  EXPECT_FALSE(Run("*.dll;<FileExists>*.ocx;<FileExists>readme.txt;gone.dll;none*.x;LIB\\*.dll"));
  EXPECT_TRUE(machine.FileExists("C:\\Common\\Shared\\a.dll"));
  EXPECT_TRUE(machine.FileExists("C:\\Common\\Shared\\b.dll"));
  EXPECT_EQ(machine.files["C:\\COMMON\\SHARED\\C.OCX"].version, kV2);
  EXPECT_FALSE(machine.FileExists("C:\\Common\\Shared\\readme.txt"));
  EXPECT_TRUE(machine.FileExists("C:\\Common\\Shared\\d.dll"));  // the mask's folder, the target's name
  EXPECT_TRUE(Logged("Common file \"C:\\Common\\Shared\\readme.txt\": not there"));
  EXPECT_TRUE(Logged("Common file \"C:\\SRC\\gone.dll\": not found"));
  EXPECT_TRUE(Logged("Common file \"C:\\SRC\\none*.x\": no file matches"));
}

TEST_F(CommonFiles, ATargetInUseIsScheduledUnderTheFirstFreeCopyName) {
  machine.AddFile("C:\\SRC\\a.dll", kV2);
  machine.AddFile("C:\\Common\\Shared\\a.dll", kV1);
  machine.files["C:\\COMMON\\SHARED\\A.DLL"].locked = true;
  (*machine.runOnce)["lum_copy0"] = "earlier job";
  (*machine.runOnce)["lum_copy2"] = "earlier job";
  EXPECT_TRUE(Run("a.dll"));
  EXPECT_TRUE(command.FReboot);
  EXPECT_EQ((*machine.runOnce)["lum_copy1"],
            "C:\\windows\\system32\\cmd.exe /c \"xcopy /I /Y \"C:\\SRC\\a.dll\" \"C:\\Common\\Shared\\*.*\"\"");
  EXPECT_EQ(machine.runOnce->size(), 3u);
  EXPECT_TRUE(Logged("Common file scheduled: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                     "RunOnce\\lum_copy1 = "));
  EXPECT_EQ(machine.copies.size(), 1u);  // a source on a fixed disk is not staged
}

TEST_F(CommonFiles, ASourceOnACdIsStagedAndTheJobDeletesTheStagedCopy) {
  machine.AddFile("E:\\CD\\a.dll", kV2);
  machine.AddFile("C:\\Common\\Shared\\a.dll", kV1);
  machine.files["C:\\COMMON\\SHARED\\A.DLL"].locked = true;
  EXPECT_TRUE(Run("a.dll", "E:\\CD"));
  EXPECT_TRUE(machine.FileExists("C:\\TEMP\\a.dll"));
  EXPECT_EQ(notified, (std::vector<std::string>{"E:\\CD\\a.dll -> C:\\Common\\Shared\\a.dll",
                                                "E:\\CD\\a.dll -> C:\\TEMP\\a.dll"}));
  EXPECT_EQ((*machine.runOnce)["lum_copy0"],
            "C:\\windows\\system32\\cmd.exe /c \"xcopy /I /Y \"C:\\TEMP\\a.dll\" \"C:\\Common\\Shared\\*.*\"\" "
            "\"&& Del \"C:\\TEMP\\a.dll\"\"");
  EXPECT_TRUE(Logged("Common file staged: \"E:\\CD\\a.dll\" -> \"C:\\TEMP\\a.dll\""));
}

TEST_F(CommonFiles, OtherSystemsGetASeparateDeleteJob) {
  machine.ntFamily = false;
  machine.major = 4;
  machine.AddFile("E:\\CD\\a.dll", kV2);
  machine.AddFile("C:\\Common\\Shared\\a.dll", kV1);
  machine.files["C:\\COMMON\\SHARED\\A.DLL"].locked = true;
  (*machine.runOnce)["lum_del0"] = "earlier job";
  EXPECT_TRUE(Run("a.dll", "E:\\CD"));
  EXPECT_EQ((*machine.runOnce)["lum_copy0"],
            "C:\\windows\\command.com /c xcopy /I /Y \"C:\\TEMP\\a.dll\" \"C:\\Common\\Shared\\*.*\"");
  EXPECT_EQ((*machine.runOnce)["lum_del1"], "C:\\windows\\command.com/c del \"C:\\TEMP\\a.dll\"");
}

TEST_F(CommonFiles, AJobThatCannotBeWrittenIsReportedAndNeedsNoRestart) {
  const std::string expected =
      FormatText(LanguageText(txt::CommonFiles_ScheduleErr), {"C:\\SRC\\a.dll", "C:\\Common\\Shared"});
  for (const bool keyMissing : {true, false}) {
    for (const bool withErrorLog : {true, false}) {
      FakeMachine fresh;
      machine = fresh;
      channel.Messages.clear();
      if (keyMissing) machine.runOnce.reset();
      machine.failWrites = !keyMissing;
      machine.AddFile("C:\\SRC\\a.dll", kV2);
      machine.AddFile("C:\\Common\\Shared\\a.dll", kV1);
      machine.files["C:\\COMMON\\SHARED\\A.DLL"].locked = true;
      std::vector<std::string> errors;
      env.ErrorLog = withErrorLog ? &errors : nullptr;
      EXPECT_FALSE(Run("a.dll"));
      if (withErrorLog) {
        EXPECT_EQ(errors, std::vector<std::string>{LanguageText(txt::Msg_SetupWarning) + ": " + expected});
        EXPECT_TRUE(channel.Messages.empty());
      } else {
        ASSERT_EQ(channel.Messages.size(), 1u);
        EXPECT_EQ(channel.Messages[0].caption, LanguageText(txt::Msg_SetupWarning));
        EXPECT_EQ(channel.Messages[0].message, expected);
      }
    }
  }
}

TEST_F(CommonFiles, ALaterEntryThatIsCopiedKeepsThePendingRestart) {
  machine.AddFile("C:\\SRC\\a.dll", kV2);
  machine.AddFile("C:\\SRC\\b.dll", kV2);
  machine.AddFile("C:\\Common\\Shared\\a.dll", kV1);
  machine.files["C:\\COMMON\\SHARED\\A.DLL"].locked = true;
  EXPECT_TRUE(Run("a.dll;b.dll"));
  EXPECT_TRUE(machine.FileExists("C:\\Common\\Shared\\b.dll"));
  // Each run starts over.
  machine.files["C:\\COMMON\\SHARED\\A.DLL"].locked = false;
  EXPECT_FALSE(Run("b.dll"));
}

TEST_F(CommonFiles, BadFileListsAreLoggedAndChangeNothing) {
  machine.AddFile("C:\\SRC\\a.dll", kV2);
  const struct {
    std::string files;
    const char* logged;
  } cases[] = {
      {"\"a.dll;b.dll", "Common file \"C:\\SRC\\a.dll;b.dll\": not found"},  // unclosed quote
      {"[z-a]*.dll", "Common file \"C:\\SRC\\[z-a]*.dll\": no file matches"},
      {std::string(300, 'x') + ".dll", "Common file \"C:\\SRC\\xxx"},
      {"<FileExists>;<FILEEXISTS> ;;", nullptr},
  };
  for (const auto& c : cases) {
    log.clear();
    EXPECT_FALSE(Run(c.files));
    EXPECT_TRUE(machine.copies.empty()) << c.files;
    if (c.logged) {
      EXPECT_TRUE(Logged(c.logged)) << c.files;
    } else {
      EXPECT_TRUE(log.empty()) << c.files;
    }
  }
  // A NUL separates entries like a blank; in a folder it would send the copy elsewhere.
  command.FFiles = "a.dll";
  command.FCommonFolder = std::string("C:\\Common\0\\Windows", 19);
  EXPECT_FALSE(command.Execute(machine, env));
  command.FCommonFolder = "C:\\Common";
  command.FSourcePath = std::string("C:\\SRC\0\\Other", 13);
  EXPECT_FALSE(command.Execute(machine, env));
  EXPECT_TRUE(machine.copies.empty());
  EXPECT_TRUE(Logged("Common file \"C:\\SRC"));
}

TEST_F(CommonFiles, ListsExecuteEveryCommandAndReportAnyRestart) {
  machine.AddFile("C:\\SRC\\a.dll", kV2);
  machine.AddFile("C:\\SRC2\\b.dll", kV2);
  machine.AddFile("C:\\Common\\Shared\\a.dll", kV1);
  machine.files["C:\\COMMON\\SHARED\\A.DLL"].locked = true;
  TCommonFileList list;
  list.addCommonFileCmds("C:\\SRC", "%COMMON%\\Shared", false, "a.dll");
  list.addCommonFileCmds("C:\\SRC2", "", false, "b.dll");  // no folder: not added
  list.addCommonFileCmds("C:\\SRC2", "%COMMON%\\Other", false, "");
  list.addCommonFileCmds("C:\\SRC2", "%COMMON%\\Other", false, "b.dll");
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_TRUE(list.CopyCommonFiles(machine, env));
  EXPECT_TRUE(machine.FileExists("C:\\Common\\Other\\b.dll"));
}

TEST_F(CommonFiles, ASubOptionCopiesOnlyWithFolderAndFiles) {
  machine.AddFile("C:\\SRC\\a.dll", kV2);
  TSubOption sub;
  std::vector<std::string> shown;
  sub.fonBeginCopyCommonFile = [&](const std::string& aFrom, const std::string& aTo) {
    shown.push_back(aFrom + " -> " + aTo);
  };
  sub.Commonfiles = "a.dll";
  EXPECT_FALSE(CopySubOptionCommonFiles(sub, "C:\\SRC", false, machine, env));
  EXPECT_TRUE(machine.copies.empty());
  sub.CommonFolder = "%COMMON%\\Sub";
  EXPECT_FALSE(CopySubOptionCommonFiles(sub, "C:\\SRC", false, machine, env));
  EXPECT_EQ(shown, std::vector<std::string>{"C:\\SRC\\a.dll -> C:\\Common\\Sub\\a.dll"});
}

// An INI file in memory for the numbered keys.
class MemoryIni final : public TIniAccess {
 public:
  std::string ReadString(const std::string& aSection, const std::string& aKey,
                         const std::string& aDefault) const override {
    const auto found = values.find(UpperCase(aSection + "/" + aKey));
    return found == values.end() ? aDefault : found->second;
  }
  bool WriteString(const std::string& aSection, const std::string& aKey, const std::string& aValue) override {
    if (failWrites) return false;
    values[UpperCase(aSection + "/" + aKey)] = aValue;
    return true;
  }
  std::map<std::string, std::string> values;
  bool failWrites = false;
};

TEST(CommonFileRecords, SavedWithNumbersAndLoadedBackUpToTheFirstIncompleteOne) {
  TCommonFileList list;
  list.addCommonFileCmds("C:\\Apps\\Sys\\LIB", "%COMMONFILES%\\Shared", true, "a.dll;<FileExists>b.dll");
  list.addCommonFileCmds("D:\\Other", "C:\\Common", false, "*.ocx");
  MemoryIni ini;
  const auto encode = [](std::string_view aText) {
    std::string text(aText);
    if (text.starts_with("C:\\Apps\\Sys\\")) text = "%SYSDIR%" + text.substr(12);
    return text;
  };
  ASSERT_TRUE(list.SaveToIniFile(ini, "CommonFiles", 1, encode));
  EXPECT_EQ(ini.values["COMMONFILES/COMMONFOLDER1"], "%COMMONFILES%\\Shared");
  EXPECT_EQ(ini.values["COMMONFILES/SOURCEPATH1"], "%SYSDIR%LIB");
  EXPECT_EQ(ini.values["COMMONFILES/FILES1"], "a.dll;<FileExists>b.dll");
  EXPECT_EQ(ini.values["COMMONFILES/SOURCEPATH2"], "D:\\Other");  // not encoded
  EXPECT_EQ(ini.values["COMMONFILES/FILES2"], "*.ocx");

  // A language's own value wins; number 3 lacks its folder and ends the list before 4.
  ini.values["COMMONFILES/DK_FILES2"] = "*.dk";
  ini.values["COMMONFILES/FILES3"] = "x.dll";
  ini.values["COMMONFILES/FILES4"] = "y.dll";
  ini.values["COMMONFILES/COMMONFOLDER4"] = "C:\\Four";
  TCommonFileList loaded;
  loaded.LoadFromIniFile(ini, "CommonFiles", 1, "DK", [](std::string_view aText) {
    std::string text(aText);
    if (text.starts_with("%SYSDIR%")) text = "\\\\server\\sys\\" + text.substr(8);
    return text;
  });
  ASSERT_EQ(loaded.Count(), 2u);
  EXPECT_EQ(loaded.Item(0)->FSourcePath, "\\\\server\\sys\\LIB");
  EXPECT_EQ(loaded.Item(0)->FCommonFolder, "%COMMONFILES%\\Shared");  // expanded when it runs
  EXPECT_EQ(loaded.Item(0)->FFiles, "a.dll;<FileExists>b.dll");
  EXPECT_EQ(loaded.Item(1)->FFiles, "*.dk");

  TCommonFileList none;
  none.LoadFromIniFile(ini, "CommonFiles", 5, "", nullptr);
  EXPECT_EQ(none.Count(), 0u);
  ini.failWrites = true;
  EXPECT_FALSE(list.SaveToIniFile(ini, "CommonFiles", 1, encode));
}

TEST(CommonFileRecords, OneCommandUnderAKeySuffixExpandsBothFolders) {
  MemoryIni ini;
  TCommonFileCmd saved;
  saved.FCommonFolder = "%X%\\Shared";
  saved.FSourcePath = "%X%\\Src";
  saved.FFiles = "a.dll";
  ASSERT_TRUE(saved.SaveToIniFile(ini, "S", "_7", nullptr));
  EXPECT_EQ(ini.values["S/COMMONFOLDER_7"], "%X%\\Shared");
  TCommonFileCmd loaded;
  loaded.LoadFromIniFile(ini, "S", "_7", [](std::string_view aText) {
    std::string text(aText);
    return text.replace(0, 3, "C:");
  });
  EXPECT_EQ(loaded.FCommonFolder, "C:\\Shared");
  EXPECT_EQ(loaded.FSourcePath, "C:\\Src");
  EXPECT_EQ(loaded.FFiles, "a.dll");
  const std::unique_ptr<TOptionItem> copy = loaded.Copy();
  ASSERT_NE(dynamic_cast<TCommonFileCmd*>(copy.get()), nullptr);
  EXPECT_EQ(dynamic_cast<TCommonFileCmd*>(copy.get())->FSourcePath, "C:\\Src");
}

TEST(WorkStationFileCmds, MarkersSetTheOptionAndTheRestIsExpandedInUpperCase) {
  const struct {
    const char* value;
    TWorkStationFileCmdOption option;
    const char* fileName;
  } cases[] = {
      {"%SYSDIR%\\bin\\app.exe", wsCopyAllways, "\\\\SRV\\SYS\\BIN\\APP.EXE"},
      {"<FILEEXISTS>%SYSDIR%\\app.ini", wsFileExists, "\\\\SRV\\SYS\\APP.INI"},
      {"<fileNotExists>data\\*.dat", wsFileNotExists, "DATA\\*.DAT"},
      {" <FILEEXISTS>x", wsCopyAllways, " <FILEEXISTS>X"},  // only at the very start
      {"<FILEEXISTS>", wsFileExists, ""},
      {"<FILE>x", wsCopyAllways, "<FILE>X"},
      {"", wsCopyAllways, ""},
  };
  const auto expand = [](std::string_view aText) {
    std::string text(aText);
    if (text.starts_with("%SYSDIR%")) text = "\\\\srv\\sys" + text.substr(8);
    return text;
  };
  for (const auto& c : cases) {
    TWorkStationFileCmd command;
    command.SetOptionAndFileName(c.value, expand);
    EXPECT_EQ(command.Option, c.option) << c.value;
    EXPECT_EQ(command.FileName, c.fileName) << c.value;
  }
  TWorkStationFileCmd command;
  EXPECT_EQ(command.SetOption("<FileExists>a.txt"), "a.txt");
  const struct {
    TWorkStationFileCmdOption option;
    bool toExisting, toMissing;
  } copies[] = {{wsFileExists, true, false}, {wsFileNotExists, false, true}, {wsCopyAllways, true, true}};
  for (const auto& c : copies) {
    command.Option = c.option;
    EXPECT_EQ(command.CopiesTo(true), c.toExisting);
    EXPECT_EQ(command.CopiesTo(false), c.toMissing);
  }
}

}  // namespace
}  // namespace vek
