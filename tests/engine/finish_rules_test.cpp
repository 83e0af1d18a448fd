// The text rules of the finish routine: the command registered for the next logon, the value
// name it is written under, and which registrations a file cancels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/CaseMap.h"
#include "engine/FinishRoutine.h"

namespace vek {
namespace {

constexpr const char* kCmd = "C:\\windows\\system32\\cmd.exe";

TEST(FinishCommandLine, DeletesProgramAndLibraryAndRemovesTheFolderItRanFrom) {
  const struct {
    const char* cmdExe;
    const char* program;
    const char* library;
    const char* sourceDir;
    const char* expected;
  } cases[] = {
      {kCmd, "C:\\users\\root\\Temp\\VekSetup.exe", "setup_uk.dll", "D:\\cd\\",
       "\"C:\\windows\\system32\\cmd.exe\" /c \"Del \"C:\\users\\root\\Temp\\VekSetup.exe\" "
       "\"C:\\users\\root\\Temp\\setup_uk.dll\"\""},
      // Run from its own folder (an uninstall): the folder goes too, named without its delimiter.
      {kCmd, "C:\\App\\setup.exe", "setup_dk.dll", "c:\\APP\\",
       "\"C:\\windows\\system32\\cmd.exe\" /c \"Del \"C:\\App\\setup.exe\" \"C:\\App\\setup_dk.dll\" && "
       "rmdir \"c:\\APP\"\""},
      {kCmd, "C:\\App\\setup.exe", "setup_uk.dll", "C:\\App",
       "\"C:\\windows\\system32\\cmd.exe\" /c \"Del \"C:\\App\\setup.exe\" \"C:\\App\\setup_uk.dll\" && "
       "rmdir \"C:\\App\"\""},
      // A folder that only starts like the program's is another folder.
      {kCmd, "C:\\App\\setup.exe", "setup_uk.dll", "C:\\Ap",
       "\"C:\\windows\\system32\\cmd.exe\" /c \"Del \"C:\\App\\setup.exe\" \"C:\\App\\setup_uk.dll\"\""},
      {kCmd, "C:\\App\\setup.exe", "setup_uk.dll", "",
       "\"C:\\windows\\system32\\cmd.exe\" /c \"Del \"C:\\App\\setup.exe\" \"C:\\App\\setup_uk.dll\"\""},
      // Blanks stay inside the quotes of their path; the library goes in the program's folder
      // whatever folder it was named with.
      {kCmd, "C:\\Program Files\\My App\\setup.exe", "C:\\Other\\setup_uk.dll", "C:\\Program Files\\My App\\",
       "\"C:\\windows\\system32\\cmd.exe\" /c \"Del \"C:\\Program Files\\My App\\setup.exe\" "
       "\"C:\\Program Files\\My App\\setup_uk.dll\" && rmdir \"C:\\Program Files\\My App\"\""},
      // An interpreter path with a blank is not split when the command is started.
      {"C:\\Win Dir\\system32\\cmd.exe", "C:\\T\\VekSetup.exe", "setup_uk.dll", "D:\\",
       "\"C:\\Win Dir\\system32\\cmd.exe\" /c \"Del \"C:\\T\\VekSetup.exe\" \"C:\\T\\setup_uk.dll\"\""},
      // Case-blind through the whole of Unicode, as the file system compares.
      {kCmd, "C:\\Ø\\setup.exe", "setup_uk.dll", "c:\\ø\\",
       "\"C:\\windows\\system32\\cmd.exe\" /c \"Del \"C:\\Ø\\setup.exe\" \"C:\\Ø\\setup_uk.dll\" && rmdir "
       "\"c:\\ø\"\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FinishCommandLine(c.cmdExe, c.program, c.library, c.sourceDir), c.expected)
        << c.program << " from " << c.sourceDir;
  }
}

TEST(FinishCommandLine, LanguageLibraryNameIsTheCodeInLowerCase) {
  EXPECT_EQ(LanguageLibraryName("uk"), "setup_uk.dll");
  EXPECT_EQ(LanguageLibraryName("DK"), "setup_dk.dll");
  EXPECT_EQ(LanguageLibraryName("Pt"), "setup_pt.dll");
}

TEST(FinishValueName, ElevenNamesTriedInOrder) {
  const std::vector<std::string>& names = FinishValueNames();
  ASSERT_EQ(names.size(), 11u);
  EXPECT_EQ(names.front(), "Finish_VEKsetup");
  EXPECT_EQ(names[1], "Finish_VEKsetup1");
  EXPECT_EQ(names.back(), "Finish_VEKsetup10");
}

TEST(FinishValueName, ReusesTheSameCommandElseTakesTheFirstFreeElseTheLast) {
  const std::string command = "C:\\w\\cmd.exe /c \"Del \"C:\\T\\VekSetup.exe\" \"C:\\T\\setup_uk.dll\"\"";
  const auto taken = [](int aFrom, int aTo) {
    std::vector<TRunOnceValue> values;
    for (int i = aFrom; i <= aTo; ++i) {
      values.push_back({FinishValueNames()[static_cast<std::size_t>(i)], "other " + std::to_string(i)});
    }
    return values;
  };
  const auto with = [](std::vector<TRunOnceValue> aValues, TRunOnceValue aValue) {
    aValues.push_back(std::move(aValue));
    return aValues;
  };
  const struct {
    const char* what;
    std::vector<TRunOnceValue> existing;
    const char* expected;
  } cases[] = {
      {"none taken", {}, "Finish_VEKsetup"},
      {"base taken", taken(0, 0), "Finish_VEKsetup1"},
      {"first three taken", taken(0, 2), "Finish_VEKsetup3"},
      {"a gap is filled", with(taken(0, 0), {"Finish_VEKsetup2", "x"}), "Finish_VEKsetup1"},
      {"all taken: the last is overwritten", taken(0, 10), "Finish_VEKsetup10"},
      {"the same command in another case", with(taken(0, 1), {"Finish_VEKsetup2", UpperCase(command)}),
       "Finish_VEKsetup2"},
      // A free name before the registration that already holds the command would register it twice.
      {"the same command after a gap", with(taken(0, 0), {"Finish_VEKsetup5", command}), "Finish_VEKsetup5"},
      {"the same command when all are taken", with(taken(0, 9), {"Finish_VEKsetup10", command}),
       "Finish_VEKsetup10"},
      {"registry names compare without case", {{"FINISH_VEKSETUP", "x"}}, "Finish_VEKsetup1"},
      {"an empty value is taken", {{"Finish_VEKsetup", ""}}, "Finish_VEKsetup1"},
      {"other names do not count", {{"Finish_LumSetup", "x"}, {"Finish_VEKsetup11", "x"}}, "Finish_VEKsetup"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseFinishValueName(c.existing, command), c.expected) << c.what;
  }
}

TEST(FinishValueName, RefersToFileIgnoringCase) {
  const std::string data = "C:\\w\\cmd.exe /c \"Del \"C:\\Program Files\\Ø App\\setup.exe\" \"x\"\"";
  const struct {
    const char* file;
    bool expected;
  } cases[] = {
      {"C:\\Program Files\\Ø App\\setup.exe", true},
      {"c:\\program files\\ø app\\SETUP.EXE", true},
      {"C:\\Program Files\\Other\\setup.exe", false},
      {"D:\\Program Files\\Ø App\\setup.exe", false},
      {"", false},  // an empty path would cancel every registration
  };
  for (const auto& c : cases) EXPECT_EQ(RefersToFile(data, c.file), c.expected) << c.file;
  EXPECT_FALSE(RefersToFile("", "C:\\a"));
}

TEST(FinishValueName, InstalledSetupPathUsesTheSelectedRootOnly) {
  const struct {
    const char* installPath;
    std::vector<std::string> roots;
    int index;
    const char* expected;
  } cases[] = {
      {"C:\\", {"Apps", "Tools"}, 1, "C:\\Tools\\setup.exe"},
      {"C:\\Prog", {"\\Apps"}, 0, "C:\\Prog\\Apps\\setup.exe"},
      {"C:\\Prog\\", {"Apps"}, -1, "C:\\Prog\\setup.exe"},
      {"C:\\Prog", {"Apps"}, 1, "C:\\Prog\\setup.exe"},  // out of range: no root
      {"C:\\Prog", {}, 0, "C:\\Prog\\setup.exe"},
      {"C:\\Prog", {""}, 0, "C:\\Prog\\setup.exe"},
  };
  for (const auto& c : cases) {
    TRunContext context;
    context.InstallPath = c.installPath;
    context.InstallRootList = c.roots;
    context.InstallRootIndex = c.index;
    EXPECT_EQ(InstalledSetupPath(context), c.expected) << c.installPath << " index " << c.index;
  }
}

}  // namespace
}  // namespace vek
