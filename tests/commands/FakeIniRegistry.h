#pragma once
// INI files and a registry in memory, for the command tests of the host build. It behaves as the
// profile-string functions and the registry do under Wine where the commands can tell: names
// compare without regard to case, a new entry goes to the end of its section, a write to a
// missing file creates it, blanks around names and values are not kept, and one pair of double
// quotes around a value read is removed. The shared table of command cases
// (ini_cmd_cases.h) runs against this fake and against the real functions under Wine.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "system/IniRegistryAccess.h"

namespace vek::test {

class TFakeIniRegistry final : public IIniRegistry {
 public:
  struct TSection {
    std::string name;
    ProfileEntries entries;
  };
  struct TFile {
    bool unicode = false;  // created with the UTF-16 byte-order mark
    std::vector<TSection> sections;
  };
  struct TValue {
    std::string name;
    std::uint32_t type = 1;  // REG_SZ
    std::string data;
  };
  struct TKey {
    std::string name;
    std::map<std::string, TValue> values;  // by upper-cased name
    std::map<std::string, TKey> subkeys;   // by upper-cased name
  };

  // A folder: an INI command naming it must not touch it.
  void AddFolder(const std::string& aPath);
  // A value of another type than a string, as other programs leave them.
  void SetRegValue(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName, std::uint32_t aType,
                   const std::string& aData);
  const TFile* File(const std::string& aPath) const;
  const TValue* RegValue(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName) const;

  TPathKind PathKind(const std::string& aPath) const override;
  SysResult CreateUnicodeFile(const std::string& aFile) override;
  std::string ReadString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                         const std::string& aDefault) const override;
  SysResult WriteString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                        const std::string& aValue) override;
  SysResult DeleteKey(const std::string& aFile, const std::string& aSection, const std::string& aKey) override;
  SysResult EraseSection(const std::string& aFile, const std::string& aSection) override;
  ProfileEntries ReadSection(const std::string& aFile, const std::string& aSection) const override;

  bool KeyExists(TRegistryRoot aRoot, const std::string& aKeyPath) const override;
  bool ValueExists(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName) const override;
  SysResult WriteRegString(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName,
                           const std::string& aValue) override;
  SysResult ReadRegString(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName,
                          std::string& aValue) const override;
  SysResult DeleteRegValue(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName) override;
  SysResult DeleteRegKey(TRegistryRoot aRoot, const std::string& aKeyPath) override;
  SysResult RenameRegValue(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aOld,
                           const std::string& aNew) override;
  std::string ErrorText(const SysResult& aResult) const override;

 private:
  TFile* FindFile(const std::string& aPath);
  TSection* FindSection(TFile& aFile, const std::string& aName);
  // The roots exist from the start; they are made on first use.
  TKey* FindKey(TRegistryRoot aRoot, const std::string& aKeyPath) const;
  TKey* CreateKey(TRegistryRoot aRoot, const std::string& aKeyPath, SysResult& aResult);

  std::map<std::string, TFile> fFiles;  // by upper-cased path
  std::set<std::string> fFolders;       // upper-cased paths
  mutable std::map<TRegistryRoot, TKey> fRoots;
};

}  // namespace vek::test
