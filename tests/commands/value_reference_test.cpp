// Value references over a source that serves INI files and registry values from memory; the
// same references against real files and the real registry run in the Windows tests.
#include <gtest/gtest.h>

#include <map>

#include "script/IniStore.h"
#include "commands/ValueReference.h"

namespace vek {
namespace {

class MemoryValueSource final : public TValueSource {
 public:
  std::string ReadIniString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                            const std::string& aDefault) const override {
    const auto it = files.find(aFile);
    return it == files.end() ? aDefault : it->second.ReadString(aSection, aKey, aDefault);
  }
  std::string ReadRegistryString(TRegistryRoot aRoot, const std::string& aKeyPath,
                                 const std::string& aValueName) const override {
    lastRoot = aRoot;
    return aKeyPath + "|" + aValueName;
  }

  std::map<std::string, TIniStore> files;
  mutable std::optional<TRegistryRoot> lastRoot;
};

class ValueReferenceTest : public ::testing::Test {
 protected:
  ValueReferenceTest() {
    source.files["C:\\OLD.INI"] = TIniStore::FromText("[Paths]\nMain=C:\\Old\\Main\ndk_Main=C:\\Gammel\n[S]\nk=,x\n");
  }
  MemoryValueSource source;
};

TEST_F(ValueReferenceTest, SplitAtTheFirstTwoCommas) {
  struct Case {
    const char* text;
    const char* file;
    const char* section;
    const char* key;
  };
  const Case cases[] = {
      {"f,s,k", "f", "s", "k"}, {"f,s,k,with,commas", "f", "s", "k,with,commas"},
      {"keyonly", "", "", "keyonly"}, {"f,k", "f", "", "k"}, {",,", "", "", ""}, {"", "", "", ""},
  };
  for (const Case& c : cases) {
    const TValueRefParts parts = SplitValueReference(c.text);
    EXPECT_EQ(parts.file, c.file) << c.text;
    EXPECT_EQ(parts.section, c.section) << c.text;
    EXPECT_EQ(parts.key, c.key) << c.text;
  }
}

TEST_F(ValueReferenceTest, IniReferencesUseTheLanguageOverride) {
  EXPECT_EQ(IniValueReference(source, "uk", "C:\\OLD.INI,Paths,Main"), "C:\\Old\\Main");
  EXPECT_EQ(IniValueReference(source, "dk", "C:\\OLD.INI,Paths,Main"), "C:\\Gammel");
  EXPECT_EQ(IniValueReference(source, "uk", "C:\\OLD.INI,Paths,Missing"), "");
  EXPECT_EQ(IniValueReference(source, "uk", "C:\\NONE.INI,Paths,Main"), "");
  EXPECT_EQ(IniValueReference(source, "uk", ""), "");
}

TEST_F(ValueReferenceTest, RegistryOrIniByTheFirstPart) {
  struct Case {
    const char* text;
    const char* expected;
    std::optional<TRegistryRoot> root;
  };
  const Case cases[] = {
      {"HKEY_LM,Software\\Vendor,Path", "Software\\Vendor|Path", TRegistryRoot::LocalMachine},
      {"HKEY_LOCAL_MACHINE,Software\\Vendor,Path", "Software\\Vendor|Path", TRegistryRoot::LocalMachine},
      {"HKEY_CURRENT_USER,K,V", "K|V", TRegistryRoot::CurrentUser},
      {"HKEY_UNKNOWN,K,V", "K|V", TRegistryRoot::CurrentUser},  // unknown root: current user
      {"C:\\OLD.INI,Paths,Main", "C:\\Old\\Main", std::nullopt},
      {"hkey_lm,Paths,Main", "", std::nullopt},  // no "HKEY_" prefix: an INI file of that name
  };
  for (const Case& c : cases) {
    source.lastRoot.reset();
    EXPECT_EQ(RegIniValueReference(source, "uk", c.text), c.expected) << c.text;
    EXPECT_EQ(source.lastRoot, c.root) << c.text;
  }
}

TEST_F(ValueReferenceTest, CommandReferencesReadTheKeyOfTheLine) {
  TRunContext run;
  TUserVariables vars;
  vars.SetVariable("OLD", "c:\\old.ini");
  const TExpandContext expand{run, vars, {}, std::nullopt, {}, {}};
  const TIniCmdParseContext parse{expand, {}, false, {}};
  EXPECT_EQ(CommandValueReference(source, "uk", parse, "%OLD%,Paths,Main"), "C:\\Old\\Main");
  EXPECT_EQ(CommandValueReference(source, "uk", parse, "<NET>C:\\OLD.INI,Paths,Main=ignored"), "C:\\Old\\Main");
  EXPECT_EQ(CommandValueReference(source, "uk", parse, "C:\\OLD.INI,S,k"), ",x");
  EXPECT_EQ(CommandValueReference(source, "uk", parse, ""), "");
}

}  // namespace
}  // namespace vek
