// Running INI and registry commands over the in-memory fake: the shared table of cases, then the
// run-wide options, variable tests, reports and the loading of a command section.
#include <gtest/gtest.h>

#include <tuple>

#include "commands/FakeIniRegistry.h"
#include "commands/IniCmdSections.h"
#include "commands/ini_cmd_case_runner.h"

namespace vek::test {
namespace {

constexpr const char* kFile = "C:\\Cases\\case.ini";
constexpr const char* kKey = "Software\\VekIniCmdCases";

TEST(IniCmdCasesFake, EveryCase) {
  for (const TIniCmdCase& c : IniCmdCases()) {
    TFakeIniRegistry fake;
    fake.AddFolder(std::string(kFile) + ".d");
    TIniCmdCaseRunner(fake, kFile, kKey).Run(c);
  }
}

class IniCmdExecTest : public ::testing::Test {
 protected:
  // Runs aLine with the given run-wide flags; the log lines it wrote.
  std::vector<std::string> Run(const std::string& aLine, bool aNet = false, bool aTS = false) {
    runner.Log().clear();
    TIniFileCmd cmd = Parse(aLine);
    TIniCmdRun env = runner.RunEnv();
    env.NetInstall = aNet;
    env.TSInstall = aTS;
    env.EncodeSysDir = [](std::string_view aText) {
      std::string text(aText);
      ReplaceAllText(text, "C:\\Prod\\", "%SYSDIR%");
      return text;
    };
    cmd.Execute(env);
    return runner.Log();
  }
  TIniFileCmd Parse(const std::string& aLine) { return ParseIniFileCmd(parse, false, aLine); }

  TFakeIniRegistry fake;
  TIniCmdCaseRunner runner{fake, kFile, kKey};
  TRunContext run;
  TUserVariables vars;
  TExpandContext expand{run, vars, {}, std::nullopt, {}, {}};
  TIniCmdParseContext parse{expand, {}, false, {}};
};

TEST_F(IniCmdExecTest, NetworkAndTerminalServerOptions) {
  struct Case {
    const char* token;
    bool net, ts, runs;
  };
  const Case cases[] = {
      {"<NET>", false, false, false}, {"<NET>", true, false, true},   {"<NONET>", true, false, false},
      {"<NONET>", false, true, true}, {"<TS>", false, false, false},  {"<TS>", false, true, true},
      {"<NOTS>", false, true, false}, {"<NOTS>", true, false, true},  {"<NET><NOTS>", true, true, false},
  };
  for (const Case& c : cases) {
    const auto log = Run(std::string(c.token) + "x.ini,S,K=V", c.net, c.ts);
    EXPECT_EQ(log.size(), c.runs ? 1u : 0u) << c.token << " net " << c.net << " ts " << c.ts;
  }
  // A definition carrying another option waits for that option too.
  EXPECT_TRUE(Run("<NET><DEFVAL v>x.ini,S,K=d").empty());
  EXPECT_FALSE(runner.Variables().Exists("v"));
}

TEST_F(IniCmdExecTest, IfAndIfNot) {
  runner.Variables().SetVariable("Defined", "Yes");
  runner.Variables().SetVariable("Empty", "");
  struct Case {
    const char* token;
    bool runs;
  };
  const Case cases[] = {
      {"<IF Defined>", true},          {"<IF Missing>", false},          {"<IF Defined=yes>", true},
      {"<IF Defined=no>", false},      {"<IF Missing=>", false},         {"<IF defined>", true},
      {"<IFNOT Missing>", true},       {"<IFNOT Defined>", false},       {"<IFNOT Empty>", false},
      {"<IFNOT Defined=no>", true},    {"<IFNOT Defined=YES>", false},   {"<IFNOT Missing=x>", true},
      {"<IFNOT Missing=>", false},     {"<IF Defined><IFNOT Empty>", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(std::string(c.token) + "x.ini,S,K=V").size(), c.runs ? 1u : 0u) << c.token;
  }
}

TEST_F(IniCmdExecTest, EncodeSysDirOnlyWhenAsked) {
  EXPECT_EQ(Run("<SYSDIR>x.ini,S,K=C:\\Prod\\bin"), std::vector<std::string>{"INI: X.INI , [S] K = %SYSDIR%bin"});
  EXPECT_EQ(Run("<SYSDIR>HKEY_CU,Soft,K=C:\\Prod\\bin"), std::vector<std::string>{"REG: Soft , K = %SYSDIR%bin"});
  EXPECT_EQ(Run("<SYSDIR><NOSYSDIR>x.ini,S,K=C:\\Prod\\bin"),
            std::vector<std::string>{"INI: X.INI , [S] K = C:\\Prod\\bin"});
}

TEST_F(IniCmdExecTest, NewFileIsUnicodeAndExistingFileIsNot) {
  (void)Run("new.ini,S,K=V");
  ASSERT_NE(fake.File("NEW.INI"), nullptr);
  EXPECT_TRUE(fake.File("NEW.INI")->unicode);
  ASSERT_TRUE(fake.WriteString("OLD.INI", "S", "A", "1").ok());
  (void)Run("old.ini,S,K=V");
  EXPECT_FALSE(fake.File("OLD.INI")->unicode);
}

TEST_F(IniCmdExecTest, NumberedEntryKeepsItsNumber) {
  TIniFileCmd cmd = Parse("x.ini,S,#=a");
  cmd.Execute(runner.RunEnv());
  cmd.Execute(runner.RunEnv());
  EXPECT_EQ(cmd.Key, "0");
  EXPECT_EQ(fake.ReadSection("X.INI", "S"), (ProfileEntries{{"0", "a"}}));
}

TEST_F(IniCmdExecTest, RegistryRenameKeepsDataAndType) {
  fake.SetRegValue(TRegistryRoot::LocalMachine, "Software\\P", "N", 4, std::string("\x01\0\0\0", 4));
  EXPECT_EQ(Run("<RENAMEKEY>HKEY_LM,Software\\P,N=M"),
            std::vector<std::string>{"REG: Software\\P , N renamed to: M"});
  const auto* value = fake.RegValue(TRegistryRoot::LocalMachine, "Software\\P", "M");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->type, 4u);
  EXPECT_EQ(value->data, std::string("\x01\0\0\0", 4));
}

TEST_F(IniCmdExecTest, EveryRootByBothNames) {
  const std::pair<const char*, TRegistryRoot> names[] = {
      {"HKEY_LOCAL_MACHINE", TRegistryRoot::LocalMachine}, {"HKEY_LM", TRegistryRoot::LocalMachine},
      {"HKEY_CURRENT_USER", TRegistryRoot::CurrentUser},   {"hkey_cu", TRegistryRoot::CurrentUser},
      {"HKEY_CLASSES_ROOT", TRegistryRoot::ClassesRoot},   {"HKEY_CR", TRegistryRoot::ClassesRoot},
      {"HKEY_USERS", TRegistryRoot::Users},                {"HKEY_US", TRegistryRoot::Users},
      {"HKEY_PERFORMANCE_DATA", TRegistryRoot::PerformanceData}, {"HKEY_PD", TRegistryRoot::PerformanceData},
      {"HKEY_CURRENT_CONFIG", TRegistryRoot::CurrentConfig}, {"HKEY_CC", TRegistryRoot::CurrentConfig},
      {"HKEY_DYN_DATA", TRegistryRoot::DynData},           {"HKEY_DD", TRegistryRoot::DynData},
  };
  for (const auto& [name, root] : names) {
    (void)Run(std::string(name) + ",Software\\Roots," + name + "=1");
    EXPECT_TRUE(fake.ValueExists(root, "Software\\Roots", name)) << name;
  }
}

TEST_F(IniCmdExecTest, FailuresAreReportedUnderSetupErrorCaption) {
  fake.SetRegValue(TRegistryRoot::CurrentUser, "Soft", "Dword", 4, std::string(4, '\0'));
  (void)Run("<DEFVAL v>HKEY_CU,Soft,Dword");
  (void)Run("HKEY_CU," + std::string(300, 'k') + ",N=V");
  ASSERT_EQ(runner.Channel().Messages.size(), 2u);
  for (const TShownMessage& shown : runner.Channel().Messages) {
    EXPECT_EQ(shown.caption, "Setup error");
    EXPECT_EQ(shown.type, mtError);
  }
  EXPECT_EQ(runner.Channel().Messages[0].message, "Error: Can not find \"HKEY_CUSoft,Dword\"  !!!&& (error 1804)");
  // A value that is not a string reads as empty text.
  EXPECT_EQ(runner.Variables().Value("v"), "");
  EXPECT_TRUE(runner.Variables().Exists("v"));
}

TEST_F(IniCmdExecTest, NulInAnyPartIsNotRun) {
  const std::string lines[] = {
      std::string("x.ini,S,K=a\0b", 13),
      std::string("x.ini,S\0,K=V", 12),
      std::string("HKEY_CU,Soft,K\0=V", 17),
  };
  for (const std::string& line : lines) {
    (void)Run(line);
  }
  EXPECT_EQ(fake.PathKind("X.INI"), TPathKind::Missing);
  EXPECT_FALSE(fake.KeyExists(TRegistryRoot::CurrentUser, "Soft"));
  ASSERT_EQ(runner.Channel().Messages.size(), 3u);
  EXPECT_EQ(runner.Channel().Messages[2].message,
            std::string("Cannot write to HKEY_CUSoft,K\0.&& (the command holds a NUL character and is not run)", 84));
}

TEST_F(IniCmdExecTest, LongValuesAndDeepPaths) {
  const std::string value(100000, 'v');
  (void)Run("x.ini,S,K=" + value);
  EXPECT_EQ(fake.ReadString("X.INI", "S", "K", ""), value);
  std::string deep = "Software";
  for (int i = 0; i < 300; ++i) deep += "\\k";
  (void)Run("HKEY_CU," + deep + ",N=" + value);
  std::string read;
  EXPECT_TRUE(fake.ReadRegString(TRegistryRoot::CurrentUser, deep, "N", read).ok());
  EXPECT_EQ(read, value);
}

TEST_F(IniCmdExecTest, RootIsNeverDeleted) {
  (void)Run("HKEY_CU,Keep,N=1");
  EXPECT_TRUE(Run("<DELETESECTION>HKEY_CU,\\").empty());
  EXPECT_TRUE(Run("<DELETESECTION>HKEY_CU,").empty());
  EXPECT_TRUE(fake.ValueExists(TRegistryRoot::CurrentUser, "Keep", "N"));
  // An empty path without its "\" writes to the root itself.
  EXPECT_EQ(Run("HKEY_CU,,N=2"), std::vector<std::string>{"REG:  , N = 2"});
  EXPECT_TRUE(fake.ValueExists(TRegistryRoot::CurrentUser, "", "N"));
}

TEST_F(IniCmdExecTest, CopyKeepsTheTextsButNotTheTests) {
  const TIniFileCmd cmd = Parse("<IF x=1><KEYEXISTS><SYSDIR>HKEY_CU,Soft,N=V");
  const std::unique_ptr<TOptionItem> item = cmd.Copy();
  const auto* copy = dynamic_cast<const TIniFileCmd*>(item.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(std::tie(copy->IniFileName, copy->Section, copy->Key, copy->Value, copy->EncodeSysDir),
            std::tie(cmd.IniFileName, cmd.Section, cmd.Key, cmd.Value, cmd.EncodeSysDir));
  EXPECT_TRUE(copy->Option.Empty());
  EXPECT_EQ(copy->varname, "");
  EXPECT_EQ(copy->CmdType, itIniFile);
}

// ---- Loading a command section

class IniCmdSectionTest : public IniCmdExecTest {
 protected:
  TOptionList Load(const std::vector<std::string>& aLines) {
    TOptionList list;
    LoadIniFileCmds(aLines, parse, runner.RunEnv(), list);
    return list;
  }
  static const TIniFileCmd& At(const TOptionList& aList, std::size_t aIndex) {
    return *aList.ItemAs<TIniFileCmd>(aIndex);
  }
};

TEST_F(IniCmdSectionTest, LoneDefinitionsRunAtLoadAndOthersAreKept) {
  ASSERT_TRUE(fake.WriteString("C.INI", "S", "K", "from-file").ok());
  const TOptionList list = Load({
      "UpdateFirst=1",
      "<DEFVAL early>c.ini,S,K=default",  // runs now, not kept
      "<NET><DEFVAL late>c.ini,S,K",      // another option: kept
      "a.ini,S,K=%early%",                // sees the variable defined above
      "HKEY_CU,Soft,N=V",                 // registry commands are kept
      ",S,K=V",                           // no file: dropped
  });
  EXPECT_EQ(vars.Value("early"), "");  // the parse context has its own variables
  EXPECT_EQ(runner.Variables().Value("early"), "from-file");
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(At(list, 0).varname, "late");
  EXPECT_EQ(At(list, 1).IniFileName, "A.INI");
  EXPECT_EQ(At(list, 2).CmdType, itRegistry);
}

TEST_F(IniCmdSectionTest, WorkStationLineIsKeptTwice) {
  run.WsUpdateFileName = "C:\\Prod\\ws1.wsupdate";
  expand.CreateWsUpdateFile = [] { return std::string("C:\\Prod\\ws1.wsupdate"); };
  const TOptionList list = Load({"<WSU>%INSTALLPATH%app.ini,S,K=%SYSTEMPATH%x"});
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(At(list, 0).IniFileName, "APP.INI");
  const TIniFileCmd& record = At(list, 1);
  EXPECT_EQ(record.IniFileName, "C:\\PROD\\WS1.WSUPDATE");
  EXPECT_EQ(record.Section, "Inifiles");
  EXPECT_EQ(record.Key, "%HOMEDIR%app.ini,S,K");
  EXPECT_TRUE(record.EncodeSysDir);
  const TOptionList plain = Load({"<wsu><NOSYSDIR>a.ini,S,K=V"});
  ASSERT_EQ(plain.Count(), 2u);
  EXPECT_FALSE(At(plain, 1).EncodeSysDir);
}

TEST_F(IniCmdSectionTest, RunsInListOrder) {
  const TOptionList list = Load({"x.ini,S,K=1", "<KEYEXISTS>x.ini,S,K=2", "<DELETEKEY>x.ini,S,K"});
  runner.Log().clear();
  ExecuteIniFileCmds(&list, runner.RunEnv());
  EXPECT_EQ(runner.Log(), (std::vector<std::string>{"INI: X.INI , [S] K = 1", "INI: X.INI , [S] K = 2",
                                                     "INI: X.INI , [S] K has been deleted"}));
  ExecuteIniFileCmds(nullptr, runner.RunEnv());
}

}  // namespace
}  // namespace vek::test
