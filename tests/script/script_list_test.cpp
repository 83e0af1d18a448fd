// The list rule of InstallRoot, SystemDir, PackFile and DeleteFiles values.
#include <gtest/gtest.h>

#include "script/ScriptList.h"

namespace vek {
namespace {

TEST(ScriptList, SplitsAtSemicolonsBlanksAndControlCharacters) {
  struct Case {
    const char* text;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {"", {}},
      {"   ", {}},
      {"Apps", {"Apps"}},
      {"Apps;Tools", {"Apps", "Tools"}},
      {"Program Files", {"Program", "Files"}},  // unquoted blank separates
      {"\"Program Files\"", {"Program Files"}},
      {"\"Program Files\";Tools", {"Program Files", "Tools"}},
      {"a;", {"a", ""}},                          // ";" at the very end adds an empty entry
      {"a; ", {"a"}},                             // ... only at the very end
      {"a;;b", {"a", "", "b"}},
      {"a ; b", {"a", "b"}},
      {"a\tb\nc", {"a", "b", "c"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},  // doubled quotes stand for one
      {"\"open end", {"open end"}},             // no closing quote: runs to the end
      {"\"ab\"cd", {"ab", "cd"}},
      {";", {"", ""}},
      {"\"\"", {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitScriptList(c.text), c.entries) << c.text;
}

}  // namespace
}  // namespace vek
