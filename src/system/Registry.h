#pragma once
// The Windows registry by UTF-8 names: keys opened under one of the predefined roots, string and
// integer values read and written. Every open key is closed by its owner (RAII).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "system/SysResult.h"

namespace vek {

enum class TRegistryRoot : std::uint8_t {
  ClassesRoot,
  CurrentUser,
  LocalMachine,
  Users,
  PerformanceData,
  CurrentConfig,
  DynData,
};

enum class TRegistryAccess : std::uint8_t { Read, ReadWrite };

class TRegistryKey {
 public:
  TRegistryKey();
  TRegistryKey(TRegistryKey&&) noexcept;
  TRegistryKey& operator=(TRegistryKey&&) noexcept;
  ~TRegistryKey();

  // Opens an existing key; aKeyPath is below the root ("Software\Company\Product").
  static SysResult Open(TRegistryRoot aRoot, const std::string& aKeyPath, TRegistryAccess aAccess,
                        TRegistryKey& aKey);
  // Opens the key for reading and writing, creating it and its missing parents.
  static SysResult Create(TRegistryRoot aRoot, const std::string& aKeyPath, TRegistryKey& aKey);

  bool ValueExists(const std::string& aName) const;
  // A string value (REG_SZ or REG_EXPAND_SZ, unexpanded); another type fails with
  // ERROR_INVALID_DATATYPE.
  SysResult ReadString(const std::string& aName, std::string& aValue) const;
  // A REG_DWORD value; another type fails with ERROR_INVALID_DATATYPE.
  SysResult ReadInteger(const std::string& aName, std::uint32_t& aValue) const;
  // A string value as it is, a REG_DWORD as unsigned decimal text; other types fail with
  // ERROR_INVALID_DATATYPE.
  SysResult ReadValueText(const std::string& aName, std::string& aValue) const;
  // The names of the key's subkeys in the order the system lists them.
  SysResult SubKeyNames(std::vector<std::string>& aNames) const;
  SysResult WriteString(const std::string& aName, const std::string& aValue) const;
  SysResult WriteInteger(const std::string& aName, std::uint32_t aValue) const;
  SysResult DeleteValue(const std::string& aName) const;
  // Gives value aOld the name aNew with its data and type as they are; an existing aNew is
  // replaced.
  SysResult RenameValue(const std::string& aOld, const std::string& aNew) const;

 private:
  struct Handle;
  std::unique_ptr<Handle> fHandle;
};

// Deletes the key with all its subkeys; a missing key is no error. An empty path is refused.
SysResult DeleteRegistryKeyTree(TRegistryRoot aRoot, const std::string& aKeyPath);

// Reads one string value of a key opened read-only; any failure gives empty text.
std::string ReadRegistryString(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aValueName);

}  // namespace vek
