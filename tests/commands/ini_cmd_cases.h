#pragma once
// The shared table of INI and registry command cases. Each case runs its setup lines, then its
// command line, and checks the command's log lines and what reads give afterwards. The same
// table runs over the in-memory fake (both builds) and over the real profile-string functions
// and registry under Wine, which holds the fake to the real behaviour.
//
// In lines and expectations "{F}" stands for the case's INI file ("{F}" in an expected log line
// is upper-cased, as the command stores it) and "{K}" for the case's registry key path below
// HKEY_CURRENT_USER. Probes:
//   ini:section,key   the entry as the profile functions read it ("<none>" when missing)
//   sec:section       the section's "name=value" lines joined with ";"
//   reg:path,name     a string value ("<none>" when the key or value is missing)
//   key:path          "yes" or "no"
//   file              "file", "folder" or "missing"
//   var:name          a user variable's value ("<none>" when not defined)
#include <string>
#include <utility>
#include <vector>

namespace vek::test {

struct TIniCmdCase {
  const char* name;
  std::vector<std::string> setup;
  std::string line;
  std::vector<std::string> log;
  std::vector<std::pair<std::string, std::string>> after;
};

// "\\k" aLevels times: a key path that many levels deeper.
inline std::string DeepPath(int aLevels) {
  std::string path;
  for (int i = 0; i < aLevels; ++i) path += "\\k";
  return path;
}

inline std::vector<TIniCmdCase> IniCmdCases() {
  return {
      // ---- INI writes and the four existence tests
      {"WriteCreatesFile", {}, "{F},S,K=V", {"INI: {F} , [S] K = V"}, {{"ini:S,K", "V"}, {"file", "file"}}},
      {"WriteReplacesInPlace",
       {"{F},S,A=1", "{F},S,B=2"},
       "{F},s,a=3",
       {"INI: {F} , [s] a = 3"},
       {{"sec:S", "A=3;B=2"}}},
      {"WriteAppendsNewEntry", {"{F},S,A=1", "{F},T,X=1"}, "{F},S,B=2", {"INI: {F} , [S] B = 2"},
       {{"sec:S", "A=1;B=2"}, {"sec:T", "X=1"}}},
      {"FileExistsOnMissingFile", {}, "<FILEEXISTS>{F},S,K=V", {}, {{"file", "missing"}}},
      {"FileExistsOnFile", {"{F},S,A=1"}, "<FILEEXISTS>{F},S,K=V", {"INI: {F} , [S] K = V"}, {{"ini:S,K", "V"}}},
      {"FileNotExistsOnFile", {"{F},S,A=1"}, "<FILENOTEXISTS>{F},S,K=V", {}, {{"ini:S,K", "<none>"}}},
      {"FileNotExistsOnMissingFile", {}, "<filenotexists>{F},S,K=V", {"INI: {F} , [S] K = V"}, {{"ini:S,K", "V"}}},
      {"KeyExistsOnMissingFile", {}, "<KEYEXISTS>{F},S,K=V", {}, {{"file", "missing"}}},
      {"KeyExistsOnMissingKey", {"{F},S,A=1"}, "<KEYEXISTS>{F},S,K=V", {}, {{"sec:S", "A=1"}}},
      {"KeyExistsOnMissingSection", {"{F},S,A=1"}, "<KEYEXISTS>{F},T,A=V", {}, {{"sec:T", ""}}},
      {"KeyExistsOnKey", {"{F},S,K=1"}, "<KeyExists>{F},S,K=V", {"INI: {F} , [S] K = V"}, {{"ini:S,K", "V"}}},
      {"KeyNotExistsOnMissingFile", {}, "<KEYNOTEXISTS>{F},S,K=V", {"INI: {F} , [S] K = V"}, {{"ini:S,K", "V"}}},
      {"KeyNotExistsOnKey", {"{F},S,K=1"}, "<KEYNOTEXISTS>{F},S,K=V", {}, {{"ini:S,K", "1"}}},
      {"DollarsCountAsAbsent", {"{F},S,K=$$$$$$"}, "<KEYEXISTS>{F},S,K=V", {}, {{"ini:S,K", "$$$$$$"}}},
      {"DollarsLetKeyNotExistsWrite",
       {"{F},S,K=$$$$$$"},
       "<KEYNOTEXISTS>{F},S,K=V",
       {"INI: {F} , [S] K = V"},
       {{"ini:S,K", "V"}}},
      {"NextFreeNumber", {"{F},S,0=a", "{F},S,1=b", "{F},S,3=d"}, "{F},S,#=c", {"INI: {F} , [S] 2 = c"},
       {{"sec:S", "0=a;1=b;3=d;2=c"}}},
      {"NextFreeNumberInNewFile", {}, "{F},S,#=a", {"INI: {F} , [S] 0 = a"}, {{"ini:S,0", "a"}}},
      {"ValueKeepsCommasAndEquals", {}, "{F},S,K=a=b,c", {"INI: {F} , [S] K = a=b,c"}, {{"ini:S,K", "a=b,c"}}},
      {"QuotedValueReadsWithoutQuotes", {}, "{F},S,K=\"q\"", {"INI: {F} , [S] K = \"q\""},
       {{"ini:S,K", "q"}, {"sec:S", "K=\"q\""}}},

      // ---- INI deletes, rename, arrange
      {"DeleteSection",
       {"{F},S,A=1", "{F},T,B=2"},
       "<DELETESECTION>{F},S",
       {"INI: {F} , [S] has been deleted"},
       {{"sec:S", ""}, {"sec:T", "B=2"}}},
      {"DeleteMissingSection", {"{F},T,B=2"}, "<DELETESECTION>{F},S", {"INI: {F} , [S] has been deleted"},
       {{"sec:T", "B=2"}}},
      {"DeleteKey",
       {"{F},S,A=1", "{F},S,B=2"},
       "<DELETEKEY>{F},S,A",
       {"INI: {F} , [S] A has been deleted"},
       {{"sec:S", "B=2"}}},
      {"RenameKeepsPlace",
       {"{F},S,A=1", "{F},S,B=2", "{F},S,C=3"},
       "<RENAMEKEY>{F},S,B=X",
       {"INI: {F} , [S] B has been deleted", "INI: {F} , [S] C has been deleted", "INI: {F} , [S] X = 2",
        "INI: {F} , [S] C = 3"},
       {{"sec:S", "A=1;X=2;C=3"}}},
      {"RenameMissingKey", {"{F},S,A=1"}, "<RENAMEKEY>{F},S,B=X", {}, {{"sec:S", "A=1"}}},
      {"RenameInMissingFile", {}, "<RENAMEKEY>{F},S,B=X", {}, {{"file", "missing"}}},
      {"Arrange",
       {"{F},S,A=1", "{F},S,B=2", "{F},S,C=3", "{F},S,D=4"},
       "<ARANGE>{F},S,Order=C,A,..,B",
       {},
       {{"sec:S", "C=3;A=1;D=4;B=2"}}},
      {"ArrangeQuotedAndMissingNames",
       {"{F},S,A=1", "{F},S,B=2", "{F},S,C=3"},
       "<ARANGE>{F},S,x=\"b\",nothere",
       {},
       {{"sec:S", "B=2;A=1;C=3"}}},
      {"ArrangeMissingFile", {}, "<ARANGE>{F},S,x=A", {}, {{"file", "missing"}}},

      // ---- Registry
      {"RegWrite", {}, "HKEY_CURRENT_USER,{K},N=V", {"REG: {K} , N = V"}, {{"reg:{K},N", "V"}}},
      {"RegShortRootAndLeadingBackslash",
       {},
       "HKEY_CU,\\{K}\\Sub,N=V",
       {"REG: \\{K}\\Sub , N = V"},
       {{"reg:{K}\\Sub,N", "V"}}},
      {"RegKeyExistsOnMissingValue", {"HKEY_CU,{K},A=1"}, "<KEYEXISTS>HKEY_CU,{K},N=V", {}, {{"reg:{K},N", "<none>"}}},
      {"RegKeyExistsOnMissingKey", {}, "<KEYEXISTS>HKEY_CU,{K}\\Sub,N=V", {}, {{"key:{K}\\Sub", "no"}}},
      {"RegKeyExistsOnValue", {"HKEY_CU,{K},N=1"}, "<KEYEXISTS>HKEY_CU,{K},N=V", {"REG: {K} , N = V"},
       {{"reg:{K},N", "V"}}},
      {"RegKeyNotExistsOnValue", {"HKEY_CU,{K},N=1"}, "<KEYNOTEXISTS>HKEY_CU,{K},N=V", {}, {{"reg:{K},N", "1"}}},
      {"RegKeyNotExistsOnMissingKey",
       {},
       "<KEYNOTEXISTS>HKEY_CU,{K}\\Sub,N=V",
       {"REG: {K}\\Sub , N = V"},
       {{"reg:{K}\\Sub,N", "V"}}},
      {"RegDeleteKeyWithSubkeys",
       {"HKEY_CU,{K}\\A\\B,N=1", "HKEY_CU,{K},M=2"},
       "<DELETESECTION>HKEY_CU,{K}\\A",
       {"REG: {K}\\A has been deleted"},
       {{"key:{K}\\A", "no"}, {"reg:{K},M", "2"}}},
      {"RegDeleteMissingKey", {}, "<DELETESECTION>HKEY_CU,{K}\\A", {}, {{"key:{K}\\A", "no"}}},
      {"RegDeleteValue",
       {"HKEY_CU,{K},N=1", "HKEY_CU,{K},M=2"},
       "<DELETEKEY>HKEY_CU,{K},N",
       {"REG: {K} , N has been deleted"},
       {{"reg:{K},N", "<none>"}, {"reg:{K},M", "2"}}},
      {"RegDeleteMissingValue", {"HKEY_CU,{K},M=2"}, "<DELETEKEY>HKEY_CU,{K},N", {}, {{"reg:{K},M", "2"}}},
      {"RegRename",
       {"HKEY_CU,{K},N=1"},
       "<RENAMEKEY>HKEY_CU,{K},N=M",
       {"REG: {K} , N renamed to: M"},
       {{"reg:{K},N", "<none>"}, {"reg:{K},M", "1"}}},
      {"RegRenameOntoExisting",
       {"HKEY_CU,{K},N=1", "HKEY_CU,{K},M=2"},
       "<RENAMEKEY>HKEY_CU,{K},N=M",
       {},
       {{"reg:{K},N", "1"}, {"reg:{K},M", "2"}}},
      {"RegArrangeDoesNothing", {"HKEY_CU,{K},N=1"}, "<ARANGE>HKEY_CU,{K},x=N", {}, {{"reg:{K},N", "1"}}},
      {"RegUnknownRoot",
       {},
       "HKEY_NOWHERE,{K},N=V",
       {"Cannot write to HKEY_NOWHERE{K},N.&& (Unknown Registry RootKey : HKEY_NOWHERE)"},
       {{"key:{K}", "no"}}},
      {"RegUnknownRootDelete",
       {},
       "<DELETESECTION>C:\\HKEY_DATA\\x.ini,{K}",
       {"Cannot delete C:\\HKEY_DATA\\X.INI{K} from the registry.&& (Unknown Registry RootKey : "
        "C:\\HKEY_DATA\\X.INI)"},
       {{"key:{K}", "no"}}},

      // ---- Definitions
      {"DefValFromIni", {"{F},S,K=found"}, "<DEFVAL v>{F},S,K=default", {"UserVar Added: v = found"},
       {{"var:v", "found"}}},
      {"DefValFromMissingFile", {}, "<DEFVAL v>{F},S,K=default", {"UserVar Added: v = default"},
       {{"var:v", "default"}, {"file", "missing"}}},
      {"DefPathFromIniEmpty", {}, "<DEFPATH p>{F},S,K", {"UserPathVar Added: p = "}, {{"var:p", ""}}},
      {"DefVarFromIniEmpty", {}, "<DEFVAR p>{F},S,K", {"UserVar Deleted: p"}, {{"var:p", "<none>"}}},
      {"DefExistsValFromIniEmpty", {}, "<DEFEXISTSVAL p>{F},S,K", {"UserVar Deleted: p"}, {{"var:p", "<none>"}}},
      {"DefPathFromRegistry", {"HKEY_CU,{K},N=C:\\Data"}, "<DEFPATH p>HKEY_CU,{K},N",
       {"UserPathVar Added: p = C:\\Data"}, {{"var:p", "C:\\Data"}}},
      {"DefPathFromMissingValue", {}, "<DEFPATH p>HKEY_CU,{K},N", {"UserPathVar cleared: p"}, {{"var:p", ""}}},
      {"DefVarFromMissingValue", {}, "<DEFVAR p>HKEY_CU,{K},N", {"UserVar Deleted: p"}, {{"var:p", "<none>"}}},
      {"DefValFromMissingValue", {}, "<DEFVAL p>HKEY_CU,{K},N", {"UserVar Added: p = "}, {{"var:p", ""}}},
      {"DefExistsValFromMissingValue", {}, "<DEFEXISTSVAL p>HKEY_CU,{K},N", {"Uservar Deleted: p"},
       {{"var:p", "<none>"}}},
      {"DefinitionIgnoresIf", {"{F},S,K=x"}, "<IF nothere><DEFVAL v>{F},S,K", {"UserVar Added: v = x"},
       {{"var:v", "x"}}},

      // ---- Bad input: reported, nothing changed
      {"DeviceFilePart", {}, "NUL,S,K=V",
       {"INI command on \"NUL\" [S]: failed, the file part names a device and is not run", "Cannot write to NUL."},
       {}},
      {"DeviceInFolder", {}, "C:\\Windows\\com1.ini,S,K=V",
       {"INI command on \"C:\\WINDOWS\\COM1.INI\" [S]: failed, the file part names a device and is not run",
        "Cannot write to C:\\WINDOWS\\COM1.INI."},
       {}},
      {"DeviceDefinition", {}, "<DEFVAL v>CON,S,K=x",
       {"INI command on \"CON\" [S]: failed, the file part names a device and is not run", "Cannot write to CON."},
       {{"var:v", "<none>"}}},
      {"FolderFilePart", {}, "{F}.d,S,K=V",
       {"INI command on \"{F}.D\" [S]: failed, the file part names a folder and is not run",
        "Cannot write to {F}.D."},
       {}},
      {"LongPath", {}, "{F}" + std::string(260, 'x') + ",S,K=V",
       {"INI command on \"{F}" + std::string(260, 'X') +
            "\" [S]: failed, the file part is longer than 259 characters and is not run",
        "Cannot write to {F}" + std::string(260, 'X') + "."},
       {{"file", "missing"}}},
      {"OnlyFile", {}, "{F}", {"INI: {F} , []  = "}, {{"file", "file"}}},
      {"BlanksAroundNamesAndValues", {}, "{F}, S , K = V ", {"INI: {F} , [ S ]  K  =  V "},
       {{"ini:S,K", "V"}, {"sec:S", "K=V"}}},
      {"DeleteKeyInMissingFile", {}, "<DELETEKEY>{F},S,K", {"INI: {F} , [S] K has been deleted"},
       {{"file", "missing"}}},
      {"DeleteSectionInMissingFile", {}, "<DELETESECTION>{F},S", {"INI: {F} , [S] has been deleted"},
       {{"file", "missing"}}},
      {"LongIniValue", {}, "{F},S,K=" + std::string(5000, 'v'), {"INI: {F} , [S] K = " + std::string(5000, 'v')},
       {{"ini:S,K", std::string(5000, 'v')}}},
      {"DeepRegistryPath", {}, "HKEY_CU,{K}" + DeepPath(300) + ",N=V", {"REG: {K}" + DeepPath(300) + " , N = V"},
       {{"reg:{K}" + DeepPath(300) + ",N", "V"}}},
      {"LongRegistryKeyName", {}, "HKEY_CU,{K}\\" + std::string(300, 'k') + ",N=V",
       {"Cannot write to HKEY_CU{K}\\" + std::string(300, 'k') +
        ",N.&& (a key name in the path is longer than 255 characters and is not run)"},
       {{"key:{K}", "no"}}},
      {"TooDeepRegistryPath", {}, "HKEY_CU,{K}" + DeepPath(600) + ",N=V",
       {"Cannot write to HKEY_CU{K}" + DeepPath(600) + ",N.&& (the path is deeper than 512 levels and is not run)"},
       {{"key:{K}", "no"}}},
  };
}

}  // namespace vek::test
