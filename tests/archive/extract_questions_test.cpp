// What the extraction asks and reports: read-only targets, attribute changes, damaged and
// hostile entries, unreadable packs and a cleanup record that cannot be written.
#include <algorithm>

#include "ExtractFixture.h"
#include "base/Format.h"
#include "language/LanguageText.h"
#include "system/FileAttributes.h"

namespace vek::test {
namespace {

std::uint32_t AttributesOf(const std::string& aPath) {
  std::uint32_t attributes = 0;
  EXPECT_TRUE(GetFileAttributesAt(aPath, attributes).ok());
  return attributes;
}

class ReadOnlyTargetTest : public ExtractTest {
 protected:
  void SetUp() override {
    ExtractTest::SetUp();
    WriteBytes(Target("a.txt"), "old");
    ASSERT_TRUE(SetFileAttributesAt(TargetUtf8("a.txt"), kAttrReadOnly).ok());
    fPack = WritePack(PackOf({EntryOf("a.txt", "new"), EntryOf("b.txt", "bbb")}));
  }
  void TearDown() override {
    (void)SetFileAttributesAt(TargetUtf8("a.txt"), 0x80);
    ExtractTest::TearDown();
  }
  std::string fPack;
};

TEST_F(ReadOnlyTargetTest, SilentRunSkipsAndLogsTheQuestionWithItsSilentAnswer) {
  // The run's real silent channel, writing the same log as the monitor.
  TSilentChannel silent([this](const std::string& aLine) { fLog.push_back(aLine); });
  fMonitor.SetChannel(&silent);
  Extract(fPack);
  EXPECT_EQ(ReadBytes(Target("a.txt")), "old");
  EXPECT_EQ(ReadBytes(Target("b.txt")), "bbb");
  EXPECT_TRUE(LogHas("ReadOnly Error"));
  EXPECT_TRUE(LogHas(TargetUtf8("a.txt")));
  const auto question = std::find_if(fLog.begin(), fLog.end(), [](const std::string& aLine) {
    return aLine.rfind("Question \"" + LanguageText(109) + "\": ", 0) == 0;
  });
  ASSERT_NE(question, fLog.end());
  EXPECT_NE(question->find("ReadOnly Error"), std::string::npos);
  EXPECT_NE(question->find(" [" + WithoutAccelerator(LanguageText(185)) + "/" + WithoutAccelerator(LanguageText(132)) +
                           "/" + WithoutAccelerator(LanguageText(133)) + "]"),
            std::string::npos);
  ASSERT_NE(question + 1, fLog.end());
  EXPECT_EQ(*(question + 1), "Answer: " + WithoutAccelerator(LanguageText(185)) + " (silent)");
}

TEST_F(ReadOnlyTargetTest, AskedWithTheButtonsTheQuestionNames) {
  fChannel.Answers = {1};
  Extract(fPack);
  ASSERT_EQ(fChannel.Questions.size(), 1u);
  const TQuestion& question = fChannel.Questions[0];
  EXPECT_EQ(question.buttons, (std::vector<std::string>{LanguageText(185), LanguageText(132), LanguageText(133)}));
  EXPECT_EQ(question.silentAnswer, 1);  // skip
  EXPECT_EQ(question.type, mtError);
}

TEST_F(ReadOnlyTargetTest, ClearingTheReadOnlyBitFirstAsksNothingAndSetsItAfterwards) {
  TExtractCall call;
  call.FileAttr = kAttrReadOnly;
  Extract(fPack, call);
  EXPECT_EQ(ReadBytes(Target("a.txt")), "new");
  EXPECT_TRUE(fChannel.Questions.empty());
  EXPECT_EQ(AttributesOf(TargetUtf8("a.txt")) & (kAttrReadOnly | 0x20), kAttrReadOnly | 0x20u);
  EXPECT_EQ(AttributesOf(TargetUtf8("b.txt")) & kAttrReadOnly, kAttrReadOnly);
}

TEST_F(ReadOnlyTargetTest, AKeptFileKeepsTheAttributesItHad) {
  WriteBytes(Target("b.txt"), "present");
  TExtractCall call;
  call.FileAttr = kAttrReadOnly;
  call.UnpackMode = umMissingOnly;
  Extract(fPack, call);
  EXPECT_EQ(ReadBytes(Target("a.txt")), "old");
  EXPECT_EQ(AttributesOf(TargetUtf8("a.txt")) & kAttrReadOnly, kAttrReadOnly);
}

struct TAnswerCase {
  std::vector<int> Answers;
  std::size_t Questions;
  bool Aborted;
  bool SecondExtracted;
};

class ReadOnlyAnswerTest : public ReadOnlyTargetTest, public testing::WithParamInterface<TAnswerCase> {};

TEST_P(ReadOnlyAnswerTest, SkipRetryAndAbort) {
  fChannel.Answers.assign(GetParam().Answers.begin(), GetParam().Answers.end());
  Extract(fPack);
  ASSERT_EQ(fChannel.Questions.size(), GetParam().Questions);
  for (const TQuestion& dialog : fChannel.Questions) {
    EXPECT_EQ(dialog.caption, LanguageText(109));
    EXPECT_EQ(dialog.buttons.size(), 3u);
    EXPECT_NE(dialog.message.find("ReadOnly Error"), std::string::npos);
  }
  EXPECT_EQ(fMonitor.AbortFlag, GetParam().Aborted);
  EXPECT_EQ(ReadBytes(Target("a.txt")), "old");
  EXPECT_EQ(fs::exists(Target("b.txt")), GetParam().SecondExtracted);
}

INSTANTIATE_TEST_SUITE_P(Answers, ReadOnlyAnswerTest,
                         testing::Values(TAnswerCase{{1}, 1, false, true},         // skip
                                         TAnswerCase{{2, 2, 1}, 3, false, true},   // retry twice, skip
                                         TAnswerCase{{2, 3}, 2, true, false},      // retry, abort
                                         TAnswerCase{{0}, 1, false, true}));       // closed: skip

TEST_F(ReadOnlyTargetTest, RetryAfterTheUserClearedTheBitExtracts) {
  fChannel.Answers = {2};
  fChannel.OnAsk = [this](const TQuestion&) { (void)SetFileAttributesAt(TargetUtf8("a.txt"), 0x80); };
  Extract(fPack);
  EXPECT_EQ(fChannel.Questions.size(), 1u);
  EXPECT_EQ(ReadBytes(Target("a.txt")), "new");
}

TEST_F(ExtractTest, BadCrcAsksAndRetriesTheSameEntry) {
  // The headers describe "abc"; the stored bytes are "abd".
  TTestEntry damaged = EntryOf("a.txt", "abc");
  damaged.Compressed = "abd";
  fChannel.Answers = {2, 1};
  Extract(WritePack(PackOf({damaged, EntryOf("b.txt", "bbb")})));
  const std::vector<TQuestion>& asked = fChannel.Questions;
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_NE(asked[0].message.find("CRC Error"), std::string::npos);
  EXPECT_NE(asked[0].message.find(FormatText("expected CRC = %x ", {Crc32("abc")})), std::string::npos);
  EXPECT_EQ(asked[0].message, asked[1].message);
  EXPECT_TRUE(LogHas("BAD CRC:  " + TargetUtf8("a.txt")));
  EXPECT_FALSE(fs::exists(Target("a.txt")));
  // Both were recorded before extraction began; the discarded one simply does not exist.
  EXPECT_EQ(Recorded(), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST_F(ExtractTest, HostileEntryIsSkippedAndLogged) {
  fChannel.SetSilent(true);
  Extract(WritePack(PackOf({EntryOf("../escape.txt", "evil"), EntryOf("ok.txt", "fine")})), {{"*"}});
  ASSERT_EQ(fChannel.Questions.size(), 1u);
  EXPECT_EQ(fChannel.Questions[0].silentAnswer, 1);  // skipped
  EXPECT_TRUE(LogHas("Unsafe name"));
  EXPECT_TRUE(LogHas("Entry name leaves the target folder"));
  EXPECT_FALSE(fs::exists(fDest.Path().parent_path() / "escape.txt"));
  EXPECT_EQ(Recorded(), std::vector<std::string>{"ok.txt"});
}

TEST_F(ExtractTest, HostileEntryDoesNotLeadAttributeChangesOutsideTheFolder) {
  const fs::path outside = fDest.Path().parent_path() / (fDest.Path().filename().string() + "-outside.txt");
  WriteBytes(outside, "keep");
  ASSERT_TRUE(SetFileAttributesAt(Utf8Path(outside), kAttrReadOnly).ok());
  TExtractCall call;
  call.FileAttr = kAttrReadOnly;
  Extract(WritePack(PackOf({EntryOf("../" + outside.filename().string(), "evil")})), call);
  EXPECT_EQ(AttributesOf(Utf8Path(outside)) & kAttrReadOnly, kAttrReadOnly);
  EXPECT_EQ(ReadBytes(outside), "keep");
  ASSERT_EQ(fChannel.Questions.size(), 1u);
  EXPECT_NE(fChannel.Questions[0].message.find("Unsafe name"), std::string::npos);
  (void)SetFileAttributesAt(Utf8Path(outside), 0x80);
  fs::remove(outside);
}

class UnreadablePackTest : public ExtractTest, public testing::WithParamInterface<bool> {};

TEST_P(UnreadablePackTest, OneMessageAndNoFiles) {
  fChannel.SetSilent(GetParam());
  WriteBytes(fPackFolder.Path() / "pack.zip", "this is not a pack at all");
  Extract(Utf8Path(fPackFolder.Path() / "pack.zip"));
  EXPECT_TRUE(Files().empty());
  ASSERT_EQ(fChannel.Messages.size(), 1u);
  ASSERT_EQ(fLog.size(), 1u);
  EXPECT_NE(fLog[0].find("pack.zip"), std::string::npos);
  EXPECT_NE(fLog[0].find("\r("), std::string::npos);
  EXPECT_EQ(fChannel.Messages[0].caption, LanguageText(138));
  EXPECT_EQ(fChannel.Messages[0].message, fLog[0]);
  EXPECT_FALSE(fMonitor.AbortFlag);
}

INSTANTIATE_TEST_SUITE_P(Silent, UnreadablePackTest, testing::Bool());

TEST_F(ExtractTest, CleanupWriteFailureIsReportedOncePerRun) {
  fCleanup.Refuse = true;
  const std::string pack = WritePack(PackOf({EntryOf("a.txt", "aaa"), EntryOf("b.txt", "bbb")}));
  Extract(pack);
  Extract(pack);
  EXPECT_TRUE(fCleanupErrorShown);
  ASSERT_EQ(fChannel.Messages.size(), 1u);
  EXPECT_EQ(fChannel.Messages[0].caption, LanguageText(181));
  EXPECT_NE(fChannel.Messages[0].message.find("C:\\cleanup.ini"), std::string::npos);
  EXPECT_EQ(ReadBytes(Target("b.txt")), "bbb");
}

}  // namespace
}  // namespace vek::test
