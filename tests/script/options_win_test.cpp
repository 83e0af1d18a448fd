// The options of a real script loaded into the engine, with pack files on disk: sizes, load
// errors, the default and custom lists and the option folders settled by the install path check.
#include <gtest/gtest.h>

#include <optional>

#include "ZipBuilder.h"
#include "base/Format.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "script/ScriptLoader.h"
#include "system/Files.h"
#include "system/Folders.h"
#include "system/PathText.h"
#include "base/FakeUserChannel.h"

namespace vek {
namespace {

test::TTestEntry Entry(std::string aName, std::size_t aSize) {
  test::TTestEntry entry;
  entry.Name = std::move(aName);
  entry.Data = std::string(aSize, 'x');
  return entry;
}

constexpr std::int64_t kAppSize = 1500;  // app.zip: app.exe 1000 + app.dll 500
constexpr std::int64_t kDllSize = 500;
constexpr std::int64_t kDocSize = 70;  // doc.zip: readme.txt

const char* const kScript =
    "[System Info]\r\nName=Prod\r\nInstallRoot=Prod\r\n"
    "[IMainOption1]\r\nCaption=Program\r\nRootLib=Program\r\nUserRights=Administrator\r\n"
    "[ISubOption1.1]\r\nCaption=Binaries\r\nSelected=1\r\nPackFile=app.zip\r\n"
    "[ISubOption1.2]\r\nCaption=Libraries\r\nSelected=0\r\nFiles=*.dll\r\nPackFile=app.zip missing.zip\r\n"
    "[IMainOption2]\r\nCaption=Documents\r\nRootLib=Docs\r\nSharedDocuments=1\r\n"
    "[ISubOption2.1]\r\nCaption=Manual\r\nSelected=1\r\nPackFile=broken.zip;doc.zip\r\n";

class OptionsLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = GetTempDir() + "vek_options\\";
    ASSERT_TRUE(ForceDirectories(folder).ok());
    Write("app.zip", test::BuildPack(test::PackOf({Entry("bin/app.exe", 1000), Entry("bin/app.dll", 500)})));
    Write("doc.zip", test::BuildPack(test::PackOf({Entry("readme.txt", 70)})));
    Write("broken.zip", "PK\x03\x04 not an archive at all");
  }
  void TearDown() override {
    for (const char* name : {"app.zip", "doc.zip", "broken.zip", "setup.ini"}) (void)DeleteFileAt(folder + name);
  }

  void Write(const std::string& aName, const std::string& aBytes) {
    (void)DeleteFileAt(folder + aName);
    ASSERT_TRUE(AppendToFile(folder + aName, aBytes).ok());
  }

  // Writes the script and loads its options into a new engine.
  bool Load(const std::string& aScript, int aInstallMode = 1) {
    Write("setup.ini", aScript);
    run.SourceDir = folder;
    engine.emplace(run, &wizard);
    engine->LoadScript(folder + "setup.ini");
    engine->SetInstallMode(aInstallMode);
    // A front end that waits at every page it is shown.
    engine->SetOnStep([this](TSetupEngine& aSender) {
      if (aSender.StepAction() == saUpdate) waitingAt = aSender.Step();
    });
    return ReadOptions();
  }

  // The option step of the run, which stops for the front end once the options are read.
  bool ReadOptions() {
    engine->SetNextStep(StReadInstallIniOptions);
    engine->ExecuteStep();
    return engine->NormalMainOptionList != nullptr;
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const test::TShownMessage& shown : wizard.Messages) texts.push_back(shown.message);
    return texts;
  }

  std::string folder;
  TRunContext run;
  std::optional<TSetupEngine> engine;
  test::TFakeUserChannel wizard{false};
  std::optional<TStepTypes> waitingAt;
};

TEST_F(OptionsLoadTest, LoadsOptionsSubOptionsAndTheirSizes) {
  ASSERT_TRUE(Load(kScript));
  EXPECT_TRUE(Messages().empty());
  TSetupEngine& e = *engine;
  ASSERT_NE(e.NormalMainOptionList, nullptr);
  EXPECT_EQ(e.MainOptionList, e.NormalMainOptionList.get());
  EXPECT_EQ(e.CustomMainOptionList, nullptr);
  const TMainOptionList& list = *e.MainOptionList;
  ASSERT_EQ(list.Count(), 2u);

  const TMainOption& program = *list.Option(0);
  EXPECT_EQ(program.Caption, "Program");
  EXPECT_EQ(program.Path, "\\");
  ASSERT_EQ(program.SubOption.Count(), 2u);
  EXPECT_EQ(program.SubOptionAt(0)->Size, kAppSize);
  EXPECT_EQ(program.SubOptionAt(1)->Size, kDllSize);  // the missing pack adds nothing
  EXPECT_EQ(program.SubOptionAt(1)->State, 0);
  EXPECT_EQ(program.GetState(), 2);

  const TMainOption& documents = *list.Option(1);
  EXPECT_TRUE(documents.IsSharedDocuments());
  ASSERT_EQ(documents.SubOption.Count(), 1u);
  EXPECT_EQ(documents.SubOptionAt(0)->Size, kDocSize);  // the broken pack adds nothing
  EXPECT_EQ(documents.GetState(), 1);

  EXPECT_EQ(e.Installsize(), kAppSize + kDocSize);
}

TEST_F(OptionsLoadTest, UpdateModeReadsTheUpdateSections) {
  ASSERT_TRUE(Load("[UMainOption1]\r\nCaption=Patch\r\n[USubOption1.1]\r\nCaption=Files\r\nSelected=1\r\n"
                   "PackFile=doc.zip\r\n",
                   2));
  ASSERT_EQ(engine->MainOptionList->Count(), 1u);
  EXPECT_TRUE(engine->MainOptionList->Option(0)->SubOptionAt(0)->NewerOnly);
  EXPECT_EQ(engine->Installsize(), kDocSize);
}

struct TLoadErrorCase {
  const char* Script;
  const char* Section;  // named by the message; empty: no message
};

class OptionsLoadErrorTest : public OptionsLoadTest, public ::testing::WithParamInterface<TLoadErrorCase> {};

TEST_P(OptionsLoadErrorTest, FailsAndNamesTheSection) {
  EXPECT_FALSE(Load(GetParam().Script));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], FormatText(LanguageText(47), {GetParam().Section, folder + "setup.ini"}));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, OptionsLoadErrorTest,
    ::testing::Values(TLoadErrorCase{"[IMainOption2]\r\nCaption=Second\r\n", "IMainOption1"},
                      TLoadErrorCase{"[IMainOption1]\r\nCaption=One\r\n[ISubOption1.1]\r\nCaption=\r\n",
                                     "ISubOption1.1"},
                      TLoadErrorCase{"[IMainOption1]\r\nCaption=One\r\n[ISubOption1.1]\r\nCaption=a\r\n"
                                     "[IMainOption2]\r\nCaption=Two\r\n[ISubOption2.2]\r\nCaption=b\r\n",
                                     "ISubOption2.1"}));

TEST_F(OptionsLoadTest, MissingScriptIsReported) {
  run.SourceDir = folder;
  engine.emplace(run, &wizard);
  engine->LoadScript(folder + "absent.ini");
  engine->SetInstallMode(1);
  EXPECT_FALSE(ReadOptions());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(engine->MainOptionList, nullptr);
}

TEST_F(OptionsLoadTest, CustomSelectionIsACopyAndTheDefaultStaysAsLoaded) {
  ASSERT_TRUE(Load(kScript));
  TSetupEngine& e = *engine;
  e.ExecuteUseCustomOptions();
  ASSERT_NE(e.CustomMainOptionList, nullptr);
  EXPECT_EQ(e.MainOptionList, e.CustomMainOptionList.get());
  EXPECT_EQ(waitingAt, stIoptions);

  TMainOption& custom = *e.CustomMainOptionList->Option(0);
  custom.SubOptionAt(0)->State = 0;
  custom.SubOptionAt(1)->State = 2;
  e.ExecuteUseCustomOptions();
  EXPECT_EQ(e.Installsize(), kDllSize + kDocSize);
  EXPECT_EQ(e.NormalMainOptionList->Option(0)->SubOptionAt(0)->State, 1);

  e.ExecuteUseDefaultOptions();
  EXPECT_EQ(e.MainOptionList, e.NormalMainOptionList.get());
  EXPECT_EQ(e.Installsize(), kAppSize + kDocSize);
  EXPECT_EQ(waitingAt, stIconfirm) << ::testing::PrintToString(e.InfoLines());  // the rights of the selection passed (or the step listed why not)
}

TEST_F(OptionsLoadTest, InstallPathCheckGivesEveryOptionItsFolder) {
  ASSERT_TRUE(Load(kScript));
  TSetupEngine& e = *engine;
  run.InstallPath = folder + "target";
  run.InstallRootList = {"Prod"};
  run.InstallRootIndex = 0;
  e.SetNextStep(stCheckWhereTo);
  e.ExecuteStep();
  EXPECT_EQ(waitingAt, stDeftCust);  // the page that waits for default or custom

  const std::string target = GetCurrentDir();
  EXPECT_EQ(e.MainOptionList->Option(0)->Path, JoinPath(JoinPath(target, "Prod"), "Program"));
  std::string shared = GetSpecialFolder(0x002e);
  if (shared.empty()) shared = target;
  EXPECT_EQ(e.MainOptionList->Option(1)->Path, JoinPath(JoinPath(shared, "Prod"), "Docs"));
  // The custom copy made at stDeftCust carries the folders.
  ASSERT_NE(e.CustomMainOptionList, nullptr);
  EXPECT_EQ(e.CustomMainOptionList->Option(1)->Path, e.MainOptionList->Option(1)->Path);
  EXPECT_TRUE(e.CustomMainOptionList->Option(1)->IsSharedDocuments());
  (void)SetCurrentDir(folder);
}

}  // namespace
}  // namespace vek
