#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "system/PathText.h"

namespace vek {
namespace {

TEST(PathText, JoinPathPutsOneDelimiterBetweenNonEmptyParts) {
  const struct {
    const char* dir;
    const char* name;
    const char* expected;
  } cases[] = {
      {"C:\\Data", "file.txt", "C:\\Data\\file.txt"},
      {"C:\\Data\\", "\\file.txt", "C:\\Data\\file.txt"},
      {"C:\\Data", "\\file.txt", "C:\\Data\\file.txt"},
      {"", "\\file.txt", "file.txt"},  // the leading "\\" of the name is dropped even then
      {"C:\\Data", "", "C:\\Data"},      // nothing to join: no dangling delimiter
      {"C:\\Data\\", "", "C:\\Data\\"},
      {"C:", "file.txt", "C:\\file.txt"},
      {"\\\\srv\\share", "x", "\\\\srv\\share\\x"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JoinPath(c.dir, c.name), c.expected) << '"' << c.dir << "\" + \"" << c.name << '"';
  }
}

TEST(PathText, ExtractDriveOrShareNamesTheDriveOrTheServer) {
  const struct {
    const char* path;
    const char* expected;
  } cases[] = {
      {"C:\\Program Files\\x.exe", "C:"},
      {"d:", "d:"},
      {"C:relative.txt", "C:"},
      {"\\\\server\\share\\x", "\\\\server"},  // the server, not the share
      {"\\\\server", "\\\\server"},
      {"\\\\", "\\\\"},
      {"\\\\\\x", "\\\\"},  // an empty server name
      {"\\single\\slash", ""},
      {"relative\\path", ""},
      {"C", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractDriveOrShare(c.path), c.expected) << c.path;
}

TEST(PathText, HasDriveLetterOnlyForALetterAndColon) {
  const struct {
    const char* path;
    bool expected;
  } cases[] = {
      {"C:\\x", true}, {"z:", true}, {"Q:relative", true}, {"1:\\x", false}, {"\\\\srv\\s", false},
      {":\\", false},  {"C", false}, {"", false},          {"CC:\\", false},
  };
  for (const auto& c : cases) EXPECT_EQ(HasDriveLetter(c.path), c.expected) << c.path;
}

TEST(PathText, IsPathUnderFolderStopsAtFolderBoundaries) {
  const struct {
    const char* path;
    const char* folder;
    bool expected;
  } cases[] = {
      {"C:\\Program Files\\Vendor\\app.exe", "C:\\Program Files", true},
      {"c:\\program files\\vendor", "C:\\PROGRAM FILES", true},
      {"C:\\Program Files", "C:\\Program Files", true},
      {"C:\\Program Files\\x", "C:\\Program Files\\", true},
      {"C:\\x", "C:\\", true},
      {"C:\\Program Files (x86)\\x", "C:\\Program Files", false},  // a sibling with a longer name
      {"C:\\Program Files2", "C:\\Program Files", false},
      {"C:\\Program", "C:\\Program Files", false},
      {"C:\\anything", "", false},  // an unknown folder never matches
      {"", "", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsPathUnderFolder(c.path, c.folder), c.expected) << c.path << " in " << c.folder;
}

TEST(PathText, FilePartByKind) {
  const struct {
    int kind;
    const char* path;
    const char* expected;
  } cases[] = {
      {fpNameWithoutExt, "C:\\Temp\\setup.tar.gz", "setup"},
      {fpExtension, "C:\\Temp\\setup.tar.gz", ".gz"},
      {fpFileName, "C:\\Temp\\setup.tar.gz", "setup.tar.gz"},
      {fpPathWithoutExt, "C:\\Temp\\setup.tar.gz", "C:\\Temp\\setup"},
      {fpFolder, "C:\\Temp\\setup.tar.gz", "C:\\Temp\\"},
      // A dot in a folder name is not the file's.
      {fpNameWithoutExt, "C:\\v1.2\\readme", "readme"},
      {fpExtension, "C:\\v1.2\\readme", ""},
      {fpPathWithoutExt, "C:\\v1.2\\readme", "C:\\v1.2\\readme"},
      {fpNameWithoutExt, "C:\\Temp\\.profile", ""},
      // A path that is only a drive, only a folder, or nothing at all.
      {fpFolder, "C:", "C:"},
      {fpFileName, "C:", ""},
      {fpFolder, "C:\\Temp\\", "C:\\Temp\\"},
      {fpFileName, "C:\\Temp\\", ""},
      {fpFolder, "file.txt", ""},
      {fpPathWithoutExt, "", ""},
      {fpFileName, "\\\\server\\share\\x.doc", "x.doc"},
      // Unknown kinds give nothing.
      {5, "C:\\Temp\\a.txt", ""},
      {-1, "C:\\Temp\\a.txt", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FilePart(c.kind, c.path), c.expected) << c.kind << ' ' << c.path;
}

TEST(PathText, TextBeforeOrAfterFirstOccurrence) {
  const struct {
    const char* text;
    bool before;
    char ch;
    const char* expected;
  } cases[] = {
      {"name=value=more", true, '=', "name"},
      {"name=value=more", false, '=', "value=more"},
      {"no separator", true, '=', "no separator"},
      {"no separator", false, '=', "no separator"},
      {"=leading", true, '=', ""},
      {"trailing=", false, '=', ""},
      {"", true, '=', ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBeforeOrAfter(c.text, c.before, c.ch), c.expected) << c.text << ' ' << c.before;
  }
}

// One unit of width per byte stands in for a font: the algorithm only compares widths.
long CharCount(std::string_view aText) { return static_cast<long>(aText.size()); }

TEST(PathText, FitPathToWidthLeavesOutLeadingFolders) {
  const std::string path = "C:\\Program Files\\Company\\Product\\bin\\app.exe";
  const struct {
    long width;
    const char* expected;
  } cases[] = {
      {1000, "C:\\Program Files\\Company\\Product\\bin\\app.exe"},
      {static_cast<long>(path.size()), "C:\\Program Files\\Company\\Product\\bin\\app.exe"},
      {static_cast<long>(path.size()) - 1, "C:\\...\\Company\\Product\\bin\\app.exe"},
      {26, "C:\\...\\Product\\bin\\app.exe"},
      {25, "C:\\...\\bin\\app.exe"},
      {18, "C:\\...\\bin\\app.exe"},
      {17, "C:\\...\\app.exe"},
      {3, "C:\\...\\app.exe"},  // the file name stays even when it alone is too wide
      {-5, "C:\\...\\app.exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(FitPathToWidth(path, CharCount, c.width), c.expected) << c.width;
}

TEST(PathText, FitPathToWidthOfOtherShapes) {
  const struct {
    const char* path;
    long width;
    const char* expected;
  } cases[] = {
      {"\\\\server\\share\\dir\\sub\\file.txt", 20, "\\\\server\\...\\file.txt"},
      {"\\\\server\\share\\dir\\sub\\file.txt", 26, "\\\\server\\...\\sub\\file.txt"},
      {"Program Files\\Company\\Product\\app.exe", 25, "Program Files\\...\\app.exe"},
      // A folder path keeps its last folder.
      {"C:\\one\\two\\three\\", 10, "C:\\...\\three\\"},
      // Nothing that could be left out: the path stays as it is rather than growing "...\".
      {"C:\\a-very-long-file-name.txt", 5, "C:\\a-very-long-file-name.txt"},
      {"C:\\folder\\", 3, "C:\\folder\\"},
      {"a-very-long-file-name.txt", 5, "a-very-long-file-name.txt"},
      {"C:", 1, "C:"},
      {"\\\\server", 1, "\\\\server"},
      {"", 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitPathToWidth(c.path, CharCount, c.width), c.expected) << c.path << ' ' << c.width;
  }
}

// A path of tens of thousands of characters must neither hang nor measure every step: the
// label is drawn on every progress update.
TEST(PathText, FitPathToWidthOfAHugePathMeasuresFewTimes) {
  std::string path = "C:";
  for (int i = 0; i < 20000; ++i) path += "\\d";
  path += "\\file.txt";
  int measured = 0;
  const TTextMeasure counting = [&](std::string_view aText) {
    ++measured;
    return CharCount(aText);
  };
  EXPECT_EQ(FitPathToWidth(path, counting, 20), "C:\\...\\d\\d\\file.txt");
  EXPECT_LT(measured, 40);

  const std::string delimiters(40000, '\\');
  EXPECT_EQ(FitPathToWidth(delimiters, CharCount, 10), std::string(3, '\\') + "..." + std::string(4, '\\'));
}

TEST(PathText, HugeAndEmptyPathsGiveDefinedTexts) {
  const std::string huge = "C:\\" + std::string(40000, 'x') + ".txt";
  EXPECT_EQ(ExtractDriveOrShare(huge), "C:");
  EXPECT_EQ(FilePart(fpExtension, huge), ".txt");
  EXPECT_EQ(FilePart(fpNameWithoutExt, huge).size(), 40000u);
  EXPECT_EQ(JoinPath(huge, "a").size(), huge.size() + 2);
  EXPECT_EQ(FitPathToWidth(huge, CharCount, 10), huge);
}

TEST(PathText, ExtendedLengthForms) {
  // Already extended, a device path, or not absolute: as it is.
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\a\\b.txt", "\\\\?\\C:\\a\\b.txt"}, {"\\\\srv\\share\\a", "\\\\?\\UNC\\srv\\share\\a"},
      {"\\\\?\\C:\\a", "\\\\?\\C:\\a"},        {"\\\\.\\COM1", "\\\\.\\COM1"},
      {"C:a", "C:a"},                          {"a\\b", "a\\b"},
      {"", ""}};
  for (const auto& [path, extended] : cases) EXPECT_EQ(ExtendedLengthPath(path), extended) << path;
}

}  // namespace
}  // namespace vek
