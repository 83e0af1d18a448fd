// The values of a full uninstall entry: computed ones, and the script's own, which win.
#include <gtest/gtest.h>

#include <map>

#include "engine/UninstallEntry.h"

namespace vek {
namespace {

std::map<std::string, std::string> Shown(const std::vector<TUninstallValue>& aValues) {
  std::map<std::string, std::string> shown;
  for (const TUninstallValue& value : aValues) {
    shown[value.name] = value.isNumber ? "dword:" + std::to_string(value.number) : value.text;
  }
  return shown;
}

TUninstallFacts Facts() {
  return {
      "3.0", "C:\\App\\Sys\\SETUP.EXE /UNINSTALL", "C:\\App", "20261210", 2049, "C:\\App\\Sys\\SETUP.EXE"};
}

TEST(UninstallEntry, ComputedValues) {
  EXPECT_EQ(
      Shown(UninstallEntryValues(Facts(), nullptr)),
      (std::map<std::string, std::string>{{"DisplayVersion", "3.0"},
                                          {"QuietUninstallString", "C:\\App\\Sys\\SETUP.EXE /UNINSTALL /Q"},
                                          {"InstallLocation", "C:\\App"},
                                          {"InstallDate", "20261210"},
                                          {"EstimatedSize", "dword:3"},
                                          {"DisplayIcon", "C:\\App\\Sys\\SETUP.EXE"},
                                          {"NoModify", "dword:1"},
                                          {"NoRepair", "dword:1"}}));
}

TEST(UninstallEntry, WithoutVersionUninstallCommandOrSetupProgramThoseAreLeftOut) {
  TUninstallFacts facts = Facts();
  facts.version.clear();
  facts.uninstallString.clear();
  facts.setupProgram.clear();
  facts.recordedBytes = 0;
  const auto shown = Shown(UninstallEntryValues(facts, nullptr));
  EXPECT_EQ(shown.count("DisplayVersion") + shown.count("QuietUninstallString") + shown.count("DisplayIcon"),
            0u);
  EXPECT_EQ(shown.at("EstimatedSize"), "dword:0");
}

TEST(UninstallEntry, HugeSizesAreHeldAtTheLargestDword) {
  TUninstallFacts facts = Facts();
  facts.recordedBytes = 0xFFFFFFFFFFFFull;
  EXPECT_EQ(Shown(UninstallEntryValues(facts, nullptr)).at("EstimatedSize"), "dword:4294967295");
}

TEST(UninstallEntry, TheScriptsOwnValuesWin) {
  const std::map<std::string, std::string> own{{"DisplayIcon", "C:\\App\\app.ico,0"},
                                               {"QuietUninstallString", "C:\\App\\remove.exe -s"},
                                               {"NoModify", "0"},
                                               {"EstimatedSize", "many"}};
  const auto script = [&own](const std::string& aName) -> std::optional<std::string> {
    const auto found = own.find(aName);
    return found == own.end() ? std::nullopt : std::optional<std::string>(found->second);
  };
  const auto shown = Shown(UninstallEntryValues(Facts(), script));
  EXPECT_EQ(shown.at("DisplayIcon"), "C:\\App\\app.ico,0");
  EXPECT_EQ(shown.at("QuietUninstallString"), "C:\\App\\remove.exe -s");
  EXPECT_EQ(shown.at("NoModify"), "dword:0");
  // A size that is no number is kept as the script wrote it.
  EXPECT_EQ(shown.at("EstimatedSize"), "many");
  EXPECT_EQ(shown.at("NoRepair"), "dword:1");
}

}  // namespace
}  // namespace vek
