#include "system/PathText.h"

#include <vector>

#include "base/CaseMap.h"

namespace vek {
namespace {

constexpr std::string_view kUncPrefix = "\\\\";
constexpr std::string_view kEllipsis = "...\\";

std::size_t LastDelimiter(std::string_view aPath, bool aWithDrive) {
  for (std::size_t i = aPath.size(); i > 0; --i) {
    const char c = aPath[i - 1];
    if (IsPathDelimiter(c) || (aWithDrive && c == ':')) return i - 1;
  }
  return std::string_view::npos;
}

std::string NameBeforeFirstDot(std::string_view aPath) {
  const std::string name = ExtractFileName(aPath);
  return name.substr(0, name.find('.'));
}

// Where each tail of aRest starts when its leading folders are left out one by one: after the
// first "\", after the second, ... A "\" that ends the text starts no tail, so a folder path
// keeps its last name.
std::vector<std::size_t> TailStarts(std::string_view aRest) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i + 1 < aRest.size(); ++i) {
    if (aRest[i] == kPathDelim) starts.push_back(i + 1);
  }
  return starts;
}

}  // namespace

bool IsPathDelimiter(char aChar) { return aChar == '\\' || aChar == '/'; }

bool ContainsNul(std::string_view aText) { return aText.find('\0') != std::string_view::npos; }

bool HasDriveLetter(std::string_view aPath) {
  if (aPath.size() < 2 || aPath[1] != ':') return false;
  const char letter = aPath[0];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

bool IsPathUnderFolder(std::string_view aPath, std::string_view aFolder) {
  if (aFolder.empty() || aPath.size() < aFolder.size()) return false;
  if (!SameText(aPath.substr(0, aFolder.size()), aFolder)) return false;
  // The match must end at a folder boundary, not inside a longer name.
  return aPath.size() == aFolder.size() || IsPathDelimiter(aFolder.back()) ||
         IsPathDelimiter(aPath[aFolder.size()]);
}

std::string ExtractFilePath(std::string_view aPath) {
  const std::size_t pos = LastDelimiter(aPath, true);
  return pos == std::string_view::npos ? std::string() : std::string(aPath.substr(0, pos + 1));
}

std::string ExtractFileDir(std::string_view aPath) {
  const std::size_t pos = LastDelimiter(aPath, true);
  if (pos == std::string_view::npos) return {};
  // Keep the delimiter of a root ("C:\", "\") and a bare drive ("C:").
  if (aPath[pos] == ':' || pos == 0 || (pos > 0 && aPath[pos - 1] == ':')) {
    return std::string(aPath.substr(0, pos + 1));
  }
  return std::string(aPath.substr(0, pos));
}

std::string ExtractFileName(std::string_view aPath) {
  const std::size_t pos = LastDelimiter(aPath, true);
  return std::string(pos == std::string_view::npos ? aPath : aPath.substr(pos + 1));
}

std::string ExtractFileExt(std::string_view aPath) {
  const std::string name = ExtractFileName(aPath);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(std::string_view aPath, std::string_view aExt) {
  const std::size_t nameStart = aPath.size() - ExtractFileName(aPath).size();
  const std::size_t dot = aPath.rfind('.');
  const std::size_t end = (dot != std::string_view::npos && dot >= nameStart) ? dot : aPath.size();
  return std::string(aPath.substr(0, end)) + std::string(aExt);
}

std::string IncludeTrailingPathDelimiter(std::string_view aPath) {
  std::string out(aPath);
  if (out.empty() || !IsPathDelimiter(out.back())) out += kPathDelim;
  return out;
}

std::string ExcludeTrailingPathDelimiter(std::string_view aPath) {
  std::string out(aPath);
  if (!out.empty() && IsPathDelimiter(out.back())) out.pop_back();
  return out;
}

std::string JoinPath(std::string_view aFirst, std::string_view aSecond) {
  if (!aSecond.empty() && aSecond.front() == '\\') aSecond.remove_prefix(1);
  std::string out(aFirst);
  if (!out.empty() && out.back() != '\\' && !aSecond.empty()) out += '\\';
  out += aSecond;
  return out;
}

std::string ExtractDriveOrShare(std::string_view aPath) {
  if (aPath.size() >= 2 && aPath[1] == ':') return std::string(aPath.substr(0, 2));
  if (aPath.starts_with(kUncPrefix)) return std::string(aPath.substr(0, aPath.find(kPathDelim, 2)));
  return {};
}

std::string FilePart(int aKind, std::string_view aPath) {
  switch (aKind) {
    case fpNameWithoutExt: return NameBeforeFirstDot(aPath);
    case fpExtension: return ExtractFileExt(aPath);
    case fpFileName: return ExtractFileName(aPath);
    case fpPathWithoutExt: return ExtractFilePath(aPath) + NameBeforeFirstDot(aPath);
    case fpFolder: return ExtractFilePath(aPath);
    default: return {};
  }
}

std::string TextBeforeOrAfter(std::string_view aText, bool aBefore, char aChar) {
  const std::size_t pos = aText.find(aChar);
  if (pos == std::string_view::npos) return std::string(aText);
  return std::string(aBefore ? aText.substr(0, pos) : aText.substr(pos + 1));
}

std::string FitPathToWidth(std::string_view aPath, const TTextMeasure& aMeasure, long aWidth) {
  if (aMeasure(aPath) <= aWidth) return std::string(aPath);
  const std::string root = ExtractDriveOrShare(aPath);
  std::string_view rest = aPath.substr(root.size());
  const std::size_t headEnd = rest.find(kPathDelim);
  const std::vector<std::size_t> tails =
      headEnd == std::string_view::npos ? std::vector<std::size_t>() : TailStarts(rest.substr(headEnd + 1));
  // With no folder to leave out, "...\" would only make the text longer and claim a gap.
  if (tails.empty()) return std::string(aPath);

  const std::string lead = root + std::string(rest.substr(0, headEnd + 1)) + std::string(kEllipsis);
  rest.remove_prefix(headEnd + 1);
  const auto candidate = [&](std::size_t aTail) { return lead + std::string(rest.substr(tails[aTail])); };
  // Leaving out more folders never makes the text wider, so the fewest that fit are found by
  // halving; a path of thousands of folders costs a few measurements, not thousands.
  std::size_t low = 0;
  std::size_t high = tails.size() - 1;
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    if (aMeasure(candidate(mid)) <= aWidth) {
      high = mid;
    } else {
      low = mid + 1;
    }
  }
  return candidate(low);
}

std::string ExtendedLengthPath(std::string_view aFullPath) {
  if (aFullPath.starts_with("\\\\?\\") || aFullPath.starts_with("\\\\.\\")) return std::string(aFullPath);
  if (HasDriveLetter(aFullPath) && aFullPath.size() > 2 && aFullPath[2] == '\\') {
    return "\\\\?\\" + std::string(aFullPath);
  }
  if (aFullPath.starts_with("\\\\") && aFullPath.size() > 2) return "\\\\?\\UNC\\" + std::string(aFullPath.substr(2));
  return std::string(aFullPath);
}

}  // namespace vek
