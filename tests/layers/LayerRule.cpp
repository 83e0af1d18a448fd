#include "LayerRule.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <set>

namespace vek {
namespace {

bool IsIdentifierChar(char aChar) {
  return (aChar >= 'a' && aChar <= 'z') || (aChar >= 'A' && aChar <= 'Z') || (aChar >= '0' && aChar <= '9') ||
         aChar == '_';
}

// The identifier or number that ends right before aPos ("u8R" before the quote of u8R"(...)").
std::string_view TokenBefore(std::string_view aText, std::size_t aPos) {
  std::size_t start = aPos;
  while (start > 0 && IsIdentifierChar(aText[start - 1])) --start;
  return aText.substr(start, aPos - start);
}

// After 1'000 the quote is a digit separator; after nothing, L, u, U or u8 it opens a character.
bool OpensCharLiteral(std::string_view aText, std::size_t aPos) {
  const std::string_view token = TokenBefore(aText, aPos);
  return token.empty() || token == "L" || token == "u" || token == "U" || token == "u8";
}

bool OpensRawString(std::string_view aText, std::size_t aPos) {
  const std::string_view token = TokenBefore(aText, aPos);
  return token == "R" || token == "LR" || token == "uR" || token == "UR" || token == "u8R";
}

// The position after the ordinary literal that opens at aPos. A literal ends at its line's end
// when nothing closes it (the compiler rejects it anyway), so it cannot swallow the lines below.
std::size_t SkipQuoted(std::string_view aText, std::size_t aPos, char aQuote) {
  std::size_t pos = aPos + 1;
  while (pos < aText.size()) {
    const char c = aText[pos];
    if (c == '\\') {
      pos += 2;  // an escape, or a line splice that carries the literal on
    } else if (c == aQuote) {
      return pos + 1;
    } else if (c == '\n') {
      return pos;
    } else {
      ++pos;
    }
  }
  return aText.size();
}

// The text with every comment and the inside of every raw string turned into blanks, line ends
// kept, so that line numbers stay right and what is left on a line starting with '#' is a
// directive the compiler sees.
std::string BlankComments(std::string_view aText) {
  std::string out(aText);
  auto blank = [&out](std::size_t aFrom, std::size_t aTo) {
    for (std::size_t pos = aFrom; pos < aTo; ++pos) {
      if (out[pos] != '\n' && out[pos] != '\r') out[pos] = ' ';
    }
  };
  const std::size_t size = aText.size();
  std::size_t pos = 0;
  while (pos < size) {
    const char c = aText[pos];
    const char next = pos + 1 < size ? aText[pos + 1] : '\0';
    if (c == '/' && next == '/') {
      // A backslash at the end of the line splices the next line into the comment.
      std::size_t end = pos + 2;
      for (;;) {
        end = aText.find('\n', end);
        if (end == std::string_view::npos) {
          end = size;
          break;
        }
        std::size_t last = end;
        if (last > 0 && aText[last - 1] == '\r') --last;
        if (last == 0 || aText[last - 1] != '\\') break;
        ++end;
      }
      blank(pos, end);
      pos = end;
    } else if (c == '/' && next == '*') {
      const std::size_t close = aText.find("*/", pos + 2);
      const std::size_t end = close == std::string_view::npos ? size : close + 2;
      blank(pos, end);
      pos = end;
    } else if (c == '"' && OpensRawString(aText, pos)) {
      // R"delim( ... )delim": a "#include" line inside is text, not a directive.
      const std::size_t open = aText.find('(', pos + 1);
      if (open == std::string_view::npos || open - pos - 1 > 16) {
        pos = SkipQuoted(aText, pos, '"');
        continue;
      }
      const std::string closing = ")" + std::string(aText.substr(pos + 1, open - pos - 1)) + "\"";
      const std::size_t close = aText.find(closing, open + 1);
      const std::size_t end = close == std::string_view::npos ? size : close;
      blank(open + 1, end);
      pos = close == std::string_view::npos ? size : close + closing.size();
    } else if (c == '"') {
      pos = SkipQuoted(aText, pos, '"');
    } else if (c == '\'' && OpensCharLiteral(aText, pos)) {
      pos = SkipQuoted(aText, pos, '\'');
    } else {
      ++pos;
    }
  }
  return out;
}

std::string_view TrimLeft(std::string_view aText) {
  const std::size_t start = aText.find_first_not_of(" \t\r\f\v");
  return start == std::string_view::npos ? std::string_view() : aText.substr(start);
}

std::string_view Trim(std::string_view aText) {
  aText = TrimLeft(aText);
  const std::size_t end = aText.find_last_not_of(" \t\r\f\v");
  return end == std::string_view::npos ? std::string_view() : aText.substr(0, end + 1);
}

std::string_view LeadingWord(std::string_view aText) {
  std::size_t end = 0;
  while (end < aText.size() && IsIdentifierChar(aText[end])) ++end;
  return aText.substr(0, end);
}

std::optional<std::size_t> LayerIndex(std::string_view aFolder) {
  const auto found = std::find(kLayerOrder.begin(), kLayerOrder.end(), aFolder);
  if (found == kLayerOrder.end()) return std::nullopt;
  return static_cast<std::size_t>(found - kLayerOrder.begin());
}

std::string LayerList() {
  std::string list = "(layers:";
  for (std::size_t index = 0; index < kLayerOrder.size(); ++index) {
    list += index == 0 ? " " : " < ";
    list += kLayerOrder[index];
  }
  return list + ")";
}

std::string WindowsFolderList() {
  std::string list;
  for (const std::string_view folder : kWindowsFolders) list += std::string(folder) + ", ";
  return list + "and files named *" + std::string(kWindowsFileSuffix);
}

bool IsWindowsHeader(std::string_view aHeader) {
  std::string lower(aHeader);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char aChar) {
    return aChar >= 'A' && aChar <= 'Z' ? static_cast<char>(aChar - 'A' + 'a') : aChar;
  });
  return std::find(std::begin(kWindowsHeaders), std::end(kWindowsHeaders), lower) !=
         std::end(kWindowsHeaders);
}

bool MayIncludeWindowsHeaders(std::string_view aFolder, std::string_view aPath) {
  return std::find(kWindowsFolders.begin(), kWindowsFolders.end(), aFolder) != kWindowsFolders.end() ||
         aPath.ends_with(kWindowsFileSuffix);
}

// A project header named other than from src/ ("../engine/X.h", "/abs/X.h", "./X.h").
bool LeavesTheConvention(std::string_view aHeader) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = aHeader.find('/', start);
    const std::string_view part =
        aHeader.substr(start, slash == std::string_view::npos ? slash : slash - start);
    if (part.empty() || part == "." || part == "..") return true;
    if (slash == std::string_view::npos) return false;
    start = slash + 1;
  }
}

std::string Written(const IncludeLine& aInclude) {
  switch (aInclude.delimiter) {
    case '"': return "\"" + aInclude.header + "\"";
    case '<': return "<" + aInclude.header + ">";
    default: return aInclude.header;
  }
}

// The breach of one include of a file in aFolder (a layer), or nothing.
std::optional<std::string> CheckInclude(const SourceFile& aFile, std::string_view aFolder, std::size_t aLayer,
                                        const IncludeLine& aInclude) {
  if (aInclude.delimiter == 0) {
    return "the included header cannot be known without the preprocessor; name it as \"folder/File.h\"";
  }
  if (IsWindowsHeader(aInclude.header)) {
    if (MayIncludeWindowsHeaders(aFolder, aFile.path)) return std::nullopt;
    return std::string(aFolder) + " may not include Windows headers (only " + WindowsFolderList() + " may)";
  }
  const std::size_t slash = aInclude.header.find('/');
  if (aInclude.delimiter == '<') {
    // <engine/X.h> would find the project's header through the include path as well; other
    // angle-bracket headers are the libraries'.
    if (slash == std::string::npos || !LayerIndex(aInclude.header.substr(0, slash))) return std::nullopt;
  } else {
    if (slash == std::string::npos) return std::nullopt;  // a header of the same folder
    if (LeavesTheConvention(aInclude.header)) {
      return std::string("project headers are named from src/ (\"folder/File.h\")");
    }
  }
  const std::string target = aInclude.header.substr(0, slash);
  const std::optional<std::size_t> targetLayer = LayerIndex(target);
  if (!targetLayer) return target + " is not a layer; place it in the order " + LayerList();
  if (*targetLayer > aLayer) return std::string(aFolder) + " may not use " + target + " " + LayerList();
  return std::nullopt;
}

}  // namespace

std::vector<IncludeLine> ReadIncludes(std::string_view aText) {
  const std::string text = BlankComments(aText);
  std::vector<IncludeLine> includes;
  // Inside an "#if 0" block: 1 plus the depth of the conditionals opened within it.
  int skipDepth = 0;
  int lineNumber = 0;
  std::size_t lineStart = 0;
  while (lineStart <= text.size()) {
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    const std::string_view line = std::string_view(text).substr(lineStart, lineEnd - lineStart);
    ++lineNumber;
    lineStart = lineEnd + 1;

    const std::string_view directive = TrimLeft(line);
    if (!directive.starts_with('#')) continue;
    const std::string_view rest = TrimLeft(directive.substr(1));
    const std::string_view word = LeadingWord(rest);
    const std::string_view argument = Trim(rest.substr(word.size()));
    if (skipDepth > 0) {
      if (word == "if" || word == "ifdef" || word == "ifndef") {
        ++skipDepth;
      } else if (word == "endif") {
        --skipDepth;
      } else if (skipDepth == 1 &&
                 (word == "else" || word == "elif" || word == "elifdef" || word == "elifndef")) {
        skipDepth = 0;  // the other branch may be compiled
      }
      continue;
    }
    if (word == "if" && argument == "0") {
      skipDepth = 1;
      continue;
    }
    if (word != "include") continue;

    IncludeLine include;
    include.line = lineNumber;
    const char open = argument.empty() ? '\0' : argument.front();
    const char close = open == '"' ? '"' : '>';
    const std::size_t end = open == '"' || open == '<' ? argument.find(close, 1) : std::string_view::npos;
    if (end != std::string_view::npos) {
      include.delimiter = open;
      include.header = std::string(argument.substr(1, end - 1));
    } else {
      include.header = std::string(argument);
    }
    includes.push_back(std::move(include));
  }
  return includes;
}

std::vector<std::string> CheckTree(const SourceTree& aTree) {
  std::vector<std::string> failures;

  std::set<std::string> unknownFolders;
  for (const std::string& folder : aTree.folders) {
    if (!LayerIndex(folder)) unknownFolders.insert(folder);
  }
  for (const SourceFile& file : aTree.files) {
    const std::size_t slash = file.path.find('/');
    if (slash != std::string::npos && !LayerIndex(file.path.substr(0, slash))) {
      unknownFolders.insert(file.path.substr(0, slash));
    }
  }
  for (const std::string& folder : unknownFolders) {
    failures.push_back("src/" + folder + "/: " + folder + " is not a layer; place it in the order " +
                       LayerList());
  }

  for (const SourceFile& file : aTree.files) {
    const std::size_t slash = file.path.find('/');
    if (slash == std::string::npos) {
      failures.push_back("src/" + file.path + ": a source file directly below src/ belongs to no layer");
      continue;
    }
    const std::string folder = file.path.substr(0, slash);
    const std::optional<std::size_t> layer = LayerIndex(folder);
    if (!layer) continue;  // its folder is reported once above
    for (const IncludeLine& include : ReadIncludes(file.text)) {
      if (const std::optional<std::string> breach = CheckInclude(file, folder, *layer, include)) {
        failures.push_back("src/" + file.path + ":" + std::to_string(include.line) + " includes " +
                           Written(include) + ": " + *breach);
      }
    }
  }
  return failures;
}

}  // namespace vek
