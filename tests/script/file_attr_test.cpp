// File-attribute commands: the reading of FileAttr<n> values, the attributes a file gets, which
// items run at which moment, and how a sub-option loads and copies them.
#include <gtest/gtest.h>

#include "base/FakeUserChannel.h"
#include "script/FileAttrOptions.h"
#include "script/InstallOptions.h"
#include "script/ScriptFile.h"

namespace vek {
namespace {

using test::TFakeUserChannel;

struct TParseCase {
  const char* Value;
  TFileAttrModes Mode;
  bool BeforeUnzip;
  std::uint32_t Attr;
  std::vector<std::string> Files;
  bool Reported;  // the syntax error is shown
};

void PrintTo(const TParseCase& aCase, std::ostream* aOut) { *aOut << '"' << aCase.Value << '"'; }

class FileAttrParseTest : public ::testing::TestWithParam<TParseCase> {};

TEST_P(FileAttrParseTest, ValueGivesModeMomentBitsAndFiles) {
  const TParseCase& c = GetParam();
  TFakeUserChannel channel;
  const TFileAttrOptionItem item(c.Value, &channel);
  EXPECT_EQ(item.fMode, c.Mode);
  EXPECT_EQ(item.fBeforeUnzip, c.BeforeUnzip);
  EXPECT_EQ(item.fFileAttr, c.Attr);
  EXPECT_EQ(item.fFilelist, c.Files);
  EXPECT_EQ(channel.Messages.size(), c.Reported ? 1u : 0u);
}

using Files = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(Modes, FileAttrParseTest,
                         ::testing::Values(TParseCase{"0,-1,*.ini", faSub, false, 1, Files{"*.ini"}, false},
                                           TParseCase{"1,+1,*.ini", faAdd, true, 1, Files{"*.ini"}, false},
                                           TParseCase{"1,0,a.txt", faSet, true, 0, Files{"a.txt"}, false},
                                           TParseCase{" 1 ,+3,a.txt;b.txt", faAdd, true, 3,
                                                      Files{"a.txt", "b.txt"}, false},
                                           // Only "1" means before; other numbers and words mean after.
                                           TParseCase{"2,+1,a", faAdd, false, 1, Files{"a"}, false},
                                           TParseCase{"yes,+1,a", faAdd, false, 1, Files{"a"}, false},
                                           TParseCase{"01,+1,a", faAdd, false, 1, Files{"a"}, false}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, FileAttrParseTest,
    ::testing::Values(TParseCase{"0,$21,a", faSet, false, 0x21, Files{"a"}, false},
                      TParseCase{"0,+0x22,a", faAdd, false, 0x22, Files{"a"}, false},
                      TParseCase{"0,-0X3,a", faSub, false, 3, Files{"a"}, false},
                      TParseCase{"0,$FFFFFFFF,a", faSet, false, 0xFFFFFFFFu, Files{"a"}, false},
                      TParseCase{"0,4294967295,a", faSet, false, 0xFFFFFFFFu, Files{"a"}, false},
                      // Beyond 32 bits, signed, empty or not a number: reported, kept disabled
                      // with its files, never applied.
                      TParseCase{"0,4294967296,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,$100000000,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,99999999999999999999999,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,+-1,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,--1,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,++1,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,+a,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,+,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,$,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,0x,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,$G,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,1.5,a", faError, false, 0, Files{"a"}, true},
                      TParseCase{"0,\"\",a", faError, false, 0, Files{"a"}, true}));

INSTANTIATE_TEST_SUITE_P(
    Splitting, FileAttrParseTest,
    ::testing::Values(
        // Fewer than three parts: nothing is read, nothing is done, nothing is reported.
        TParseCase{"", faAdd, false, 0, Files{}, false}, TParseCase{"   ", faAdd, false, 0, Files{}, false},
        TParseCase{"1+1*.ini", faAdd, false, 0, Files{}, false},
        TParseCase{"1,+x", faAdd, false, 0, Files{}, false}, TParseCase{",", faAdd, false, 0, Files{}, false},
        // Only separators: empty parts, an empty number.
        TParseCase{",,", faError, false, 0, Files{}, true},
        TParseCase{" , , , ", faError, false, 0, Files{}, true},
        // A blank separates parts as a comma does: the files part ends at it.
        TParseCase{"1 +1 a.txt", faAdd, true, 1, Files{"a.txt"}, false},
        TParseCase{"0,+1,a.txt; b.txt", faAdd, false, 1, Files{"a.txt"}, false},
        // Quoted, a part keeps its blanks and commas.
        TParseCase{"0,+1,\"my file.txt; b.txt\"", faAdd, false, 1, Files{"my file.txt", "b.txt"}, false},
        TParseCase{"\"1\",\"+2\",\"a,b.txt\"", faAdd, true, 2, Files{"a,b.txt"}, false},
        // Empty names would name the folder itself: dropped.
        TParseCase{"0,+1,;a;;b;", faAdd, false, 1, Files{"a", "b"}, false},
        TParseCase{"0,+1,;", faAdd, false, 1, Files{}, false},
        // Parts beyond the third are not read.
        TParseCase{"0,+1,a,b", faAdd, false, 1, Files{"a"}, false}));

TEST(FileAttrItem, SyntaxErrorNamesThePartAndTheValue) {
  TFakeUserChannel channel(true);
  const TFileAttrOptionItem item("1,+x, *.ini", &channel);
  ASSERT_EQ(channel.Messages.size(), 1u);
  EXPECT_EQ(channel.Messages[0].caption, "Setup error");
  EXPECT_EQ(channel.Messages[0].message,
            "Syntax error: fileattr = +x, is not a valid number!&&(1,+x, *.ini)");
  EXPECT_EQ(channel.Messages[0].type, mtError);
  EXPECT_FALSE(item.Active());
}

TEST(FileAttrItem, WithoutChannelNothingIsReported) {
  const TFileAttrOptionItem item("1,+x,a", nullptr);
  EXPECT_EQ(item.fMode, faError);
  EXPECT_FALSE(item.fShowErrors);
}

TEST(FileAttrItem, RereadingReplacesTheFilesAndLeavesNoError) {
  TFileAttrOptionItem item("1,+x,a;b", nullptr);
  item.SetFromIniFileValue("0,-2,c");
  EXPECT_EQ(item.fMode, faSub);
  EXPECT_EQ(item.fFileAttr, 2u);
  EXPECT_EQ(item.fFilelist, Files{"c"});
  EXPECT_TRUE(item.Active());
  item.SetFromIniFileValue("");
  EXPECT_FALSE(item.Active());
}

struct TNewAttrCase {
  const char* Value;
  std::uint32_t Old;
  std::optional<std::uint32_t> New;  // nothing: nothing is written
};

class FileAttrNewTest : public ::testing::TestWithParam<TNewAttrCase> {};

TEST_P(FileAttrNewTest, AttributesAFileGets) {
  const TNewAttrCase& c = GetParam();
  EXPECT_EQ(TFileAttrOptionItem(c.Value, nullptr).NewAttributes(c.Old), c.New);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FileAttrNewTest,
    ::testing::Values(TNewAttrCase{"0,+1,a", 0x20, 0x21}, TNewAttrCase{"0,+1,a", 0x21, std::nullopt},
                      TNewAttrCase{"0,+3,a", 0x21, 0x23}, TNewAttrCase{"0,-1,a", 0x21, 0x20},
                      TNewAttrCase{"0,-1,a", 0x20, std::nullopt}, TNewAttrCase{"0,-$27,a", 0x23, 0x00},
                      // Set writes exactly the number, also when it is what the file has.
                      TNewAttrCase{"0,0,a", 0x27, 0x00}, TNewAttrCase{"0,2,a", 0x02, 0x02},
                      TNewAttrCase{"0,+x,a", 0x20, std::nullopt}));

TEST(FileAttrNames, KnownBitsInOrderOthersLeftOut) {
  EXPECT_EQ(FileAttrNames(0x37), "read-only, hidden, system, directory, archive");
  EXPECT_EQ(FileAttrNames(0x21), "read-only, archive");
  EXPECT_EQ(FileAttrNames(0x08), "");
  EXPECT_EQ(FileAttrNames(0), "");
}

TEST(FileAttrList, EachMomentGetsItsItemsInOrderAndErrorsNever) {
  TFileAttrOptionList list;
  list.Add(std::make_unique<TFileAttrOptionItem>("1,+1,first", nullptr));
  list.Add(std::make_unique<TFileAttrOptionItem>("0,+2,second", nullptr));
  list.Add(std::make_unique<TFileAttrOptionItem>("1,+x,broken", nullptr));
  list.Add(std::make_unique<TFileAttrOptionItem>("1,-4,third", nullptr));
  std::vector<std::string> seen;
  const auto record = [&](const TFileAttrOptionItem& aItem) {
    seen.push_back(aItem.fFilelist.front());
    return aItem.fFilelist.front() != "third";
  };
  EXPECT_FALSE(list.SetBeforeUnzipItems(record));  // "third" failed
  EXPECT_EQ(seen, (Files{"first", "third"}));
  seen.clear();
  EXPECT_TRUE(list.SetAfterUnzipItems(record));
  EXPECT_EQ(seen, Files{"second"});
  EXPECT_TRUE(TFileAttrOptionList().SetBeforeUnzipItems(record));
}

TEST(FileAttrList, SubOptionCopiesOwnTheirItems) {
  TSubOption sub;
  sub.FileAttrList.Add(std::make_unique<TFileAttrOptionItem>("1,+1,a", nullptr));
  const std::unique_ptr<TOptionItem> copy = sub.Copy();
  sub.FileAttrList.Item(0)->fFileAttr = 4;
  sub.FileAttrList.Clear();
  const auto* copied = dynamic_cast<const TSubOption*>(copy.get());
  ASSERT_NE(copied, nullptr);
  ASSERT_EQ(copied->FileAttrList.Count(), 1u);
  EXPECT_EQ(copied->FileAttrList.Item(0)->fFileAttr, 1u);
  EXPECT_EQ(copied->FileAttrList.Item(0)->fFilelist, Files{"a"});
}

class FileAttrLoadTest : public ::testing::Test {
 protected:
  TSubOption Load(const std::string& aKeys) {
    script.Open("setup.ini", "[ISubOption1.1]\r\nCaption=Core\r\nFileAttr=1\r\n" + aKeys,
                [](std::string_view a) { return std::string(a); });
    settings.Channel = &channel;
    TSubOption sub;
    EXPECT_TRUE(sub.LoadFromIniFile(script, "ISubOption1.1", settings));
    return sub;
  }

  TFakeUserChannel channel{true};
  TOptionLoadSettings settings;
  TScriptFile script;
};

TEST_F(FileAttrLoadTest, NumberedKeysUpToTheFirstEmptyOne) {
  const TSubOption sub =
      Load("FileAttr1=1,+1,*.ini\r\nFileAttr2=0,-1,*.ini\r\nFileAttr3=\r\nFileAttr4=0,0,x\r\n");
  EXPECT_EQ(sub.FileAttr, 1);  // the unnumbered key keeps its own meaning
  ASSERT_EQ(sub.FileAttrList.Count(), 2u);
  EXPECT_TRUE(sub.FileAttrList.Item(0)->fBeforeUnzip);
  EXPECT_EQ(sub.FileAttrList.Item(1)->fMode, faSub);
}

TEST_F(FileAttrLoadTest, FirstKeyEmptyMeansNone) {
  EXPECT_EQ(Load("FileAttr2=0,0,x\r\n").FileAttrList.Count(), 0u);
}

TEST_F(FileAttrLoadTest, BadNumberIsReportedAndKeptDisabledWhileTheSubOptionLoads) {
  const TSubOption sub = Load("FileAttr1=1,+A,*.ini\r\nFileAttr2=0,+1,b\r\nDescribe=after\r\n");
  ASSERT_EQ(channel.Messages.size(), 1u);
  EXPECT_EQ(channel.Messages[0].message, "Syntax error: fileattr = +A, is not a valid number!&&(1,+A,*.ini)");
  ASSERT_EQ(sub.FileAttrList.Count(), 2u);
  EXPECT_EQ(sub.FileAttrList.Item(0)->fMode, faError);
  EXPECT_EQ(sub.FileAttrList.Item(1)->fMode, faAdd);
  EXPECT_EQ(sub.Describe, "after");
}

}  // namespace
}  // namespace vek
