#include "system/PathText.h"

namespace vek {
namespace {

std::size_t LastDelimiter(std::string_view aPath, bool aWithDrive) {
  for (std::size_t i = aPath.size(); i > 0; --i) {
    const char c = aPath[i - 1];
    if (IsPathDelimiter(c) || (aWithDrive && c == ':')) return i - 1;
  }
  return std::string_view::npos;
}

}  // namespace

bool IsPathDelimiter(char aChar) { return aChar == '\\' || aChar == '/'; }

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
  if (aFirst.empty()) return std::string(aSecond);
  if (!aSecond.empty() && aSecond.front() == '\\') aSecond.remove_prefix(1);
  std::string out(aFirst);
  if (!out.empty() && out.back() != '\\' && !aSecond.empty()) out += '\\';
  out += aSecond;
  return out;
}

}  // namespace vek
