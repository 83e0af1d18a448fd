// Splitting an INI or registry command line into options, file, section, key and value.
#include <gtest/gtest.h>

#include "commands/IniFileCmd.h"
#include "commands/RegistryRoot.h"

namespace vek {
namespace {

class IniCmdParseTest : public ::testing::Test {
 protected:
  IniCmdParseTest() {
    run.SystemInstallDir = "C:\\Apps\\Prod";
    run.InstallPath = "C:\\";
  }

  TIniFileCmd Parse(std::string_view aLine, bool aForWorkStation = false) {
    return ParseIniFileCmd(parse, aForWorkStation, aLine);
  }

  TRunContext run;
  TUserVariables vars;
  TExpandContext expand{run, vars, {}, std::nullopt, {}, {}};
  TIniCmdParseContext parse{expand, {}, false, {}};
};

TEST_F(IniCmdParseTest, Parts) {
  struct Case {
    const char* line;
    const char* file;
    const char* section;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"%SYSDIR%app.ini,Settings,Path=%INSTALLPATH%\\data", "C:\\APPS\\PROD\\APP.INI", "Settings", "Path",
       "C:\\Apps\\Prod\\data"},
      {"win.ini,Section,Key=a=b,c", "WIN.INI", "Section", "Key", "a=b,c"},
      {"win.ini", "WIN.INI", "", "", ""},                       // only a file
      {"win.ini,Only Section", "WIN.INI", "Only Section", "", ""},  // no key
      {"win.ini,S,NoValue", "WIN.INI", "S", "NoValue", ""},
      {" a.ini , S , K = V ", " A.INI ", " S ", " K ", " V "},  // blanks belong to the parts
      {"a.ini,%INSTALLPATH%,K=V", "A.INI", "%INSTALLPATH%", "K", "V"},  // section is literal
      {"UpdateFirst=1", "", "", "", ""},
  };
  for (const Case& c : cases) {
    const TIniFileCmd cmd = Parse(c.line);
    EXPECT_EQ(cmd.IniFileName, c.file) << c.line;
    EXPECT_EQ(cmd.Section, c.section) << c.line;
    EXPECT_EQ(cmd.Key, c.key) << c.line;
    EXPECT_EQ(cmd.Value, c.value) << c.line;
  }
}

TEST_F(IniCmdParseTest, OptionTokens) {
  struct Case {
    const char* line;
    TIniFileCmdOptions options;
    const char* file;
  };
  const Case cases[] = {
      {"<FILEEXISTS><keyexists>a.ini,S,K=V", {icFileExists, icKeyExists}, "A.INI"},
      {"<FILENOTEXISTS><KEYNOTEXISTS><NET><NONET>a.ini", {icFileNotExists, icKeyNotExists, icNet, icNoNet}, "A.INI"},
      {"<DELETESECTION><DELETEKEY><RENAMEKEY><TS><NOTS><ARANGE>a.ini",
       {icDeleteSection, icDeleteKey, icRenameKey, icTS, icNoTS, icArrange}, "A.INI"},
      {"<WSU><unknown>a.ini", {}, "A.INI"},          // other tokens are dropped
      {"<NET> <TS>a.ini", {icNet}, " <TS>A.INI"},    // a blank ends the options
      {"<NET a.ini", {}, "<NET A.INI"},              // no ">": no token
  };
  for (const Case& c : cases) {
    const TIniFileCmd cmd = Parse(c.line);
    EXPECT_EQ(cmd.Option, c.options) << c.line;
    EXPECT_EQ(cmd.IniFileName, c.file) << c.line;
  }
}

TEST_F(IniCmdParseTest, VariableTokens) {
  struct Case {
    const char* line;
    TIniFileCmdOption option;
    const char* varname;
    const char* varValue;
    const char* varTest;
  };
  const Case cases[] = {
      {"<IF MyVar>a.ini,S,K=V", icIf, "MyVar", "", ""},
      {"<if MyVar=Yes=No>a.ini,S,K=V", icIf, "MyVar", "Yes=No", "="},
      {"<IFNOT  Spaced >a.ini", icIfNot, " Spaced ", "", ""},
      {"<DEFPATH P>a.ini,S,K", icDefPath, "P", "", ""},
      {"<DEFVAR V=x>a.ini,S,K", icDefVar, "V=x", "", ""},  // definitions take no comparison
      {"<DEFVAL W>HKEY_CU,Software\\X,Y", icDefVal, "W", "", ""},
      {"<DEFEXISTSVAL Z>a.ini,S,K", icDefExistsVal, "Z", "", ""},
  };
  for (const Case& c : cases) {
    const TIniFileCmd cmd = Parse(c.line);
    EXPECT_EQ(cmd.Option, TIniFileCmdOptions({c.option})) << c.line;
    EXPECT_EQ(cmd.varname, c.varname) << c.line;
    EXPECT_EQ(cmd.VarValue, c.varValue) << c.line;
    EXPECT_EQ(cmd.VarTest, c.varTest) << c.line;
  }
  EXPECT_EQ(Parse("<IF A><DEFVAL B>a.ini").varname, "B");  // a later token overwrites the name
}

TEST_F(IniCmdParseTest, EncodeSysDirDefaultAndTokens) {
  EXPECT_FALSE(Parse("a.ini,S,K=V").EncodeSysDir);
  EXPECT_TRUE(Parse("<SYSDIR>a.ini,S,K=V").EncodeSysDir);
  parse.EncodeSysDir = true;
  EXPECT_TRUE(Parse("a.ini,S,K=V").EncodeSysDir);
  EXPECT_FALSE(Parse("<nosysdir>a.ini,S,K=V").EncodeSysDir);
}

TEST_F(IniCmdParseTest, CommandTypeFromTheUnexpandedFilePart) {
  EXPECT_EQ(Parse("HKEY_LOCAL_MACHINE,Software\\X,Name=1").CmdType, itRegistry);
  EXPECT_EQ(Parse("c:\\hkey_data\\a.ini,S,K=1").CmdType, itRegistry);  // anywhere, any case
  vars.SetVariable("ROOT", "HKEY_CU");
  EXPECT_EQ(Parse("%ROOT%,Software,K=1").CmdType, itIniFile);
  EXPECT_EQ(Parse("%ROOT%,Software,K=1").IniFileName, "HKEY_CU");
}

TEST_F(IniCmdParseTest, OptionContextForOptionPathAndLibName) {
  parse.Scope.OptionPath = "C:\\Apps\\Opt";
  parse.Scope.SubOption = TSubOptionNames{"Lib", ""};
  const TIniFileCmd cmd = Parse("%OPTIONPATH%\\x.ini,S,%LIBNAME%=%INSTALLPATH%");
  EXPECT_EQ(cmd.IniFileName, "C:\\APPS\\OPT\\X.INI");
  EXPECT_EQ(cmd.Key, "Lib");
  EXPECT_EQ(cmd.Value, "C:\\Apps\\Opt\\Lib");
}

TEST_F(IniCmdParseTest, WorkStationLinesReferToTheHomeFolder) {
  run.WsUpdateFileName = "C:\\Apps\\Prod\\ws.wsupdate";
  const std::string line = "%WSUPDATE%,Inifiles,";
  const TIniFileCmd plain = Parse(line + "%SYSTEMPATH%\\a.ini,S,K=%INSTALLPATH%", true);
  EXPECT_EQ(plain.IniFileName, "C:\\APPS\\PROD\\WS.WSUPDATE");
  EXPECT_EQ(plain.Section, "Inifiles");
  EXPECT_EQ(plain.Key, "%HOMEDIR%\\a.ini,S,K");
  EXPECT_EQ(plain.Value, "C:\\Apps\\Prod");  // the value only when the key begins with "<IF"

  const TIniFileCmd conditional = Parse(line + "<IF V=1>%INSTALLPATH%\\a.ini,S,K=%installpath%", true);
  EXPECT_EQ(conditional.Key, "<IF V");
  EXPECT_EQ(conditional.Value, "1>%HOMEDIR%\\a.ini,S,K=%HOMEDIR%");
}

TEST_F(IniCmdParseTest, TranslationPassesTheWholeLine) {
  parse.Translate = [](std::string_view aText) {
    std::string text(aText);
    if (const auto at = text.find("%Company%"); at != std::string::npos) text.replace(at, 9, "Vendor");
    return text;
  };
  const TIniFileCmd cmd = Parse("HKEY_CU,Software\\%Company%,K=V");
  EXPECT_EQ(cmd.Section, "Software\\Vendor");
}

TEST(RegistryRoots, LongAndShortNamesExactCase) {
  EXPECT_EQ(FindRegistryRoot("HKEY_LOCAL_MACHINE"), TRegistryRoot::LocalMachine);
  EXPECT_EQ(FindRegistryRoot("HKEY_LM"), TRegistryRoot::LocalMachine);
  EXPECT_EQ(FindRegistryRoot("HKEY_CU"), TRegistryRoot::CurrentUser);
  EXPECT_EQ(FindRegistryRoot("HKEY_DD"), TRegistryRoot::DynData);
  EXPECT_EQ(FindRegistryRoot("hkey_lm"), std::nullopt);
  EXPECT_EQ(FindRegistryRoot("HKEY_DATA"), std::nullopt);
}

}  // namespace
}  // namespace vek
