#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "LayerRule.h"

namespace vek {

// Readable failures of the include tables.
void PrintTo(const IncludeLine& aInclude, std::ostream* aOut) {
  *aOut << aInclude.line << ": ";
  switch (aInclude.delimiter) {
    case '"': *aOut << '"' << aInclude.header << '"'; break;
    case '<': *aOut << '<' << aInclude.header << '>'; break;
    default: *aOut << aInclude.header << " (macro)"; break;
  }
}

namespace {

// Every Windows folder is a layer, and no layer is listed twice: a typo in the table would
// otherwise quietly allow or forbid a whole folder. The Windows headers are in lower case, as the
// checker lowers the name it looks up.
constexpr bool RuleTableIsSound() {
  for (const std::string_view header : kWindowsHeaders) {
    for (const char c : header) {
      if (c >= 'A' && c <= 'Z') return false;
    }
  }
  for (std::size_t index = 0; index < kLayerOrder.size(); ++index) {
    for (std::size_t other = index + 1; other < kLayerOrder.size(); ++other) {
      if (kLayerOrder[index] == kLayerOrder[other]) return false;
    }
  }
  for (const std::string_view folder : kWindowsFolders) {
    if (std::find(kLayerOrder.begin(), kLayerOrder.end(), folder) == kLayerOrder.end()) return false;
  }
  return true;
}
static_assert(RuleTableIsSound());

std::string ReadWholeFile(const std::filesystem::path& aPath) {
  std::ifstream in(aPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsSourceFile(const std::filesystem::path& aPath) {
  const std::string extension = aPath.extension().string();
  return extension == ".h" || extension == ".cpp" || extension == ".inc";
}

SourceTree ReadSourceTree(const std::filesystem::path& aRoot) {
  SourceTree tree;
  for (const auto& entry : std::filesystem::directory_iterator(aRoot)) {
    if (entry.is_directory()) tree.folders.push_back(entry.path().filename().string());
  }
  for (const auto& entry : std::filesystem::recursive_directory_iterator(aRoot)) {
    if (!entry.is_regular_file() || !IsSourceFile(entry.path())) continue;
    tree.files.push_back(
        {entry.path().lexically_relative(aRoot).generic_string(), ReadWholeFile(entry.path())});
  }
  std::sort(tree.folders.begin(), tree.folders.end());
  std::sort(tree.files.begin(), tree.files.end(),
            [](const SourceFile& aLeft, const SourceFile& aRight) { return aLeft.path < aRight.path; });
  return tree;
}

std::string Lines(const std::vector<std::string>& aLines) {
  std::string text;
  for (const std::string& line : aLines) text += line + "\n";
  return text;
}

TEST(LayerRule, SourceTreeKeepsTheRule) {
  const std::filesystem::path root = VEK_SOURCE_DIR;
  ASSERT_TRUE(std::filesystem::is_directory(root)) << root;
  const SourceTree tree = ReadSourceTree(root);
  // A wrong path must not pass as a tree without faults.
  ASSERT_NE(std::find(tree.folders.begin(), tree.folders.end(), "base"), tree.folders.end()) << root;
  ASSERT_GT(tree.files.size(), 50u) << root;

  const std::vector<std::string> failures = CheckTree(tree);
  if (!failures.empty()) {
    ADD_FAILURE() << failures.size()
                  << " include(s) break the layer rule (docs/ARCHITECTURE.md, \"Layers\"):\n"
                  << Lines(failures);
  }
}

// The document states the same order as the table above.
TEST(LayerRule, ArchitectureDocumentStatesTheOrder) {
  std::string order;
  for (const std::string_view layer : kLayerOrder) order += (order.empty() ? "" : " < ") + std::string(layer);
  const std::string document = ReadWholeFile(VEK_ARCHITECTURE_DOC);
  ASSERT_FALSE(document.empty()) << VEK_ARCHITECTURE_DOC;
  EXPECT_NE(document.find(order), std::string::npos)
      << "docs/ARCHITECTURE.md does not name the order " << order;
}

TEST(LayerRule, ReadsIncludeDirectivesTheWayTheCompilerSeesThem) {
  const struct {
    const char* name;
    std::string text;
    std::vector<IncludeLine> expected;
  } cases[] = {
      {"both forms, with their lines",
       "#include <string>\n\n#include \"base/Utf.h\"\n",
       {{1, '<', "string"}, {3, '"', "base/Utf.h"}}},
      {"blanks around the #, none before the name",
       "  #  include\t\"a.h\"\n#include<b.h>\n",
       {{1, '"', "a.h"}, {2, '<', "b.h"}}},
      {"CR LF line ends",
       "#include \"a.h\"\r\n// x\r\n#include \"b.h\"\r\n",
       {{1, '"', "a.h"}, {3, '"', "b.h"}}},
      {"a comment after the name",
       "#include \"ui/Msgdlg.h\"  // for the question\n",
       {{1, '"', "ui/Msgdlg.h"}}},
      {"a commented-out line", "// #include \"engine/setupengine.h\"\n", {}},
      {"a block comment across lines",
       "/*\n#include \"engine/a.h\"\n*/\n#include \"base/Utf.h\"\n",
       {{4, '"', "base/Utf.h"}}},
      {"a comment before the # still leaves a directive",
       "/* why */ #include \"engine/a.h\"\n",
       {{1, '"', "engine/a.h"}}},
      {"a line comment carried on by a backslash", "// note \\\n#include \"engine/a.h\"\n", {}},
      {"a /* inside a string opens no comment",
       "const char* k = \"/*\";\n#include \"engine/a.h\"\n// */\n",
       {{2, '"', "engine/a.h"}}},
      {"a quote inside a character opens no string",
       "char q = '\"';\n#include \"engine/a.h\"\n",
       {{2, '"', "engine/a.h"}}},
      {"a digit separator opens no character", "int n = 1'000; /* '\n#include \"engine/a.h\" */\n", {}},
      {"a raw string's lines are text",
       "auto k = R\"x(\n#include \"engine/a.h\"\n)x\";\n#include \"base/Utf.h\"\n",
       {{4, '"', "base/Utf.h"}}},
      {"an #if 0 block, nested conditionals and its #else",
       "#if 0\n#include \"engine/a.h\"\n#ifdef X\n#include \"engine/b.h\"\n#endif\n#else\n#include "
       "\"base/Utf.h\"\n#endif\n#include \"ui/c.h\"\n",
       {{7, '"', "base/Utf.h"}, {9, '"', "ui/c.h"}}},
      {"an include under another condition still counts",
       "#ifdef _WIN32\n#include <windows.h>\n#endif\n",
       {{2, '<', "windows.h"}}},
      {"an include through a macro", "#include VEK_HEADER\n", {{1, 0, "VEK_HEADER"}}},
      {"other directives", "#include_next <a.h>\n#pragma once\n#define INCLUDE \"engine/a.h\"\n", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadIncludes(c.text), c.expected) << c.name;
  }
}

TEST(LayerRule, ChecksEveryIncludeAgainstTheRule) {
  const std::string layers =
      "(layers: base < system < language < archive < script < commands < shortcuts < engine < ui < app)";
  const std::string windows = "(only system, ui, app, and files named *.win.cpp may)";
  const struct {
    const char* name;
    std::vector<SourceFile> files;
    std::vector<std::string> folders;
    std::vector<std::string> expected;
  } cases[] = {
      {"downward and same-layer includes",
       {{"engine/X.cpp",
         "#include \"script/IniStore.h\"\n#include \"base/Utf.h\"\n#include \"engine/X.h\"\n"}},
       {},
       {}},
      {"an upward include",
       {{"script/Loadinif.win.cpp", "#include <string>\n\n\n#include \"engine/setupengine.h\"\n"}},
       {},
       {"src/script/Loadinif.win.cpp:4 includes \"engine/setupengine.h\": script may not use engine " +
        layers}},
      {"the dialogs from below the ui",
       {{"archive/X.cpp", "#include \"ui/Msgdlg.h\"\n"},
        {"engine/Y.h", "#pragma once\n#include \"ui/Msgdlg.h\"\n"}},
       {},
       {"src/archive/X.cpp:1 includes \"ui/Msgdlg.h\": archive may not use ui " + layers,
        "src/engine/Y.h:2 includes \"ui/Msgdlg.h\": engine may not use ui " + layers}},
      {"an upward include in angle brackets",
       {{"base/X.cpp", "#include <engine/X.h>\n"}},
       {},
       {"src/base/X.cpp:1 includes <engine/X.h>: base may not use engine " + layers}},
      {"a header of the same folder, named without its folder",
       {{"base/X.cpp", "#include \"Utf.h\"\n"},
        {"archive/host/X.cpp", "#include \"ZipFiles.h\"\n#include \"archive/ZipReader.h\"\n"}},
       {},
       {}},
      {"<windows.h> in a core file",
       {{"engine/X.cpp", "#include <string>\n#include <windows.h>\n"}},
       {},
       {"src/engine/X.cpp:2 includes <windows.h>: engine may not include Windows headers " + windows}},
      {"other Windows headers and spellings in the core",
       {{"base/X.h", "#include <ShlObj.h>\n"}, {"language/X.cpp", "#include \"winreg.h\"\n"}},
       {},
       {"src/base/X.h:1 includes <ShlObj.h>: base may not include Windows headers " + windows,
        "src/language/X.cpp:1 includes \"winreg.h\": language may not include Windows headers " + windows}},
      {"Windows headers in a *.win.cpp file of the core",
       {{"script/X.win.cpp", "#include <windows.h>\n#include <shellapi.h>\n"}},
       {},
       {}},
      {"Windows headers in system, ui and app",
       {{"system/X.cpp", "#include <windows.h>\n#include <winnetwk.h>\n"},
        {"system/X.h", "#include <windows.h>\n"},
        {"ui/X.cpp", "#include <commctrl.h>\n"},
        {"app/X.cpp", "#include <objbase.h>\n"}},
       {},
       {}},
      {"a Windows header in a *.win.h header of the core",
       {{"engine/X.win.h", "#include <windows.h>\n"}},
       {},
       {"src/engine/X.win.h:1 includes <windows.h>: engine may not include Windows headers " + windows}},
      {"libraries' headers",
       {{"archive/X.cpp", "#include <zlib.h>\n#include <sys/stat.h>\n#include <unistd.h>\n"}},
       {},
       {}},
      {"commented-out includes",
       {{"script/X.cpp", "// #include \"engine/X.h\"\n/* #include <windows.h> */\n"}},
       {},
       {}},
      {"a folder outside the order",
       {{"widgets/X.cpp", "#include \"engine/X.h\"\n"}},
       {"base", "widgets"},
       {"src/widgets/: widgets is not a layer; place it in the order " + layers}},
      {"a folder outside the order without sources",
       {},
       {"base", "tools"},
       {"src/tools/: tools is not a layer; place it in the order " + layers}},
      {"an include of a folder outside the order",
       {{"app/X.cpp", "#include \"widgets/X.h\"\n"}},
       {},
       {"src/app/X.cpp:1 includes \"widgets/X.h\": widgets is not a layer; place it in the order " + layers}},
      {"a source file directly below src/",
       {{"X.cpp", "#include \"base/Utf.h\"\n"}},
       {},
       {"src/X.cpp: a source file directly below src/ belongs to no layer"}},
      {"a header named from the including file",
       {{"system/X.cpp", "#include \"../engine/X.h\"\n"}},
       {},
       {"src/system/X.cpp:1 includes \"../engine/X.h\": project headers are named from src/ "
        "(\"folder/File.h\")"}},
      {"an include through a macro",
       {{"base/X.cpp", "#include VEK_HEADER\n"}},
       {},
       {"src/base/X.cpp:1 includes VEK_HEADER: the included header cannot be known without the preprocessor; "
        "name it as \"folder/File.h\""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckTree({c.folders, c.files}), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace vek
