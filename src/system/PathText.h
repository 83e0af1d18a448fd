#pragma once
// Pure texts of Windows paths: no file system access, so they build and test in both builds.
// "\" and "/" both separate folders; ":" ends a drive.
#include <functional>
#include <string>
#include <string_view>

namespace vek {

inline constexpr char kPathDelim = '\\';

bool IsPathDelimiter(char aChar);
// A NUL inside a text ends it for the Win32 API, which would then act on a shorter path than
// the one asked for; such a text is refused before it gets there.
bool ContainsNul(std::string_view aText);
// "X:" at the start, X a letter A to Z in either case.
bool HasDriveLetter(std::string_view aPath);
// aPath is aFolder or lies inside it, compared without regard to case: "C:\Apps\x" is under
// "C:\Apps" and "c:\apps\", "C:\Apps2\x" is not. An empty folder contains nothing.
bool IsPathUnderFolder(std::string_view aPath, std::string_view aFolder);
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

// Paths up to this many UTF-16 units go to the file functions as they are: the classic MAX_PATH
// less the room CreateDirectory keeps for a file name inside the folder.
inline constexpr std::size_t kClassicPathLimit = 248;
// The longest path the system takes in any form.
inline constexpr std::size_t kLongestPath = 32767;
// The extended-length form of an absolute path without "." or ".." parts and with "\" only:
// "\\?\C:\..." for a drive, "\\?\UNC\srv\share\..." for a share. A path already in that form, or
// one that is neither, is returned as it is.
std::string ExtendedLengthPath(std::string_view aFullPath);

// The drive or server a path starts with: "X:" when the second character is ":"; for a path
// starting with "\\" the "\\" and the server name up to the next "\" ("\\srv\share\x" ->
// "\\srv"); otherwise empty.
std::string ExtractDriveOrShare(std::string_view aPath);

// One part of a file path, chosen by number, as script texts and log names ask for it:
enum TFilePartKind : int {
  fpNameWithoutExt = 0,  // file name cut before its first "."
  fpExtension = 1,       // extension with its dot
  fpFileName = 2,        // file name
  fpPathWithoutExt = 3,  // folder with trailing "\", then the name cut before its first "."
  fpFolder = 4,          // folder with trailing "\"
};
// Any other kind gives an empty text.
std::string FilePart(int aKind, std::string_view aPath);

// The text before (aBefore) or after the first aChar; the whole text when aChar is absent.
std::string TextBeforeOrAfter(std::string_view aText, bool aBefore, char aChar);

// Width of a text as it will be drawn (pixels on a canvas, or characters in tests).
using TTextMeasure = std::function<long(std::string_view aText)>;
// A path shortened for a label of aWidth: the drive or server and the text up to the next "\"
// stay, then "...\" replaces as many leading folders of the rest as it takes to fit
// ("C:\Program Files\Co\bin\app.exe" -> "C:\...\bin\app.exe"). The file name is always kept,
// even when it alone is wider than aWidth.
std::string FitPathToWidth(std::string_view aPath, const TTextMeasure& aMeasure, long aWidth);

}  // namespace vek
