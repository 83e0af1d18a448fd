#include <gtest/gtest.h>

#include "system/ProgramCommand.h"

namespace vek {
namespace {

TEST(ProgramCommand, TheProgramIsTheFirstTokenAndMustBeAFullPath) {
  const struct {
    const char* line;
    bool parsed;
    const char* program;
    const char* arguments;
  } cases[] = {
      {"C:\\windows\\system32\\cmd.exe /c echo x> C:\\a.txt", true, "C:\\windows\\system32\\cmd.exe",
       "/c echo x> C:\\a.txt"},
      {"\"C:\\Program Files\\App\\unins.exe\" /S", true, "C:\\Program Files\\App\\unins.exe", "/S"},
      {"  \"C:\\App\\x.exe\"", true, "C:\\App\\x.exe", ""},
      {"\\\\server\\share\\tools\\setup.exe /Q", true, "\\\\server\\share\\tools\\setup.exe", "/Q"},
      {"c:/app/x.exe", true, "c:/app/x.exe", ""},
      // An unquoted path with a blank names its part before the blank, which is not found, never
      // "C:\Program.exe" found by a search.
      {"C:\\Program Files\\App\\unins.exe /S", true, "C:\\Program", "Files\\App\\unins.exe /S"},
      // Anything a search would resolve: refused.
      {"cmd.exe /c del x", false, "", ""},
      {"notepad", false, "", ""},
      {"App\\x.exe", false, "", ""},
      {"\\App\\x.exe", false, "", ""},
      {"C:x.exe", false, "", ""},
      {"C:\\", false, "", ""},
      {"\\\\server\\x.exe", false, "", ""},
      {"\\\\?\\C:\\x.exe", false, "", ""},
      {"\\\\.\\pipe\\x", false, "", ""},
      {"\"C:\\App\\x.exe /S", false, "", ""},
      {"\"\" /S", false, "", ""},
      {"", false, "", ""},
  };
  for (const auto& c : cases) {
    const std::optional<TProgramCommand> command = ParseProgramCommand(c.line);
    ASSERT_EQ(command.has_value(), c.parsed) << c.line;
    if (!command) continue;
    EXPECT_EQ(command->program, c.program) << c.line;
    EXPECT_EQ(command->arguments, c.arguments) << c.line;
  }
}

TEST(ProgramCommand, ANulInsideThePathIsRefused) {
  EXPECT_FALSE(IsFullProgramPath(std::string("C:\\a.exe\0b", 10)));
}

TEST(ProgramCommand, TheLineQuotesTheProgramAlways) {
  EXPECT_EQ(ProgramCommandLine({"C:\\T\\VekSetup.exe", "/Q /s:D:\\"}), "\"C:\\T\\VekSetup.exe\" /Q /s:D:\\");
  EXPECT_EQ(ProgramCommandLine({"C:\\A B\\x.exe", ""}), "\"C:\\A B\\x.exe\"");
}

}  // namespace
}  // namespace vek
