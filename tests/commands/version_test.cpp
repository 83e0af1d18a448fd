// Version and existence tests as plain logic: reading found versions and script targets,
// comparing versions and texts, and each source read through a source served from memory.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "commands/VerTest.h"
#include "script/IniStore.h"

namespace vek {
namespace {

constexpr TfileVersion kNone{};

TEST(FoundVersion, PartsAndTheTextsThatAreNoVersion) {
  struct Case {
    std::string text;
    TVersionParse result;
    TfileVersion version;
  };
  const Case cases[] = {
      {"2.1.0.7", vpOk, {2, 1, 0, 7}},
      {"3", vpOk, {3, -1, -1, -1}},
      {"2..5", vpOk, {2, -1, 5, -1}},
      {"1.2.3.4.5", vpOk, {1, 2, 3, 4}},  // parts after the fourth are ignored
      {"65535.0", vpOk, {65535, 0, -1, -1}},
      {" 4 . 2", vpOk, {4, 2, -1, -1}},
      {"", vpEmptyMajor, kNone},
      {".1", vpEmptyMajor, kNone},
      {"1.x", vpNotANumber, kNone},
      {"1.2b", vpNotANumber, kNone},
      {"0x10", vpNotANumber, kNone},
      {"65536", vpTooLarge, kNone},  // never wrapped to 0
      {"1.99999999999999999999999", vpTooLarge, kNone},
      {"-1", vpSigned, kNone},
      {"1.+2", vpSigned, kNone},
      {std::string("1\0.2", 4), vpNul, kNone},
  };
  for (const Case& c : cases) {
    TfileVersion version{9, 9, 9, 9};
    EXPECT_EQ(ParseFoundVersion(c.text, version), c.result) << c.text;
    EXPECT_EQ(version, c.version) << c.text;
  }
}

TEST(TestVersion, EveryOperatorWithMissingParts) {
  struct Case {
    TfileVersion found;
    TVersionTests test;
    TfileVersion target;
    bool expected;
  };
  const TfileVersion v21{2, 1, -1, -1};
  const TfileVersion v215{2, 1, 5, -1};
  const Case cases[] = {
      // A missing part is skipped by equality but cannot make one version beyond another.
      {v21, vtEqual, v215, true},
      {v21, vtGreater, v215, false},
      {v21, vtLess, v215, false},
      {v21, vtNotEqual, v215, false},
      {v21, vtEqualOrGreater, v215, true},
      {{3, -1, -1, -1}, vtEqualOrGreater, {2, 9, -1, -1}, true},  // the major part decides
      {{2, 1, 0, 0}, vtEqual, v21, true},
      {{2, 1, 3, 0}, vtGreater, {2, 1, 2, 9}, true},
      {{2, 1, 3, 0}, vtLess, {2, 1, 2, 9}, false},
      {{2, 0, 9, 9}, vtLess, {2, 1, 0, 0}, true},
      {{2, 1, 0, 0}, vtGreater, {2, 1, 0, 0}, false},
      {{2, 1, 0, 0}, vtEqualOrLess, {2, 1, 0, 0}, true},
      {{1, 9, 0, 0}, vtEqualOrGreater, {2, 0, 0, 0}, false},
      {{2, 1, 0, 0}, vtNotEqual, {2, 1, 0, 1}, true},
      // Either major missing: every test but "not equal" passes.
      {kNone, vtEqual, v21, true},
      {kNone, vtGreater, v21, true},
      {v21, vtLess, kNone, true},
      {v21, vtNotEqual, kNone, false},
      {{0, 0, 0, 0}, VtNone, v21, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.found.TestVersion(c.test, c.target), c.expected)
        << c.found.ToString() << " " << VersionTestName(c.test) << " " << c.target.ToString();
  }
}

struct Parsed {
  std::string filename, Section, Key, Value;
  TfileVersion version;
  TVersionTests test;
  bool fileMust, keyMust, valOrKey;
};

void ExpectParsed(const TFileVersionCheck& aCheck, const Parsed& aExpected, const std::string& aWhat) {
  EXPECT_EQ(aCheck.filename, aExpected.filename) << aWhat;
  EXPECT_EQ(aCheck.Section, aExpected.Section) << aWhat;
  EXPECT_EQ(aCheck.Key, aExpected.Key) << aWhat;
  EXPECT_EQ(aCheck.Value, aExpected.Value) << aWhat;
  EXPECT_EQ(aCheck.version, aExpected.version) << aWhat;
  EXPECT_EQ(aCheck.VerTest, aExpected.test) << aWhat;
  EXPECT_EQ(aCheck.FileMustExists, aExpected.fileMust) << aWhat;
  EXPECT_EQ(aCheck.KeyMustExists, aExpected.keyMust) << aWhat;
  EXPECT_EQ(aCheck.ValOrKeyTest, aExpected.valOrKey) << aWhat;
}

TEST(SetVersionTest, ThreePartForm) {
  struct Case {
    std::string file, section, test;
    Parsed expected;
  };
  const Case cases[] = {
      {"C:\\P\\app.exe",
       "FixedFileVersion",
       ">=2.1",
       {"C:\\P\\app.exe", "FixedFileVersion", "", "", {2, 1, -1, -1}, vtEqualOrGreater, true, true, false}},
      {"app.exe",
       "FixedFileVersion>=2.1",
       "",
       {"app.exe", "FixedFileVersion", "", "", {2, 1, -1, -1}, vtEqualOrGreater, true, true, false}},
      {"C:\\p.ini",
       "Sec",
       "Key<>1..3.4.5",
       {"C:\\p.ini", "Sec", "Key", "", {1, -1, 3, 4}, vtNotEqual, true, true, false}},
      {"HKEY_LOCAL_MACHINE",
       "Software\\Co\\Prod",
       "Version<2",
       {"HKEY_LOCAL_MACHINE",
        "Software\\Co\\Prod",
        "Version",
        "",
        {2, -1, -1, -1},
        vtLess,
        true,
        true,
        false}},
      // Tokens anywhere, in any case, are taken out of the name.
      {"<fileexists>C:\\p.ini<KeyExists>",
       "Sec",
       "Key=1",
       {"C:\\p.ini", "Sec", "Key", "", {1, -1, -1, -1}, vtEqual, false, false, false}},
      {"HKEY_CU<VALORKEY>",
       "Software\\Prod",
       "Ver>1",
       {"HKEY_CU", "Software\\Prod", "Ver", "", {1, -1, -1, -1}, vtGreater, true, true, true}},
      // A target with anything but digits, dots and spaces compares as text.
      {"C:\\p.ini",
       "Sec",
       "Key=1.2b",
       {"C:\\p.ini", "Sec", "Key", "1.2b", kNone, vtEqual, true, true, false}},
      {"C:\\p.ini", "Sec", "Key=A|B", {"C:\\p.ini", "Sec", "Key", "A|B", kNone, vtEqual, true, true, false}},
      // No section: the test names the section. No operator: the name is all of it.
      {"app.exe",
       "",
       "FileVersion<=3",
       {"app.exe", "FileVersion", "", "", {3, -1, -1, -1}, vtEqualOrLess, true, true, false}},
      {"C:\\p.ini", "Sec", "Key", {"C:\\p.ini", "Sec", "Key", "", kNone, vtEqual, true, true, false}},
      // An operator that is not one leaves the test as it was.
      {"C:\\p.ini",
       "Sec",
       "Key=>2",
       {"C:\\p.ini", "Sec", "Key", "", {2, -1, -1, -1}, vtEqual, true, true, false}},
  };
  for (const Case& c : cases) {
    TFileVersionCheck check;
    check.SetVersionTest(c.file, c.section, c.test);
    ExpectParsed(check, c.expected, c.file + "," + c.section + "," + c.test);
    EXPECT_EQ(check.ParseNote, "");
  }
}

TEST(SetVersionTest, OneTextForm) {
  struct Case {
    std::string text;
    Parsed expected;
  };
  const Case cases[] = {
      {"C:\\p.ini,Sec,Key>=2.1",
       {"C:\\p.ini", "Sec", "Key", "", {2, 1, -1, -1}, vtEqualOrGreater, true, true, false}},
      {"app.exe,FixedFileVersion>=1.0",
       {"app.exe", "FixedFileVersion", "", "", {1, 0, -1, -1}, vtEqualOrGreater, true, true, false}},
      {"<KEYEXISTS>HKEY_LM,Soft\\Prod,Name,With,Commas<=3",
       {"HKEY_LM", "Soft\\Prod", "Name,With,Commas", "", {3, -1, -1, -1}, vtEqualOrLess, true, false, false}},
      {"C:\\p.ini,Sec,",
       {"C:\\p.ini", "Sec", "", "", kNone, vtEqual, true, true, false}},  // a last comma names no key
      {"NoCommaAtAll", {"NoCommaAtAll", "", "", "", kNone, vtEqual, true, true, false}},
      {"f.ini,Sec,Key=\"x y\"|z", {"f.ini", "Sec", "Key", "\"x y\"|z", kNone, vtEqual, true, true, false}},
  };
  for (const Case& c : cases) {
    TFileVersionCheck check;
    check.SetVersionTest(c.text);
    ExpectParsed(check, c.expected, c.text);
  }
}

TEST(SetVersionTest, TargetPartsTooLargeForAVersionReadAsZeroAndSaySo) {
  TFileVersionCheck check;
  check.SetVersionTest("C:\\p.ini", "Sec", "Key>=2.99999999999999999999.3");
  EXPECT_EQ(check.version, (TfileVersion{2, 0, 3, -1}));
  EXPECT_NE(check.ParseNote.find("99999999999999999999"), std::string::npos) << check.ParseNote;
  check.SetVersionTest("C:\\p.ini", "Sec", "Key>=2.1");  // a new target forgets the old note
  EXPECT_EQ(check.ParseNote, "");
}

TEST(TargetItems, BarsSpacesAndQuotes) {
  EXPECT_EQ(SplitTargetItems("A|B"), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(SplitTargetItems("A B|C"), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(SplitTargetItems("\"x y\"|z"), (std::vector<std::string>{"x y", "z"}));
  EXPECT_EQ(SplitTargetItems("\"say \"\"hi\"\"\"|"), (std::vector<std::string>{"say \"hi\""}));
  EXPECT_EQ(SplitTargetItems("\"open"), (std::vector<std::string>{"open"}));
}

// Files, registry values and version resources served from memory.
class MemorySource final : public TVersionSource {
 public:
  std::set<std::string> files;
  std::map<std::string, TIniStore> ini;
  std::map<std::tuple<TRegistryRoot, std::string, std::string>, std::string> values;
  std::map<std::pair<TRegistryRoot, std::string>, std::vector<std::string>> subKeys;
  std::map<std::string, TVersionResource> resources;

  std::string ReadIniString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                            const std::string& aDefault) const override {
    const auto it = ini.find(aFile);
    return it == ini.end() ? aDefault : it->second.ReadString(aSection, aKey, aDefault);
  }
  std::string ReadRegistryString(TRegistryRoot aRoot, const std::string& aKeyPath,
                                 const std::string& aValueName) const override {
    return ReadRegistryValue(aRoot, aKeyPath, aValueName).value_or("");
  }
  bool FileExists(const std::string& aPath) const override { return files.count(aPath) > 0; }
  std::optional<std::string> ReadRegistryValue(TRegistryRoot aRoot, const std::string& aKeyPath,
                                               const std::string& aValueName) const override {
    const auto it = values.find({aRoot, aKeyPath, aValueName});
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  std::vector<std::string> ReadRegistrySubKeys(TRegistryRoot aRoot,
                                               const std::string& aKeyPath) const override {
    const auto it = subKeys.find({aRoot, aKeyPath});
    return it == subKeys.end() ? std::vector<std::string>{} : it->second;
  }
  TVersionResource ReadVersionResource(const std::string& aPath) const override {
    const auto it = resources.find(aPath);
    return it == resources.end() ? TVersionResource{} : it->second;
  }
};

class VersionSources : public ::testing::Test {
 protected:
  void SetUp() override {
    source.files = {"C:\\p.ini", "C:\\Q.MIF", "C:\\app.exe", "C:\\plain.dll"};
    source.ini["C:\\p.ini"] = TIniStore::FromText("[Sec]\nVer=2.5\nName=Beta\ndk_Ver=1.0\nHuge=70000.1\n");
    source.ini["C:\\Q.MIF"] = TIniStore::FromText("[Sec]\nVer=3.0\n");
    source.values[{TRegistryRoot::LocalMachine, "Soft\\Prod", "Version"}] = "2.5";
    source.values[{TRegistryRoot::CurrentUser, "Soft\\Prod", "Version"}] = "1.0";
    source.values[{TRegistryRoot::LocalMachine, "Soft\\Prod", "Count"}] = "7";
    source.values[{TRegistryRoot::LocalMachine, "Soft\\Prod", "Big"}] = "4294967295";
    source.subKeys[{TRegistryRoot::LocalMachine, "Soft\\Prod"}] = {"10.0", "Temp", "9.0", "9a"};
    source.resources["C:\\app.exe"] = TVersionResource{true, "1.2b", 0x00020001, 0x00000005};
  }

  bool Ok(const std::string& aFile, const std::string& aSection, const std::string& aTest,
          std::string_view aLang = "uk") {
    TFileVersionCheck check;
    check.SetVersionTest(aFile, aSection, aTest);
    return check.IsVersionOk(source, aLang);
  }

  MemorySource source;
};

TEST_F(VersionSources, EachSourceAndItsMissingFilesAndValues) {
  struct Case {
    std::string file, section, test;
    bool expected;
  };
  const Case cases[] = {
      // INI and MIF files, a missing file and a missing key.
      {"C:\\p.ini", "Sec", "Ver>=2.1", true},
      {"C:\\p.ini", "Sec", "Ver>=2.6", false},
      {"C:\\Q.MIF", "Sec", "Ver=3", true},
      {"C:\\missing.ini", "Sec", "Ver>=1", false},
      {"<FILEEXISTS>C:\\missing.ini", "Sec", "Ver>=1", true},
      {"C:\\p.ini", "Sec", "Missing>=1.0", false},  // compared as 0
      {"<KEYEXISTS>C:\\p.ini", "Sec", "Missing>=1.0", true},
      {"C:\\p.ini", "Sec", "Missing<1.0", true},
      {"C:\\p.ini", "Sec", "Huge>=1", false},  // 70000 is no version part
      // Registry: exact-case root names, any other name reads the current user's.
      {"HKEY_LOCAL_MACHINE", "Soft\\Prod", "Version>=2.1", true},
      {"HKEY_LM", "Soft\\Prod", "Version>=2.1", true},
      {"HKEY_Local_Machine", "Soft\\Prod", "Version>=2.1", false},
      {"HKEY_Local_Machine", "Soft\\Prod", "Version=1.0", true},
      {"HKEY_LM", "Soft\\Prod", "Count=7", true},
      {"HKEY_LM", "Soft\\Prod", "Big>=1", false},  // no 16-bit version
      {"HKEY_LM", "Soft\\Prod", "Missing>=1", false},
      {"<KEYEXISTS>HKEY_LM", "Soft\\Prod", "Missing>=1", true},
      {"<FILEEXISTS>HKEY_LM", "Soft\\Prod", "Missing>=1", true},
      // Without the value: the last version-like subkey in text order (Temp and 9a dropped).
      {"<VALORKEY>HKEY_LM", "Soft\\Prod", "Missing=9.0", true},
      {"<VALORKEY>HKEY_LM", "Soft\\Prod", "Missing=10.0", false},
      {"<VALORKEY>HKEY_LM", "Soft\\Prod", "Version=2.5", true},  // the value wins
      // Version resources: the fixed version, or the string value FileVersion.
      {"C:\\app.exe", "FixedFileVersion", ">=2.1", true},
      {"C:\\app.exe", "fixedfileversion", ">2.1.0.4", true},
      {"C:\\app.exe", "FixedFileVersion", ">2.1.0.5", false},
      {"C:\\app.exe", "FileVersion", "=1.2B", true},
      {"C:\\plain.dll", "FixedFileVersion", ">=1.0", false},  // no resource: 0.0.0.0
      {"C:\\plain.dll", "FixedFileVersion", "<1.0", true},
      {"C:\\plain.dll", "FileVersion", ">=1.0", false},
      {"C:\\missing.exe", "FixedFileVersion", ">=9", false},
      {"<FILEEXISTS>C:\\missing.exe", "FixedFileVersion", ">=9", true},
      // Texts and lists of texts, without regard to case.
      {"C:\\p.ini", "Sec", "Name=beta", true},
      {"C:\\p.ini", "Sec", "Name=A|BETA", true},
      {"C:\\p.ini", "Sec", "Name=A|\"B C\"", false},
      {"C:\\p.ini", "Sec", "Name<Gamma", true},
      {"C:\\p.ini", "Sec", "Name<>Beta", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Ok(c.file, c.section, c.test), c.expected) << c.file << "," << c.section << "," << c.test;
}

TEST_F(VersionSources, IniKeysHaveTheLanguageOverride) {
  EXPECT_TRUE(Ok("C:\\p.ini", "Sec", "Ver=2.5", "uk"));
  EXPECT_TRUE(Ok("C:\\p.ini", "Sec", "Ver=1.0", "dk"));
}

TEST_F(VersionSources, TheValueTheTestReadsForDisplay) {
  struct Case {
    std::string file, section, test, expected;
  };
  const Case cases[] = {
      {"C:\\p.ini", "Sec", "Ver>=1", "2.5"},
      {"C:\\p.ini", "Sec", "Missing>=1", "0"},
      {"<KEYEXISTS>C:\\p.ini", "Sec", "Missing>=1", "Key Don't Exists"},
      {"C:\\missing.ini", "Sec", "Ver>=1", "File Don't Exists"},
      {"HKEY_LM", "Soft\\Prod", "Version>=1", "2.5"},
      {"<KEYEXISTS>HKEY_LM", "Soft\\Prod", "Missing>=1", "Key Don't Exists"},
      {"C:\\app.exe", "FixedFileVersion", ">=1", "2.1.0.5"},
      {"C:\\app.exe", "FileVersion", ">=1", "1.2b"},
  };
  for (const Case& c : cases) {
    TFileVersionCheck check;
    check.SetVersionTest(c.file, c.section, c.test);
    EXPECT_EQ(check.GetTestTargetVersion(source, "uk"), c.expected) << c.file << "," << c.test;
  }
}

TEST_F(VersionSources, TheLogLineSaysWhatWasFoundAndWhy) {
  TFileVersionCheck check;
  check.SetVersionTest("HKEY_LM", "Soft\\Prod", "Big>=2.1");
  TVersionTrace trace;
  EXPECT_FALSE(check.IsVersionOk(source, "uk", &trace));
  EXPECT_EQ(VersionCheckLogLine(check, trace, false),
            "Version test \"HKEY_LM\" Soft\\Prod, Big: found \"4294967295\" >= \"2.1\": failed "
            "(no version: a part is larger than 65535)");
  check.SetVersionTest("C:\\app.exe", "FixedFileVersion", ">=2.1");
  trace = {};
  EXPECT_TRUE(check.IsVersionOk(source, "uk", &trace));
  EXPECT_EQ(VersionCheckLogLine(check, trace, true),
            "Version test \"C:\\app.exe\" FixedFileVersion: found \"2.1.0.5\" >= \"2.1\": passed");
}

TEST_F(VersionSources, LoadedFixedVersionsOfFilesWithAndWithoutResource) {
  EXPECT_EQ(CreateAndLoadVersionInfo(source, "C:\\app.exe"), (TfileVersion{2, 1, 0, 5}));
  // Unlike a test of the fixed version, which reads 0.0.0.0, nothing known equals anything.
  for (const char* file : {"C:\\plain.dll", "C:\\missing.exe"}) {
    const TfileVersion none = CreateAndLoadVersionInfo(source, file);
    EXPECT_EQ(none, kNone) << file;
    EXPECT_TRUE(none.TestVersion(vtEqual, TfileVersion{1, 0, -1, -1})) << file;
  }
}

TEST(FixedVersion, AFileWithoutResourceHasNoVersionAndEqualsAnything) {
  EXPECT_EQ(FixedVersionOf(TVersionResource{}), kNone);
  EXPECT_TRUE(FixedVersionOf(TVersionResource{}).TestVersion(vtEqual, TfileVersion{1, 0, -1, -1}));
  EXPECT_EQ(FixedVersionOf(TVersionResource{true, "", 0xFFFF0001, 0x00020003}),
            (TfileVersion{65535, 1, 2, 3}));
}

}  // namespace
}  // namespace vek
