// The selection rules of the options page and the sub-option form, their size texts, and the
// rows of the confirmation list, on option records built in memory.
#include <gtest/gtest.h>

#include <limits>

#include "script/ConfirmRows.h"
#include "script/OptionSelection.h"
#include "script/SubOptionSelection.h"

namespace vek {
namespace {

constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kGb = 1024LL * 1024 * 1024;

struct TSubSpec {
  TSubSpec(std::string aFiles, std::int64_t aSize, int aState = 0, std::string aLibAlias = {})
      : Files(std::move(aFiles)), Size(aSize), State(aState), LibAlias(std::move(aLibAlias)) {}
  std::string Files;
  std::int64_t Size;
  int State;
  std::string LibAlias;
};

std::unique_ptr<TMainOption> Main(const std::vector<TSubSpec>& aSubs, const std::string& aPath = "C:\\App") {
  auto main = std::make_unique<TMainOption>();
  main->Caption = "Main";
  main->Path = aPath;
  for (std::size_t j = 0; j < aSubs.size(); ++j) {
    auto sub = std::make_unique<TSubOption>();
    sub->Caption = "Sub" + std::to_string(j);
    sub->Files = aSubs[j].Files;
    sub->Size = aSubs[j].Size;
    sub->State = aSubs[j].State;
    sub->LibAlias = aSubs[j].LibAlias;
    main->SubOption.Add(std::move(sub));
  }
  return main;
}

std::vector<int> States(const TMainOption& aOption) {
  std::vector<int> states;
  for (std::size_t j = 0; j < aOption.SubOption.Count(); ++j) states.push_back(aOption.SubOptionAt(j)->State);
  return states;
}

std::vector<int> States(const TSubOptionSelection& aSelection) {
  std::vector<int> states;
  for (std::size_t j = 0; j < aSelection.Count(); ++j) states.push_back(aSelection.Item(j).State);
  return states;
}

// ---- the options page ----

struct TToggleCase {
  const char* Name;
  std::vector<TSubSpec> Subs;
  std::int64_t TotalBefore;
  TToggleOutcome Outcome;
  std::vector<int> StatesAfter;
  std::int64_t TotalAfter;
};

class ToggleMainOptionTest : public ::testing::TestWithParam<TToggleCase> {};

TEST_P(ToggleMainOptionTest, ChangesStatesAndTotal) {
  const TToggleCase& c = GetParam();
  auto option = Main(c.Subs);
  std::int64_t total = c.TotalBefore;
  EXPECT_EQ(ToggleMainOption(*option, total), c.Outcome);
  EXPECT_EQ(States(*option), c.StatesAfter);
  EXPECT_EQ(total, c.TotalAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToggleMainOptionTest,
    ::testing::Values(
        TToggleCase{"NoSubOptions", {}, 7, TToggleOutcome::None, {}, 7},
        TToggleCase{"OneWithAllFiles", {{"*.*", 100}}, 7, TToggleOutcome::Selected, {1}, 107},
        // A file list alone selects a subset: the option shows as partly selected.
        TToggleCase{"OneWithFileList", {{"*.dll", 100}}, 0, TToggleOutcome::Selected, {2}, 100},
        TToggleCase{"AllFilesAmongOthers", {{"*.*;*.txt", 100}}, 0, TToggleOutcome::Selected, {1}, 100},
        TToggleCase{"SeveralOpenTheForm", {{"*.*", 1}, {"*.*", 2}}, 5, TToggleOutcome::OpenSubOptions, {0, 0}, 5},
        // Clearing also clears what the form selected, subsets included.
        TToggleCase{"ClearsEverySubOption", {{"*.*", 10, 1}, {"*.a", 20, 2}, {"*.*", 40, 0}}, 100,
                    TToggleOutcome::Cleared, {0, 0, 0}, 70},
        TToggleCase{"ClearNeverBelowZero", {{"*.*", 10, 1}}, 3, TToggleOutcome::Cleared, {0}, 0},
        TToggleCase{"HugeSizesHoldAtTheTop", {{"*.*", kMost}}, kMost, TToggleOutcome::Selected, {1}, kMost},
        TToggleCase{"AboveFourGigabytes", {{"*.*", 5 * kGb}}, 3 * kGb, TToggleOutcome::Selected, {1}, 8 * kGb}),
    [](const auto& aInfo) { return std::string(aInfo.param.Name); });

TEST(OptionSelectionTest, ResizedTotalSwapsTheOldSizeForTheNew) {
  auto option = Main({{"*.*", 10, 1}, {"*.*", 20, 1}});
  EXPECT_EQ(ResizedTotal(100, 5, *option), 125);
  EXPECT_EQ(ResizedTotal(3, 5, *option), 30);  // never below zero on the way
}

TEST(OptionSelectionTest, ChangedFolderClearsFolderAliasesOnlyWhenItDiffers) {
  auto option = Main({{"*.*", 1, 1, "D:\\Old\\bin"}, {"*.*", 1, 0, "D:\\Old\\doc"}});
  EXPECT_FALSE(ChangeOptionPath(*option, "c:\\app"));  // same folder in other letter case
  EXPECT_EQ(option->SubOptionAt(0)->LibAlias, "D:\\Old\\bin");
  EXPECT_TRUE(ChangeOptionPath(*option, "E:\\New"));
  EXPECT_EQ(option->Path, "E:\\New");
  EXPECT_EQ(option->SubOptionAt(0)->LibAlias, "");
  EXPECT_EQ(option->SubOptionAt(1)->LibAlias, "");
}

struct TKbCase {
  std::int64_t Bytes;
  const char* Separator;
  const char* Text;
};

class FormatKbTest : public ::testing::TestWithParam<TKbCase> {};

TEST_P(FormatKbTest, OneDecimalRoundedWithTheSeparator) {
  EXPECT_EQ(FormatKb(GetParam().Bytes, GetParam().Separator), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatKbTest,
                         ::testing::Values(TKbCase{0, ".", "0.0"}, TKbCase{1024, ".", "1.0"},
                                           TKbCase{1536, ",", "1,5"},       // the user's separator
                                           TKbCase{51, ".", "0.0"},         // 0.0498
                                           TKbCase{52, ".", "0.1"},         // 0.0508
                                           TKbCase{1024 + 973, ".", "2.0"},  // 1.9502 rounds into the next unit
                                           TKbCase{5 * kGb, ".", "5242880.0"},
                                           TKbCase{kMost, ".", "9007199254740992.0"},
                                           TKbCase{-1536, ".", "-1.5"}));

// ---- the sub-option form ----

TEST(SubOptionSelectionTest, WorksOnACopyUntilWriteBack) {
  auto option = Main({{"*.*", 10, 0}, {"*.dll", 20, 0}});
  TSubOptionSelection selection(*option, 5);
  selection.Toggle(0);
  selection.Toggle(1);
  ASSERT_TRUE(selection.SetFiles(0, "*.exe"));
  EXPECT_EQ(States(*option), (std::vector<int>{0, 0}));  // a cancelled form leaves it so
  EXPECT_EQ(option->SubOptionAt(0)->Files, "*.*");
  selection.WriteBack(*option);
  EXPECT_EQ(States(*option), (std::vector<int>{2, 2}));
  EXPECT_EQ(option->SubOptionAt(0)->Files, "*.exe");
  EXPECT_EQ(option->SubOption.Count(), 2u);
}

struct TFormCase {
  const char* Name;
  std::vector<TSubSpec> Subs;
  void (*Act)(TSubOptionSelection&);
  std::vector<int> StatesAfter;
  std::int64_t TotalAfter;  // the total starts at 1000
};

class SubOptionFormRulesTest : public ::testing::TestWithParam<TFormCase> {};

TEST_P(SubOptionFormRulesTest, StatesAndTotal) {
  const TFormCase& c = GetParam();
  auto option = Main(c.Subs);
  TSubOptionSelection selection(*option, 1000);
  c.Act(selection);
  EXPECT_EQ(States(selection), c.StatesAfter);
  EXPECT_EQ(selection.Total(), c.TotalAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SubOptionFormRulesTest,
    ::testing::Values(
        // A click asks whether "*.*" occurs in the patterns, Select all whether they are exactly "*.*".
        TFormCase{"ClickAllFilesAmongOthers", {{"*.*;*.txt", 10}}, [](TSubOptionSelection& s) { s.Toggle(0); }, {1}, 1010},
        TFormCase{"SelectAllAllFilesAmongOthers", {{"*.*;*.txt", 10}}, [](TSubOptionSelection& s) { s.SelectAll(); }, {2},
                  1010},
        TFormCase{"ClickSubset", {{"*.dll", 10}}, [](TSubOptionSelection& s) { s.Toggle(0); }, {2}, 1010},
        TFormCase{"ClickClears", {{"*.*", 10, 1}}, [](TSubOptionSelection& s) { s.Toggle(0); }, {0}, 990},
        // Rows already selected keep their state and are not counted twice.
        TFormCase{"SelectAllKeepsSelectedRows", {{"*.*", 10, 2}, {"*.*", 20, 0}, {"*.x", 40, 0}},
                  [](TSubOptionSelection& s) { s.SelectAll(); }, {2, 1, 2}, 1060},
        TFormCase{"ClearAll", {{"*.*", 10, 1}, {"*.x", 20, 2}, {"*.*", 40, 0}},
                  [](TSubOptionSelection& s) { s.ClearAll(); }, {0, 0, 0}, 970},
        // The total is 64-bit: above 2 and 4 GB it neither wraps nor turns negative.
        TFormCase{"TotalAboveFourGigabytes", {{"*.*", 3 * kGb}, {"*.*", 2 * kGb}},
                  [](TSubOptionSelection& s) { s.SelectAll(); }, {1, 1}, 5 * kGb + 1000},
        TFormCase{"PatternsOfAnUnselectedRowKeepItUnselected", {{"*.*", 10}},
                  [](TSubOptionSelection& s) { EXPECT_TRUE(s.SetFiles(0, "*.txt")); }, {0}, 1000},
        TFormCase{"PatternsOfASelectedRowGiveItsState", {{"*.*", 10, 1}, {"*.a", 10, 2}},
                  [](TSubOptionSelection& s) {
                    EXPECT_TRUE(s.SetFiles(0, "*.txt"));
                    EXPECT_TRUE(s.SetFiles(1, "x.ini;*.*"));
                  },
                  {2, 1}, 1000},
        TFormCase{"RefusedPatternsChangeNothing", {{"*.*", 10, 1}},
                  [](TSubOptionSelection& s) {
                    EXPECT_FALSE(s.SetFiles(0, "a|b"));
                    EXPECT_EQ(s.Item(0).Files, "*.*");
                  },
                  {1}, 1000}),
    [](const auto& aInfo) { return std::string(aInfo.param.Name); });

struct TPatternCase {
  const char* Patterns;
  bool Valid;
};

class PatternListTest : public ::testing::TestWithParam<TPatternCase> {};

TEST_P(PatternListTest, EveryPatternMustBeAFileName) {
  EXPECT_EQ(IsValidPatternList(GetParam().Patterns), GetParam().Valid) << GetParam().Patterns;
}

INSTANTIATE_TEST_SUITE_P(Cases, PatternListTest,
                         ::testing::Values(TPatternCase{"*.*", true}, TPatternCase{"*.dll;*.exe", true},
                                           TPatternCase{"read?e.txt", true}, TPatternCase{"*.dll;;*.exe", true},
                                           TPatternCase{"*.dll;", true}, TPatternCase{"Файл*.txt", true},
                                           TPatternCase{"a|b", false}, TPatternCase{"*.dll;a<b", false},
                                           TPatternCase{"bin\\*.dll", false}, TPatternCase{"c:*.*", false},
                                           TPatternCase{"\"x\"", false}, TPatternCase{"a/b", false},
                                           TPatternCase{"tab\there", false}, TPatternCase{"name ", false},
                                           TPatternCase{"..", false},
                                           // Nothing to install at all is refused too.
                                           TPatternCase{"", false}, TPatternCase{";;", false}));

TEST(SubOptionRowTextTest, SubsetShowsItsPatternsAndAnUpperBound) {
  TSubOption sub;
  sub.Size = 2048;
  sub.Files = "*.dll";
  const TSubOptionRowText subset = SubOptionRowText(sub, "Tools", ",");
  EXPECT_EQ(subset.Caption, "Tools (*.dll)");
  EXPECT_EQ(subset.Size, "<2,0 Kb");
  sub.Files = "*.*;*.txt";
  const TSubOptionRowText all = SubOptionRowText(sub, "Tools", ".");
  EXPECT_EQ(all.Caption, "Tools");
  EXPECT_EQ(all.Size, "2.0 Kb");
}

// ---- the confirmation list ----

TEST(ConfirmRowsTest, SelectedOptionsThenTheirSelectedSubOptions) {
  TMainOptionList options;
  options.Add(Main({{"*.*", 1, 1}, {"*.*", 1, 0}, {"*.x", 1, 2}}));
  options.Add(Main({{"*.*", 1, 0}}));  // nothing selected: no rows
  options.Add(std::make_unique<TMainOption>());  // no sub-options: never selected
  options.Add(Main({{"*.*", 1, 0}, {"*.*", 1, 1}}));
  EXPECT_EQ(ConfirmRowTexts(options), (std::vector<std::string>{"0", "0.0", "0.2", "3", "3.1"}));
}

struct TRowCase {
  const char* Text;
  bool Valid;
  std::size_t Main;
  std::optional<std::size_t> Sub;
};

class ParseConfirmRowTest : public ::testing::TestWithParam<TRowCase> {};

TEST_P(ParseConfirmRowTest, ReadsTheIndexes) {
  const TRowCase& c = GetParam();
  const std::optional<TConfirmRow> row = ParseConfirmRow(c.Text);
  ASSERT_EQ(row.has_value(), c.Valid) << c.Text;
  if (!row) return;
  EXPECT_EQ(row->Main, c.Main);
  EXPECT_EQ(row->Sub, c.Sub);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseConfirmRowTest,
                         ::testing::Values(TRowCase{"0", true, 0, std::nullopt}, TRowCase{"12.3", true, 12, 3},
                                           TRowCase{"299.0", true, 299, 0}, TRowCase{"", false, 0, std::nullopt},
                                           TRowCase{"1.", false, 0, std::nullopt},
                                           TRowCase{".1", false, 0, std::nullopt},
                                           TRowCase{"1.2.3", false, 0, std::nullopt},
                                           TRowCase{"-1", false, 0, std::nullopt},
                                           TRowCase{"x", false, 0, std::nullopt}));

}  // namespace
}  // namespace vek
