// Damaged and oversized scripts load into a defined store, without a crash. How long a large
// script takes to load is measured by bench/large_script.sh.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "script/Conditions.h"
#include "script/Expand.h"
#include "script/ScriptFile.h"
#include "script/ScriptList.h"

namespace vek {
namespace {

TScriptFile Load(std::string_view aBytes) {
  TScriptFile script;
  script.Open("C:\\bad.ini", aBytes, nullptr);
  return script;
}

TEST(BadScripts, LargeScriptLoadsWhole) {
  std::string text;
  int sections = 0;
  while (text.size() < 10 * 1024 * 1024) {
    text += "[Section" + std::to_string(sections++) + "]\r\n";
    for (int k = 0; k < 20; ++k) text += "Key" + std::to_string(k) + "=Some value of the key " + std::to_string(k) + "\r\n";
  }
  const TScriptFile script = Load(text);
  EXPECT_EQ(script.Store().Sections().size(), static_cast<std::size_t>(sections));
  EXPECT_EQ(script.ReadText("Section" + std::to_string(sections - 1), "Key19", ""), "Some value of the key 19");
}

TEST(BadScripts, LongLines) {
  const std::string value(100000, 'v');
  const std::string name(100000, 'n');
  const TScriptFile script = Load("[S]\r\nk=" + value + "\r\n" + name + "=x\r\n[" + name + "]\r\nk=2\r\n");
  EXPECT_EQ(script.ReadText("S", "k", ""), value);
  EXPECT_EQ(script.ReadText("S", name, ""), "x");
  EXPECT_EQ(script.ReadText(name, "k", ""), "2");
  EXPECT_EQ(SplitScriptList(value + ";" + value).size(), 2u);
}

TEST(BadScripts, MarksWithoutContentAndHeadersWithoutBracket) {
  struct Case {
    std::string bytes;
    std::size_t sections;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF", 0},
      {"\xFF\xFE", 0},
      {"\xFE\xFF", 0},
      {"\xFF\xFE[", 1},                    // odd byte: U+FFFD, a line of the unnamed section
      {"[Unclosed\r\nk=v\r\n", 1},         // a line of the unnamed section, not a header
      {"[\r\n]\r\n[]\r\n", 2},             // "[" line, "]" line; then the empty-named header
      {std::string("k=a\0b\r\n", 7), 1},  // NUL ends a line
  };
  for (const Case& c : cases) EXPECT_EQ(Load(c.bytes).Store().Sections().size(), c.sections);
  EXPECT_EQ(Load("[Unclosed\r\nk=v\r\n").ReadText("", "k", ""), "v");
}

TEST(BadScripts, InvalidEncodingsGiveReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(Load("\xEF\xBB\xBF[S]\nk=\xC0\xAF\xED\xA0\x80\n").ReadText("S", "k", ""),
            replacement + replacement + replacement + replacement + replacement);  // overlong, surrogate
  EXPECT_EQ(Load(std::string("\xFF\xFE[\0S\0]\0\n\0k\0=\0\x00\xDC", 16)).ReadText("S", "k", ""), replacement);
}

TEST(BadScripts, BinaryGarbageLoadsAndEveryTextOperationEnds) {
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> byte(0, 255);
  TRunContext run;
  TUserVariables vars;
  vars.SetVariable("V", "%V%%V%");
  vars.SetPathVariable("P", "\\%P%");
  const TExpandContext context{run, vars, {}, std::nullopt, {}, {}};
  for (int round = 0; round < 24; ++round) {
    std::string bytes(16 * 1024, '\0');
    for (char& c : bytes) c = static_cast<char>(byte(random));
    if (round % 3 == 1) bytes.insert(0, "\xFF\xFE");
    if (round % 3 == 2) bytes.insert(0, "\xEF\xBB\xBF");
    const TScriptFile script = Load(bytes);
    for (const TIniSection& section : script.Store().Sections()) {
      for (const TIniLine& line : section.Lines()) {
        (void)ExpandVars(context, {}, line.Text());
        (void)CheckConditions(vars, line.Text());
        (void)SplitScriptList(line.Value);
      }
    }
  }
}

}  // namespace
}  // namespace vek
