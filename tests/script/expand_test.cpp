// Text variables: every row of the variable table, both kinds, the escape forms, %SYSDIR% in
// both directions and variables whose value refers to themselves.
#include <gtest/gtest.h>

#include "script/Expand.h"
#include "script/NetMarkers.h"

namespace vek {
namespace {

class ExpandTest : public ::testing::Test {
 protected:
  ExpandTest() {
    run.InstallPath = "C:\\";
    run.InstallRootList = {"Apps", "Tools"};
    run.InstallRootIndex = 0;
    run.SystemDirList = {"Prod"};
    run.SystemDirIndex = 0;
    run.WorkStationRootDir = "WsRoot";
    run.SystemInstallDir = "C:\\Apps\\Prod";
    run.SourceDir = "D:\\CD\\";
    context.Folders = {"C:\\WINDOWS", "C:\\WINDOWS\\system32", "C:\\Program Files\\Common Files",
                       "C:\\Program Files", true};
    context.Now = [] { return std::string("10.12.2026 05:33"); };
    context.CreateWsUpdateFile = [this] {
      ++wsUpdateCreated;
      return std::string("C:\\Apps\\Prod\\ws101220260533.wsupdate");
    };
  }

  std::string Expand(std::string_view aText, const TExpandScope& aScope = {}) {
    return ExpandVars(context, aScope, aText);
  }

  struct TextCase {
    const char* text;
    const char* expected;
  };
  void ExpectExpansions(std::initializer_list<TextCase> aCases) {
    for (const TextCase& c : aCases) EXPECT_EQ(Expand(c.text), c.expected) << c.text;
  }

  static TExpandScope OptionScope() {
    TExpandScope scope;
    scope.OptionPath = "C:\\Apps\\Opt";
    scope.SubOption = TSubOptionNames{"Lib", ""};
    return scope;
  }

  TRunContext run;
  TUserVariables vars;
  TExpandContext context{run, vars, {}, std::nullopt, {}, {}};
  int wsUpdateCreated = 0;
};

TEST_F(ExpandTest, FixedVariablesInAnInstallRun) {
  TExpandScope external;
  external.External = TExternalNames{"Entry", "C:\\Reg"};
  struct Case {
    const char* text;
    TExpandScope scope;
    const char* expected;
  };
  const Case cases[] = {
      {"%SYSTEMPATH%", {}, "C:\\Apps\\Prod"},
      {"%OPTIONPATH%|%LIBNAME%", OptionScope(), "C:\\Apps\\Opt|Lib"},
      {"%OPTIONPATH%|%LIBNAME%", {}, "%OPTIONPATH%|%LIBNAME%"},  // no option: left as written
      {"%INSTALLPATH%", {}, "C:\\Apps\\Prod"},                   // SystemInstallDir
      {"%INSTALLPATH%", OptionScope(), "C:\\Apps\\Opt\\Lib"},   // Path joined with LibName
      {"%WINCMDDIR%", {}, "C:\\WINDOWS\\system32"},
      {"%WINDIR%|%WINSYSTEMDIR%", {}, "C:\\WINDOWS|C:\\WINDOWS\\system32"},
      {"[%INIFILEENTRY%|%REGINIPATH%]", {}, "[|]"},  // removed without an external program
      {"%INIFILEENTRY%|%REGINIPATH%\\x", external, "Entry|C:\\Reg\\x"},
      {"%INSTALLFROM%setup.ini", {}, "D:\\CD\\setup.ini"},
      {"%COMMONFILES%\\Shared", {}, "C:\\Program Files\\Common Files\\Shared"},
      {"%PROGRAMFILES%Vendor", {}, "C:\\Program Files\\Vendor"},
      {"%NOW%", {}, "10.12.2026 05:33"},
      {"%LCID%/%LANGCODE%", {}, "%LCID%/%LANGCODE%"},  // no language selection
      {"%HOMEDIR%\\x", {}, "%HOMEDIR%\\x"},            // unknown names stay
      {"%installpath%\\bin", {}, "C:\\Apps\\Prod\\bin"},  // any case
  };
  for (const Case& c : cases) EXPECT_EQ(Expand(c.text, c.scope), c.expected) << c.text;
}

TEST_F(ExpandTest, InstallPathFollowsTheScope) {
  TExpandScope alias = OptionScope();
  alias.SubOption->LibAlias = "E:\\Found\\Lib";
  EXPECT_EQ(Expand("%INSTALLPATH%", alias), "E:\\Found\\Lib");
  TExpandScope optionOnly;
  optionOnly.OptionPath = "C:\\Apps\\Opt";
  EXPECT_EQ(Expand("%INSTALLPATH%", optionOnly), "C:\\Apps\\Opt");
  run.RunMode = rmWorkStationSetup;
  EXPECT_EQ(Expand("%INSTALLPATH%", alias), "C:\\");
}

TEST_F(ExpandTest, SystemPathByRunMode) {
  struct Case {
    TRunMode mode;
    int rootIndex;
    int dirIndex;
    const char* expected;
  };
  const Case cases[] = {
      {rmInstall, 0, 0, "C:\\Apps\\Prod"},   {rmInstall, 1, -1, "C:\\Tools"},
      {rmInstall, -1, 0, "C:\\Prod"},        {rmInstall, 5, 5, "C:\\"},  // out of range: none chosen
      {rmWorkStationSetup, 0, 0, "C:\\WsRoot"}, {rmWorkStationUpdate, 0, 0, "C:\\"},
      {rmCleanUp, 0, 0, "C:\\Apps\\Prod"},
  };
  for (const Case& c : cases) {
    run.RunMode = c.mode;
    run.InstallRootIndex = c.rootIndex;
    run.SystemDirIndex = c.dirIndex;
    EXPECT_EQ(Expand("%SYSTEMPATH%"), c.expected) << c.mode << " " << c.rootIndex << " " << c.dirIndex;
  }
}

TEST_F(ExpandTest, WinCmdDirBeforeNtFamily) {
  context.Folders.NtFamily = false;
  EXPECT_EQ(Expand("%WINCMDDIR%\\cmd"), "C:\\WINDOWS\\cmd");
}

TEST_F(ExpandTest, LanguageVariablesNeedASelection) {
  context.Language = TLanguageSelection{"1030", "dk"};
  EXPECT_EQ(Expand("%LCID%-%langcode%"), "1030-dk");
}

TEST_F(ExpandTest, WsUpdateFileIsCreatedOnceOnFirstUse) {
  EXPECT_EQ(Expand("no reference"), "no reference");
  EXPECT_EQ(wsUpdateCreated, 0);
  EXPECT_EQ(Expand("%WSUPDATE%|%wsupdate%"),
            "C:\\Apps\\Prod\\ws101220260533.wsupdate|C:\\Apps\\Prod\\ws101220260533.wsupdate");
  EXPECT_EQ(Expand("%WSUPDATE%"), "C:\\Apps\\Prod\\ws101220260533.wsupdate");
  EXPECT_EQ(wsUpdateCreated, 1);
  EXPECT_EQ(run.WsUpdateFileName, "C:\\Apps\\Prod\\ws101220260533.wsupdate");
}

TEST_F(ExpandTest, PathVariablesJoinUserVariablesInsert) {
  vars.SetPathVariable("X", "C:\\Data");
  vars.SetVariable("Y", "C:\\Data");
  ExpectExpansions({
      {"%X%\\Logs", "C:\\Data\\Logs"}, {"%X%Logs", "C:\\Data\\Logs"}, {"%Y%\\Logs", "C:\\Data\\Logs"},
      {"%Y%Logs", "C:\\DataLogs"},     {"%x%|%X%", "C:\\Data\\|C:\\Data"},  // a path join keeps going
      {"%X%", "C:\\Data"},
  });
}

TEST_F(ExpandTest, PathJoinWithEmptyValueDropsTheLeadingDelimiter) {
  vars.SetPathVariable("E", "");
  vars.SetPathVariable("R", "C:\\");
  ExpectExpansions({{"%E%\\file.txt", "file.txt"}, {"%R%\\file.txt", "C:\\file.txt"}, {"x%R%", "xC:\\"}});
}

TEST_F(ExpandTest, EscapeFormsBecomeReferences) {
  vars.SetPathVariable("MyPath", "C:\\P");
  vars.SetVariable("MyVar", "v");
  ExpectExpansions({
      {"$INSTALLPATH$\\bin", "%INSTALLPATH%\\bin"},  // not a path
      {"$sysdir$x", "%SYSDIR%x"},
      {"$SYSTEMPATH$ $OPTIONPATH$ $LIBNAME$ $WINCMDDIR$ $WINDIR$ $WINSYSTEMDIR$",
       "%SYSTEMPATH% %OPTIONPATH% %LIBNAME% %WINCMDDIR% %WINDIR% %WINSYSTEMDIR%"},
      {"$INIFILEENTRY$ $REGINIPATH$ $INSTALLFROM$ $NOW$ $COMMONFILES$ $PROGRAMFILES$ $WSUPDATE$",
       "%INIFILEENTRY% %REGINIPATH% %INSTALLFROM% %NOW% %COMMONFILES% %PROGRAMFILES% %WSUPDATE%"},
      {"$MyPath$ $MyVar$", "%MyPath% %MyVar%"},
      {"$LCID$ $LANGCODE$", "$LCID$ $LANGCODE$"},  // these have no escape form
  });
  EXPECT_EQ(wsUpdateCreated, 0);  // an escaped reference creates nothing
}

TEST_F(ExpandTest, SysDirHasExactlyOneDelimiterBeforeWhatFollows) {
  struct Case {
    TRunMode mode;
    const char* folder;
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {rmInstall, "C:\\Apps\\Prod", "%SYSDIR%file.ini", "C:\\Apps\\Prod\\file.ini"},
      {rmInstall, "C:\\Apps\\Prod", "%SYSDIR%\\file.ini", "C:\\Apps\\Prod\\file.ini"},
      {rmInstall, "C:\\Apps\\Prod\\", "%SYSDIR%\\file.ini", "C:\\Apps\\Prod\\file.ini"},
      {rmInstall, "C:\\Apps\\Prod\\", "%sysdir%", "C:\\Apps\\Prod\\"},
      {rmWorkStationSetup, "unused", "%SYSDIR%setup.exe", "D:\\CD\\setup.exe"},
  };
  for (const Case& c : cases) {
    run.RunMode = c.mode;
    run.SystemInstallDir = c.folder;
    EXPECT_EQ(Expand(c.text), c.expected) << c.text;
  }
}

TEST_F(ExpandTest, EncodeSysDirReplacesTheFirstOccurrence) {
  struct Case {
    TRunMode mode;
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {rmInstall, "c:\\apps\\prod\\data\\x.dat", "%SYSDIR%data\\x.dat"},  // with the "\" after it
      {rmInstall, "C:\\Apps\\Prod", "%SYSDIR%"},
      {rmInstall, "a=C:\\Apps\\Prod;b=C:\\Apps\\Prod", "a=%SYSDIR%;b=C:\\Apps\\Prod"},
      {rmWorkStationSetup, "D:\\CD\\setup.exe", "%SYSDIR%setup.exe"},
      {rmWorkStationUpdate, "D:\\CD\\x", "%SYSDIR%x"},
      {rmCleanUp, "C:\\Apps\\Prod\\x", "C:\\Apps\\Prod\\x"},
  };
  for (const Case& c : cases) {
    run.RunMode = c.mode;
    EXPECT_EQ(EncodeSysDir(run, c.text), c.expected) << c.text;
  }
  run.RunMode = rmInstall;
  EXPECT_EQ(Expand(EncodeSysDir(run, "C:\\Apps\\Prod\\data")), "C:\\Apps\\Prod\\data");  // round trip
  run.SystemInstallDir.clear();
  EXPECT_EQ(EncodeSysDir(run, "C:\\x"), "C:\\x");
}

TEST_F(ExpandTest, SelfReferencesEnd) {
  vars.SetVariable("A", "a%A%");
  vars.SetPathVariable("P", "%P%\\p");
  vars.SetVariable("B", "%C%");
  vars.SetVariable("C", "%B%");
  run.SystemInstallDir = "C:\\%SYSDIR%";
  TExpandScope alias = OptionScope();
  alias.SubOption->LibAlias = "%INSTALLPATH%\\lib";
  struct Case {
    const char* text;
    TExpandScope scope;
    const char* expected;
  };
  const Case cases[] = {
      {"%A%", {}, "a%A%"},                 // the inserted value is not searched again
      {"%A%%A%", {}, "a%A%a%A%"},
      {"%P%\\x", {}, "%P%\\p\\x"},
      {"%B%", {}, "%B%"},                  // B gives %C%, C gives %B% back, which stays
      {"%SYSDIR%", {}, "C:\\%SYSDIR%\\"},
      {"%INSTALLPATH%", alias, "%INSTALLPATH%\\lib"},
  };
  for (const Case& c : cases) EXPECT_EQ(Expand(c.text, c.scope), c.expected) << c.text;
}

TEST_F(ExpandTest, LaterVariablesInAValueAreReplaced) {
  vars.SetVariable("Tool", "%WINDIR%\\tool.exe");  // user variables come after %WINDIR%...
  vars.SetVariable("Dir", "%INSTALLPATH%");        // ... so this one was already past
  EXPECT_EQ(Expand("%Tool%|%Dir%"), "%WINDIR%\\tool.exe|%INSTALLPATH%");
  vars.SetVariable("Later", "x");
  vars.SetVariable("Earlier", "%Later%");
  EXPECT_EQ(Expand("%Earlier%"), "%Later%");
  vars.SetPathVariable("PathVar", "%Later%");  // path variables come before user variables
  EXPECT_EQ(Expand("%PathVar%"), "x");
}

TEST_F(ExpandTest, UpperCaseFlagAndCaseOfInsertedValues) {
  run.SystemInstallDir = "C:\\Apps\\Prod";
  TExpandScope upper;
  upper.UpperCase = true;
  EXPECT_EQ(Expand("%installpath%\\ø", upper), "C:\\APPS\\PROD\\Ø");
  EXPECT_EQ(Expand("%installpath%\\ø"), "C:\\Apps\\Prod\\ø");
}

TEST_F(ExpandTest, MatchesNamesWhoseCaseChangesTheirLength) {
  vars.SetVariable("KEY", "v");
  // U+212A KELVIN SIGN upper-cases to itself, but "ſ" (long s) upper-cases to ASCII "S".
  vars.SetVariable("S", "s-value");
  EXPECT_EQ(Expand("[%\xC5\xBF%]"), "[s-value]");
}

TEST_F(ExpandTest, EmptyVariableNamesAreNoReference) {
  vars.SetVariable("", "boom");
  EXPECT_EQ(Expand("100%% sure $$"), "100%% sure $$");
}

TEST(NetMarkers, DropOrStripByInstallationKind) {
  struct Case {
    const char* text;
    bool net;
    const char* expected;
  };
  const Case cases[] = {
      {"<NONET>a,b", false, "a,b"}, {"<nonet>a,b", true, ""},  {"<NET>a,b", true, "a,b"},
      {"<net>a,b", false, ""},      {"plain", true, "plain"}, {"x<NoNet>y<NoNet>", false, "xy"},
  };
  for (const Case& c : cases) EXPECT_EQ(ApplyNetMarkers(c.text, c.net), c.expected) << c.text;
}

}  // namespace
}  // namespace vek
