// Info pages, agreements and the installation-kind condition they share with external programs:
// plain logic over scripts in memory.
#include <gtest/gtest.h>

#include "base/Format.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/Agreements.h"
#include "script/InfoPages.h"
#include "script/NetShow.h"
#include "script/ScriptText.h"

namespace vek {
namespace {

TScriptFile Script(const std::string& aText) {
  TScriptFile script;
  script.Open("setup.ini", aText, nullptr);
  return script;
}

const auto kSame = [](std::string_view aText) { return std::string(aText); };

TEST(InstallationKind, EveryCodeForEveryKindOfInstallation) {
  // Columns: plain, network, terminal server, both.
  const struct {
    int code;
    bool plain, net, ts, both;
  } rows[] = {
      {0, true, false, true, false},  {1, true, true, true, true},     {2, false, true, false, true},
      {3, true, true, false, false},  {4, false, false, true, true},   {5, false, true, false, false},
      {6, false, false, true, false}, {7, false, false, false, true},  {8, true, false, false, false},
      {9, true, false, true, true},   {10, true, true, false, true},   {11, false, false, false, false},
      {-1, false, false, false, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(InstallationKindMatches(row.code, false, false), row.plain) << row.code;
    EXPECT_EQ(InstallationKindMatches(row.code, true, false), row.net) << row.code;
    EXPECT_EQ(InstallationKindMatches(row.code, false, true), row.ts) << row.code;
    EXPECT_EQ(InstallationKindMatches(row.code, true, true), row.both) << row.code;
  }
}

TEST(InfoPages, LinesInNumberOrderAndTheSeriesEndsAtTheFirstEmptySection) {
  const TScriptFile script = Script(
      "[IStartInfo]\r\ninfo1=first\r\ninfo0=zero\r\ninfo25=last\r\ninfo26=never\r\n"
      "[IStartInfo1]\r\ninfo1=numbering may start at 1\r\ninfo2=\r\ndk_info2=tom\r\nNetShow=2\r\n"
      "[IStartInfo2]\r\nNetShow=1\r\n"
      "[IStartInfo3]\r\ninfo0=after the gap\r\n");
  const std::vector<TCommonInfo> pages = LoadInfoPages(script, "IStartInfo", kSame);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].info, (std::vector<std::string>{"zero", "first", "last"}));
  EXPECT_EQ(pages[0].netshow, 1);
  // A key written with an empty value still adds its line.
  EXPECT_EQ(pages[1].info, (std::vector<std::string>{"numbering may start at 1", ""}));
  EXPECT_TRUE(pages[1].doShow(true, false));
  EXPECT_FALSE(pages[1].doShow(false, false));
  EXPECT_TRUE(LoadInfoPages(script, "IFinalInfo", kSame).empty());
}

TEST(InfoPages, AnInfoFileReplacesTheLinesOrIsNamedWhenItCannotBeRead) {
  const TScriptFile script = Script("[IFinalInfo]\r\ninfofile=%DIR%\\readme.txt\r\ninfo0=own line $x$\r\n");
  const auto expand = [](std::string_view aText) {
    std::string text(aText);
    ReplaceAllText(text, "%DIR%", "C:\\Docs");
    ReplaceAllText(text, "$x$", "X");
    return text;
  };
  const std::vector<TCommonInfo> pages = LoadInfoPages(script, "IFinalInfo", expand);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].infofile, "C:\\Docs\\readme.txt");

  TInfoTextEnv env;
  env.translate = [](std::string_view aText) { return aText == "hello" ? std::string("hej") : std::string(aText); };
  env.expand = expand;
  env.readLines = [](const std::string& aName, std::vector<std::string>& aLines) {
    if (aName != "C:\\Docs\\readme.txt") return false;
    aLines = {"hello", "$x$"};
    return true;
  };
  EXPECT_EQ(pages[0].getInfoStrings(env), (std::vector<std::string>{"hej", "X"}));

  env.readLines = [](const std::string&, std::vector<std::string>&) { return false; };
  EXPECT_EQ(pages[0].getInfoStrings(env),
            (std::vector<std::string>{"own line X", "", FormatText(LanguageText(txt::Info_FileErr), {"C:\\Docs\\readme.txt"})}));
}

std::vector<std::string> Numbered(int aCount) {
  std::vector<std::string> lines;
  for (int i = 1; i <= aCount; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

std::vector<std::string> ScriptWithAgreements(int aDefaultLines, int aDkLines) {
  std::vector<std::string> lines = {"[System Info]", "Name=Vek", "[Licens Agreement]"};
  for (const std::string& line : Numbered(aDefaultLines)) lines.push_back(line);
  lines.push_back("[end licens agreement]");
  lines.push_back("[DK Licens Agreement]");
  for (const std::string& line : Numbered(aDkLines)) lines.push_back(line);
  lines.push_back("[DK End Licens Agreement]");
  return lines;
}

TEST(Agreements, AnAgreementCanBeAcceptedOnlyWithItsDeclaredNumberOfLines) {
  const struct {
    const char* media;
    int lines;
    bool valid;
  } cases[] = {
      {"[Media]\r\nblocks=40\r\n", 40, true},
      {"[Media]\r\nblocks=40\r\n", 41, false},
      {"", 40, false},  // no size declared
      {"[Media]\r\nblocks=0\r\n", 0, true},
  };
  for (const auto& c : cases) {
    const TAgreementList list = LoadAgreements(ScriptWithAgreements(c.lines, 2), Script(c.media), {});
    const TAgreement* agreement = FindAgreement(list, "");
    ASSERT_NE(agreement, nullptr);
    EXPECT_EQ(agreement->Lines().size(), static_cast<std::size_t>(c.lines));
    EXPECT_EQ(agreement->Valid(), c.valid) << c.media << c.lines;
  }
}

TEST(Agreements, TheLanguagesAgreementElseTheDefaultOne) {
  const TScriptFile media = Script("[Media]\r\nblocks=3\r\nDK_blocks=2\r\n");
  const TAgreementList list = LoadAgreements(ScriptWithAgreements(3, 2), media, {"DK", "UK"});
  ASSERT_NE(FindAgreement(list, "DK"), nullptr);
  EXPECT_EQ(FindAgreement(list, "DK")->Lines(), Numbered(2));
  EXPECT_TRUE(FindAgreement(list, "DK")->Valid());
  // No block for UK: its users see the default agreement.
  EXPECT_EQ(FindAgreement(list, "UK")->Lines(), Numbered(3));
  EXPECT_EQ(FindAgreement(list, "")->Lines(), Numbered(3));
  EXPECT_EQ(FindAgreement(TAgreementList{}, "DK"), nullptr);
}

TEST(Agreements, BlocksAreCutBetweenWholeMarkerLines) {
  const std::vector<std::string> lines = {"a", " [WIMG] ", "x", "y", "[End WIMG]", "[WIMG]", "z"};
  bool found = false;
  EXPECT_EQ(CutBlock(lines, "[wimg]", "[end wimg]", &found), (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(found);
  // Without its end the block runs to the end of the file; without its start there is none.
  EXPECT_EQ(CutBlock({"[Licens Agreement]", "1", "2"}, "[Licens Agreement]", "[End Licens Agreement]"),
            (std::vector<std::string>{"1", "2"}));
  EXPECT_TRUE(CutBlock({"[End Licens Agreement]", "1"}, "[Licens Agreement]", "[End Licens Agreement]", &found).empty());
  EXPECT_FALSE(found);
  // An end marker before the start does not end the block.
  EXPECT_EQ(CutBlock({"[End X]", "[X]", "1"}, "[X]", "[End X]"), (std::vector<std::string>{"1"}));
}

TEST(Agreements, ThePageIsDueWithAnAgreementOrTheScriptsTest) {
  const TAgreement empty({}, -1), declared({}, 5), text({"a"}, -1);
  EXPECT_FALSE(AgreementTestDue(nullptr, false));
  EXPECT_TRUE(AgreementTestDue(nullptr, true));
  EXPECT_FALSE(AgreementTestDue(&empty, false));
  EXPECT_TRUE(AgreementTestDue(&declared, false));
  EXPECT_TRUE(AgreementTestDue(&text, false));
}

TEST(ScriptText, SplitTextLinesAtEveryKindOfLineBreak) {
  EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitTextLines("").empty());
}

}  // namespace
}  // namespace vek
