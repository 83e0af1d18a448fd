#pragma once
// An uninstall registration record: one entry of the system's list of installed programs (the
// registry key below the system's uninstall key, the name shown, the publisher and the command
// that removes the program). A record without Key does not exist.
//
// In the script's "UninstallExternals" sections and in the cleanup record a section holds up to
// eleven records: the one without number uses the keys Key, DisplayString, Publisher and
// UninstallString, record n (1 to 10) the same keys followed by n.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// The INI file that records are read from and written to.
class TIniAccess {
 public:
  virtual ~TIniAccess() = default;
  virtual std::string ReadString(const std::string& aSection, const std::string& aKey,
                                 const std::string& aDefault) const = 0;
  // False when the value could not be written.
  virtual bool WriteString(const std::string& aSection, const std::string& aKey, const std::string& aValue) = 0;
};

using TTextExpander = std::function<std::string(std::string_view)>;

constexpr int kUnnumberedRecord = -1;
constexpr int kLastRecordNumber = 10;

struct TUnInstallInfo {
  std::string Key;  // name of the key below the system's uninstall key
  std::string DisplayName;
  std::string UninstallString;
  std::string Publisher;

  // aIndex is kUnnumberedRecord or 1 to 10. False (and the record unchanged in its Key) when the
  // section has no Key for that index.
  bool LoadFromIniFile(const TIniAccess& aIni, const std::string& aSection, int aIndex, const TTextExpander& aExpand);
  bool SaveToIniFile(TIniAccess& aIni, const std::string& aSection, int aIndex) const;
  // Rewrites the record at aIndex when that slot holds the same Key (ignoring case).
  bool UpdateIniFile(TIniAccess& aIni, const std::string& aSection, int aIndex) const;
  // Saves the record in the first free slot; false when all eleven are taken.
  bool AddToIniFile(TIniAccess& aIni, const std::string& aSection) const;
};

// Every record of a section: the one without number, then 1 to 10; a gap does not end the list.
std::vector<TUnInstallInfo> LoadUninstallRecords(const TIniAccess& aIni, const std::string& aSection,
                                                 const TTextExpander& aExpand);

// Each record rewrites the slot that holds its Key, or takes the first free one.
void MergeUninstallRecords(const std::vector<TUnInstallInfo>& aRecords, TIniAccess& aIni, const std::string& aSection);

}  // namespace vek
