#pragma once
// What the script's INI and registry commands do to the machine, behind one small interface:
// single entries of INI files through the system's profile-string functions, and string values
// of registry keys. The installer uses the real one (CreateSystemIniRegistry, Windows only);
// the command tests of the host build use a fake that a shared table of cases holds to the
// real functions under Wine.
#include <memory>
#include <string>

#include "system/ProfileString.h"
#include "system/Registry.h"
#include "system/SysResult.h"

namespace vek {

enum class TPathKind : std::uint8_t { Missing, File, Folder };

class IIniRegistry {
 public:
  virtual ~IIniRegistry() = default;

  // ---- INI files (names as the profile functions take them)
  virtual TPathKind PathKind(const std::string& aPath) const = 0;
  // A new file holding only the UTF-16 LE byte-order mark, so the entries written into it are
  // stored as UTF-16. Fails when the file exists or its folder does not.
  virtual SysResult CreateUnicodeFile(const std::string& aFile) = 0;
  // The entry's whole value; aDefault when the file, section or entry is missing.
  virtual std::string ReadString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                                 const std::string& aDefault) const = 0;
  // Replaces an existing entry in place; a new one goes to the end of its section, a new
  // section to the end of the file.
  virtual SysResult WriteString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                                const std::string& aValue) = 0;
  virtual SysResult DeleteKey(const std::string& aFile, const std::string& aSection, const std::string& aKey) = 0;
  virtual SysResult EraseSection(const std::string& aFile, const std::string& aSection) = 0;
  // The section's entries in file order.
  virtual ProfileEntries ReadSection(const std::string& aFile, const std::string& aSection) const = 0;

  // ---- Registry (key paths below a root; an empty path is the root itself)
  virtual bool KeyExists(TRegistryRoot aRoot, const std::string& aKeyPath) const = 0;
  // The key opens for reading and writing and holds the value.
  virtual bool ValueExists(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName) const = 0;
  // Writes a REG_SZ value, creating the key and its missing parents.
  virtual SysResult WriteRegString(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName,
                                   const std::string& aValue) = 0;
  // A string value; another type fails with ERROR_INVALID_DATATYPE.
  virtual SysResult ReadRegString(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName,
                                  std::string& aValue) const = 0;
  virtual SysResult DeleteRegValue(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName) = 0;
  // The key with all its subkeys; an empty path (the root) is refused.
  virtual SysResult DeleteRegKey(TRegistryRoot aRoot, const std::string& aKeyPath) = 0;
  // Gives value aOld the name aNew, its data and type unchanged.
  virtual SysResult RenameRegValue(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aOld,
                                   const std::string& aNew) = 0;

  // The text of a failure for a report: "error 5: Access is denied."
  virtual std::string ErrorText(const SysResult& aResult) const = 0;
};

// The machine's own INI files and registry (Windows build only).
std::unique_ptr<IIniRegistry> CreateSystemIniRegistry();

}  // namespace vek
