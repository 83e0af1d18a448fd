// Fuzzes the reading of a cleanup record, which a cleanup run takes from disk and which may be
// damaged or edited: the whole file in any encoding. Every folder and file name it gives is
// put through the checks that decide what a cleanup may remove, and the uninstall records are
// read from it. Any crash, sanitizer report or hang is a defect; so is a name that passes the
// checks while it could reach outside its folder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/CleanupSafety.h"
#include "engine/CleanupScript.h"
#include "system/PathText.h"

namespace {

// A name climbs when one of its parts could mean the parent folder: the system drops trailing
// dots and blanks of a part, so any part of dots and blanks with two dots or more may. A part
// that merely ends in dots ("a.txt..") is a name like any other.
bool Climbs(std::string_view aName) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = aName.find_first_of("\\/", start);
    const std::string_view part = aName.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (part.find_first_not_of(". ") == std::string_view::npos &&
        std::count(part.begin(), part.end(), '.') >= 2) {
      return true;
    }
    if (end == std::string_view::npos) return false;
    start = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize) {
  using namespace vek;
  const std::string_view bytes(reinterpret_cast<const char*>(aData), aSize);
  const std::optional<TCleanupScript> record = ParseCleanupRecord("CLEANUP.INI", bytes);
  if (!record) return 0;
  const TProtectedFolders none;
  for (const std::string& folder : record->SectionKeys("LuM CleanUp Directories")) {
    if (!IsProtectedFolder(folder, none) && (folder.size() < 4 || Climbs(folder))) __builtin_trap();
    for (const std::string& name : record->SectionKeys(folder)) {
      if (IsSafeRecordedName(name) && (Climbs(name) || HasDriveLetter(name) || IsPathDelimiter(name[0]))) {
        __builtin_trap();
      }
      (void)BackupFileName(JoinPath(folder, name));
    }
  }
  const auto same = [](std::string_view aText) { return std::string(aText); };
  (void)LoadUninstallRecords(*record, "UnInstallExternals", same);
  (void)record->Serialize();
  return 0;
}
