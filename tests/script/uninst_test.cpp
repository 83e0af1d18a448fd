#include <gtest/gtest.h>

#include <map>

#include "base/CaseMap.h"
#include "script/UnInstallInfo.h"

namespace vek {
namespace {

// An INI in memory whose section and key names compare without regard to case.
class MemoryIni : public TIniAccess {
 public:
  std::string ReadString(const std::string& aSection, const std::string& aKey,
                         const std::string& aDefault) const override {
    const auto it = fValues.find(aSection + "|" + aKey);
    return it == fValues.end() ? aDefault : it->second;
  }
  bool WriteString(const std::string& aSection, const std::string& aKey, const std::string& aValue) override {
    if (fReadOnly) return false;
    fValues[aSection + "|" + aKey] = aValue;
    return true;
  }
  bool fReadOnly = false;

 private:
  std::map<std::string, std::string, TextLess> fValues;
};

std::string Same(std::string_view aText) { return std::string(aText); }

TUnInstallInfo Record(const std::string& aKey, const std::string& aName = "Name") {
  return {aKey, aName, "remove.exe /q", "Maker"};
}

TEST(UninstallRecords, LoadKeepsEveryNumberThatHasAKey) {
  MemoryIni ini;
  for (const std::string suffix : {"", "2", "5"}) {
    ini.WriteString("UninstallExternals", "Key" + suffix, "k" + suffix);
    ini.WriteString("UninstallExternals", "DisplayString" + suffix, "Tool %X%" + suffix);
  }
  ini.WriteString("UninstallExternals", "DisplayName3", "no key, no record");
  const auto upper = [](std::string_view aText) { return UpperCase(aText); };
  const std::vector<TUnInstallInfo> records = LoadUninstallRecords(ini, "uninstallexternals", upper);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].Key, "k");
  EXPECT_EQ(records[1].Key, "k2");
  EXPECT_EQ(records[2].DisplayName, "TOOL %X%5");  // expanded while loading
}

TEST(UninstallRecords, SaveWritesTheFourKeysWithTheSuffix) {
  MemoryIni ini;
  ASSERT_TRUE(Record("Tool").SaveToIniFile(ini, "S", 7));
  EXPECT_EQ(ini.ReadString("S", "Key7", ""), "Tool");
  EXPECT_EQ(ini.ReadString("S", "DisplayString7", ""), "Name");
  EXPECT_EQ(ini.ReadString("S", "Publisher7", ""), "Maker");
  EXPECT_EQ(ini.ReadString("S", "UnInstallString7", ""), "remove.exe /q");
  ini.fReadOnly = true;
  EXPECT_FALSE(Record("Tool").SaveToIniFile(ini, "S", 7));
}

TEST(UninstallRecords, MergeRewritesTheSlotOfTheSameKeyAndFillsFreeSlots) {
  MemoryIni ini;
  Record("first").SaveToIniFile(ini, "U", kUnnumberedRecord);
  Record("Tool", "old name").SaveToIniFile(ini, "U", 3);
  MergeUninstallRecords({Record("TOOL", "new name"), Record("other"), Record("")}, ini, "U");
  EXPECT_EQ(ini.ReadString("U", "DisplayString3", ""), "new name");  // the same key, another case
  EXPECT_EQ(ini.ReadString("U", "Key1", ""), "other");               // first free number
  EXPECT_EQ(ini.ReadString("U", "Key2", ""), "");                    // a record without key is not added
}

TEST(UninstallRecords, AFullSectionTakesNoMoreRecords) {
  MemoryIni ini;
  for (int i = 0; i < 11; ++i) ASSERT_TRUE(Record("k" + std::to_string(i)).AddToIniFile(ini, "U"));
  EXPECT_FALSE(Record("eleventh").AddToIniFile(ini, "U"));
  EXPECT_EQ(LoadUninstallRecords(ini, "U", Same).size(), 11u);
  EXPECT_FALSE(TUnInstallInfo{}.UpdateIniFile(ini, "U", kUnnumberedRecord));
}

}  // namespace
}  // namespace vek
