#include "engine/CleanupSafety.h"

#include <cctype>
#include <vector>

#include "base/CaseMap.h"
#include "system/PathText.h"

namespace vek {
namespace {

bool IsDelimiter(char aChar) { return aChar == '\\' || aChar == '/'; }

// A name made of dots and blanks only: Windows drops trailing dots and blanks, so "..." and
// ".. " climb like "..". A single "." names the folder itself.
bool IsDotName(std::string_view aPart) {
  return !aPart.empty() && aPart.find_first_not_of(". ") == std::string_view::npos;
}

std::vector<std::string> SplitAtDelimiters(std::string_view aPath) {
  std::vector<std::string> parts(1);
  for (const char c : aPath) {
    if (IsDelimiter(c)) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

bool HasParentComponent(std::string_view aPath) {
  for (const std::string& part : SplitAtDelimiters(aPath)) {
    if (IsDotName(part) && part != ".") return true;
  }
  return false;
}

// The root of an absolute path and the number of split parts it takes: "C:" (one part of
// "C:\..."), or "\\server\share" (four parts: two empty ones, server, share). Empty for a
// relative path, a path relative to a drive's current folder ("C:x"), the device forms
// "\\?\" and "\\.\", which bypass the system's own path rules, and a server or share of dots
// and blanks alone, which the system would shorten into one of those or into nothing.
std::string RootOf(const std::vector<std::string>& aParts, std::size_t& aRootParts) {
  const std::string& first = aParts[0];
  if (first.size() == 2 && first[1] == ':' && std::isalpha(static_cast<unsigned char>(first[0])) &&
      aParts.size() > 1) {
    aRootParts = 1;
    return UpperCase(first);
  }
  if (first.empty() && aParts.size() >= 4 && aParts[1].empty() && !aParts[2].empty() && aParts[2] != "?" &&
      !IsDotName(aParts[2]) && !aParts[3].empty() && !IsDotName(aParts[3])) {
    aRootParts = 4;
    return "\\\\" + aParts[2] + "\\" + aParts[3];
  }
  return {};
}

}  // namespace

std::optional<std::string> CanonicalFolder(std::string_view aPath) {
  if (ContainsNul(aPath)) return std::nullopt;
  const std::vector<std::string> parts = SplitAtDelimiters(aPath);
  std::size_t rootParts = 0;
  std::string folder = RootOf(parts, rootParts);
  if (folder.empty()) return std::nullopt;
  for (std::size_t i = rootParts; i < parts.size(); ++i) {
    std::string part = parts[i];
    if (part.empty() || part == ".") continue;
    if (IsDotName(part)) return std::nullopt;
    while (part.back() == '.' || part.back() == ' ') part.pop_back();
    folder += "\\" + part;
  }
  return folder;
}

bool IsProtectedFolder(std::string_view aFolder, const TProtectedFolders& aProtected) {
  const std::optional<std::string> folder = CanonicalFolder(aFolder);
  if (!folder) return true;
  std::size_t rootParts = 0;
  const std::vector<std::string> parts = SplitAtDelimiters(aFolder);
  if (SameText(*folder, RootOf(parts, rootParts))) return true;  // a drive or share root
  for (const std::string& protectedFolder : aProtected.folders) {
    const std::optional<std::string> other = CanonicalFolder(protectedFolder);
    // The folder itself, and every folder that holds one of them.
    if (other && (SameText(*folder, *other) || IsPathUnderFolder(*other, *folder))) return true;
  }
  return false;
}

bool IsSafeRecordedName(std::string_view aName) {
  if (aName.empty() || ContainsNul(aName) || HasDriveLetter(aName) || IsPathDelimiter(aName[0])) return false;
  if (aName.find(':') != std::string_view::npos) return false;  // drives and alternate data streams
  return !HasParentComponent(aName);
}

std::string BackupFileName(std::string_view aPath) {
  const std::string ext = ExtractFileExt(aPath);
  if (ext.empty()) return {};
  const std::size_t dot = aPath.size() - ext.size();
  return std::string(aPath.substr(0, dot + 1)) + "~" + std::string(aPath.substr(dot + 1));
}

}  // namespace vek
