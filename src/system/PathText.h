#pragma once
// Pure texts of Windows paths: no file system access, so they build and test in both builds.
// "\" and "/" both separate folders; ":" ends a drive.
#include <string>
#include <string_view>

namespace vek {

inline constexpr char kPathDelim = '\\';

bool IsPathDelimiter(char aChar);
// Everything up to and including the last delimiter ("C:\a\b.txt" -> "C:\a\").
std::string ExtractFilePath(std::string_view aPath);
// The same without the trailing delimiter, except for a root ("C:\b.txt" -> "C:\").
std::string ExtractFileDir(std::string_view aPath);
// The part after the last delimiter ("C:\a\b.txt" -> "b.txt").
std::string ExtractFileName(std::string_view aPath);
// The extension of the file name with its dot, or empty.
std::string ExtractFileExt(std::string_view aPath);
// Replaces the extension of the file name (or appends aExt when there is none).
std::string ChangeFileExt(std::string_view aPath, std::string_view aExt);
std::string IncludeTrailingPathDelimiter(std::string_view aPath);
std::string ExcludeTrailingPathDelimiter(std::string_view aPath);
// One "\" between a non-empty first part that does not end in "\" and a non-empty second
// part, whose own leading "\" is dropped.
std::string JoinPath(std::string_view aFirst, std::string_view aSecond);

}  // namespace vek
