#include "engine/SingleRunLock.h"

#include "base/CaseMap.h"
#include "engine/CleanupScript.h"

namespace vek {
namespace {

std::string CanonicalFolder(const std::string& aFullPath) {
  std::string folder;
  for (const char c : UpperCase(aFullPath)) {
    const char d = c == '/' ? '\\' : c;
    // A doubled delimiter names the same folder; a leading pair (a share) is kept.
    if (d == '\\' && folder.size() > 1 && folder.back() == '\\') continue;
    folder += d;
  }
  while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
  return folder;
}

// FNV-1a, 64 bits: stable across builds and processes, which std::hash is not.
std::uint64_t Fnv1a(const std::string& aText) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const unsigned char c : aText) {
    hash ^= c;
    hash *= 1099511628211ULL;
  }
  return hash;
}

}  // namespace

std::string SingleRunLockName(const std::string& aFullPath) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::uint64_t hash = Fnv1a(CanonicalFolder(aFullPath));
  std::string hex(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) hex[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
  // Global: runs in other sessions of a terminal server share the installation too.
  return "Global\\VekSetupRun-" + hex;
}

std::string RecordedSystemFolder(const TCleanupScript& aRecord) {
  for (const std::string& folder : aRecord.SectionKeys("LuM CleanUp Directories")) {
    if (aRecord.ReadString(folder, "CLEANUP.INI", "") == "1") return folder;
  }
  return std::string();
}

}  // namespace vek
