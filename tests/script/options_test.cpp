// Selection states, sizes, copies and rights of option records built in memory.
#include <gtest/gtest.h>

#include <limits>

#include "language/LanguageText.h"
#include "script/LoaderRules.h"
#include "script/InstallOptions.h"

namespace vek {
namespace {

std::unique_ptr<TSubOption> Sub(int aState, std::int64_t aSize = 0) {
  auto sub = std::make_unique<TSubOption>();
  sub->State = aState;
  sub->Size = aSize;
  return sub;
}

TMainOption MainWithStates(const std::vector<int>& aStates) {
  TMainOption option;
  for (std::size_t i = 0; i < aStates.size(); ++i) option.SubOption.Add(Sub(aStates[i], 100 << i));
  return option;
}

struct TStateCase {
  std::vector<int> States;
  int State;
  int SelectedCount;
  std::int64_t Size;  // sub-option i has size 100 << i
};

class MainOptionStateTest : public ::testing::TestWithParam<TStateCase> {};

TEST_P(MainOptionStateTest, StateCountAndSizeFollowTheSubOptions) {
  const TStateCase& c = GetParam();
  const TMainOption option = MainWithStates(c.States);
  EXPECT_EQ(option.GetState(), c.State);
  EXPECT_EQ(option.GetSelectedOptions(), c.SelectedCount);
  EXPECT_EQ(option.GetSize(), c.Size);
  EXPECT_EQ(option.Selected(), c.State == 1 || c.State == 2);
}

INSTANTIATE_TEST_SUITE_P(States, MainOptionStateTest,
                         ::testing::Values(TStateCase{{}, -1, 0, 0},            // never selected
                                           TStateCase{{0, 0}, 0, 0, 0},
                                           TStateCase{{1, 1}, 1, 2, 300},
                                           TStateCase{{0, 1}, 2, 1, 200},       // partly
                                           TStateCase{{2}, 2, 1, 100},          // a mask alone: partly
                                           TStateCase{{1, 2}, 2, 2, 300},
                                           TStateCase{{0, 2, 0}, 2, 1, 200}));

TEST(MainOptionList, SelectedSizeCountsOnlySelectedOptions) {
  TMainOptionList list;
  list.Add(std::make_unique<TMainOption>(MainWithStates({1, 0})));  // 100
  list.Add(std::make_unique<TMainOption>(MainWithStates({0, 0})));  // not selected
  list.Add(std::make_unique<TMainOption>(MainWithStates({2, 2})));  // 300
  list.Add(std::make_unique<TMainOption>());                        // no sub-options
  EXPECT_EQ(list.SelectedSize(), 400);
  EXPECT_FALSE(list.AskUserBeforeUpdateGroups());
}

TEST(MainOptionList, SizesAboveFourGibibytesAddUpWithoutWrapping) {
  constexpr std::int64_t kThreeGiB = std::int64_t{3} << 30;
  TMainOption option;
  option.SubOption.Add(Sub(1, kThreeGiB));
  option.SubOption.Add(Sub(1, kThreeGiB));
  EXPECT_EQ(option.GetSize(), 2 * kThreeGiB);

  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  option.SubOption.Add(Sub(1, kMax));
  EXPECT_EQ(option.GetSize(), kMax);  // held at the largest count
  EXPECT_EQ(AddSize(kMax - 1, 5), kMax);
  EXPECT_EQ(AddSize(7, -3), 7);
}

TEST(OptionCopy, MainOptionCopyIsDeepAndIndependent) {
  TMainOption original;
  original.SetIsSharedDocuments(true);
  original.Caption = "Tools";
  original.Describe = "Command-line tools";
  original.Path = "C:\\Prod\\Tools";
  original.RootLib = "Tools";
  original.LibraryAttr = 0x21;
  original.UserRights = rfAdministrator;
  auto sub = Sub(2, 1234);
  sub->Caption = "Binaries";
  sub->Packfile = {"bin.zip", "more bin.zip"};
  sub->DeleteFiles = {"old.dll"};
  sub->Files = "*.dll";
  sub->NewerOnly = true;
  sub->Disk = 3;
  sub->fonBeginCopyCommonFile = [](const std::string&, const std::string&) {};
  original.SubOption.Add(std::move(sub));

  const auto copyItem = original.Copy();
  auto* copy = dynamic_cast<TMainOption*>(copyItem.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(copy->IsSharedDocuments());
  EXPECT_EQ(copy->Caption, "Tools");
  EXPECT_EQ(copy->Describe, "Command-line tools");
  EXPECT_EQ(copy->Path, "C:\\Prod\\Tools");
  EXPECT_EQ(copy->RootLib, "Tools");
  EXPECT_EQ(copy->LibraryAttr, 0x21);
  EXPECT_EQ(copy->UserRights, rfAdministrator);
  ASSERT_EQ(copy->SubOption.Count(), 1u);
  TSubOption* copiedSub = copy->SubOptionAt(0);
  ASSERT_NE(copiedSub, nullptr);
  EXPECT_NE(copiedSub, original.SubOptionAt(0));
  EXPECT_EQ(copiedSub->Caption, "Binaries");
  EXPECT_EQ(copiedSub->Packfile, (std::vector<std::string>{"bin.zip", "more bin.zip"}));
  EXPECT_EQ(copiedSub->DeleteFiles, std::vector<std::string>{"old.dll"});
  EXPECT_EQ(copiedSub->Files, "*.dll");
  EXPECT_EQ(copiedSub->Size, 1234);
  EXPECT_EQ(copiedSub->State, 2);
  EXPECT_TRUE(copiedSub->NewerOnly);
  EXPECT_EQ(copiedSub->Disk, 3);
  EXPECT_FALSE(copiedSub->fonBeginCopyCommonFile);  // the engine sets its own handler

  // The wizard changes the copy's selection; the default selection stays as loaded.
  copiedSub->State = 0;
  EXPECT_EQ(original.GetState(), 2);
  EXPECT_EQ(copy->GetState(), 0);
}

// A record kind that cannot be copied.
class TFixedItem : public TOptionItem {};

TEST(OptionList, AssignReplacesTheContentAndSkipsItemsWithoutCopy) {
  TMainOptionList source;
  source.Add(std::make_unique<TMainOption>(MainWithStates({1})));
  source.Add(std::make_unique<TFixedItem>());
  source.Add(std::make_unique<TMainOption>(MainWithStates({0, 1})));
  source.Add(nullptr);  // ignored

  TMainOptionList target;
  target.Add(std::make_unique<TMainOption>(MainWithStates({1, 1, 1})));
  target.Assign(source);
  ASSERT_EQ(target.Count(), 2u);
  EXPECT_EQ(target.Option(0)->GetState(), 1);
  EXPECT_EQ(target.Option(1)->GetState(), 2);

  target.Assign(target);  // assigning a list to itself keeps it
  EXPECT_EQ(target.Count(), 2u);
  target.Clear();
  EXPECT_EQ(target.Count(), 0u);
  EXPECT_EQ(source.Count(), 3u);
}

TEST(OptionList, ItemsOfAnotherKindAreNotTakenForOptions) {
  TMainOption option;
  option.SubOption.Add(std::make_unique<TFixedItem>());
  EXPECT_EQ(option.SubOptionAt(0), nullptr);
  EXPECT_EQ(option.GetState(), -1);
  EXPECT_EQ(option.GetSize(), 0);
  TMainOptionList list;
  list.Add(std::make_unique<TFixedItem>());
  EXPECT_EQ(list.Option(0), nullptr);
  EXPECT_EQ(list.SelectedSize(), 0);
}

struct TRightsCase {
  std::uint8_t Required;
  TUserRights User;
  bool Passes;
  int TextId;  // 0: no text
};

class OptionRightsTest : public ::testing::TestWithParam<TRightsCase> {};

TEST_P(OptionRightsTest, RequirementAgainstUser) {
  const TRightsCase& c = GetParam();
  TMainOption main;
  main.Caption = "Server";
  main.UserRights = c.Required;
  TSubOption sub;
  sub.Caption = "Server";
  sub.UserRights = c.Required;
  EXPECT_EQ(main.CheckUserRights(c.User), c.Passes);
  EXPECT_EQ(sub.CheckUserRights(c.User), c.Passes);
  const std::string text = c.TextId == 0 ? "" : LanguageText(c.TextId);
  const std::string expected = c.TextId == 0 ? "" : text.substr(0, text.find("%s")) + "Server" +
                                                        text.substr(text.find("%s") + 2);
  EXPECT_EQ(main.NeededUserRightsStr(), expected);
  EXPECT_EQ(sub.NeededUserRightsStr(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rights, OptionRightsTest,
    ::testing::Values(TRightsCase{0, {}, true, 0},
                      TRightsCase{rfPowerUser, {false, true}, true, 213},
                      TRightsCase{rfPowerUser, {true, true}, true, 213},
                      TRightsCase{rfPowerUser, {}, false, 213},
                      TRightsCase{rfAdministrator, {false, true}, false, 212},
                      TRightsCase{rfAdministrator, {true, true}, true, 212},
                      TRightsCase{rfAdministrator | rfPowerUser, {false, true}, false, 212}));

}  // namespace
}  // namespace vek
