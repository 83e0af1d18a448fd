#include "system/IniRegistryAccess.h"

#include <windows.h>

#include "system/UniqueResource.h"
#include "system/WinText.h"

// <windows.h> maps WriteProfileString to the system's win.ini function; ours is another one.
#undef WriteProfileString

namespace vek {
namespace {

class TSystemIniRegistry final : public IIniRegistry {
 public:
  TPathKind PathKind(const std::string& aPath) const override {
    const DWORD attributes = ::GetFileAttributesW(Wide(aPath).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return TPathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? TPathKind::Folder : TPathKind::File;
  }

  SysResult CreateUnicodeFile(const std::string& aFile) override {
    const UniqueFileHandle file(::CreateFileW(Wide(aFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return SysResult{static_cast<std::uint32_t>(::GetLastError())};
    static constexpr BYTE kMark[] = {0xFF, 0xFE};
    DWORD written = 0;
    if (!::WriteFile(file.get(), kMark, sizeof kMark, &written, nullptr) || written != sizeof kMark) {
      return SysResult{static_cast<std::uint32_t>(::GetLastError())};
    }
    return SysResult::Ok();
  }

  std::string ReadString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                         const std::string& aDefault) const override {
    return ReadProfileString(aFile, aSection, aKey, aDefault);
  }
  SysResult WriteString(const std::string& aFile, const std::string& aSection, const std::string& aKey,
                        const std::string& aValue) override {
    return WriteProfileString(aFile, aSection, aKey, aValue);
  }
  SysResult DeleteKey(const std::string& aFile, const std::string& aSection, const std::string& aKey) override {
    return DeleteProfileKey(aFile, aSection, aKey);
  }
  SysResult EraseSection(const std::string& aFile, const std::string& aSection) override {
    return EraseProfileSection(aFile, aSection);
  }
  ProfileEntries ReadSection(const std::string& aFile, const std::string& aSection) const override {
    return ReadProfileSection(aFile, aSection);
  }

  bool KeyExists(TRegistryRoot aRoot, const std::string& aKeyPath) const override {
    TRegistryKey key;
    return TRegistryKey::Open(aRoot, aKeyPath, TRegistryAccess::Read, key).ok();
  }
  bool ValueExists(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName) const override {
    TRegistryKey key;
    return TRegistryKey::Open(aRoot, aKeyPath, TRegistryAccess::ReadWrite, key).ok() && key.ValueExists(aName);
  }
  SysResult WriteRegString(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName,
                           const std::string& aValue) override {
    TRegistryKey key;
    if (SysResult created = TRegistryKey::Create(aRoot, aKeyPath, key); !created) return created;
    return key.WriteString(aName, aValue);
  }
  SysResult ReadRegString(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName,
                          std::string& aValue) const override {
    TRegistryKey key;
    if (SysResult opened = TRegistryKey::Open(aRoot, aKeyPath, TRegistryAccess::Read, key); !opened) return opened;
    return key.ReadString(aName, aValue);
  }
  SysResult DeleteRegValue(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aName) override {
    TRegistryKey key;
    if (SysResult opened = TRegistryKey::Open(aRoot, aKeyPath, TRegistryAccess::ReadWrite, key); !opened) {
      return opened;
    }
    return key.DeleteValue(aName);
  }
  SysResult DeleteRegKey(TRegistryRoot aRoot, const std::string& aKeyPath) override {
    return DeleteRegistryKeyTree(aRoot, aKeyPath);
  }
  SysResult RenameRegValue(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aOld,
                           const std::string& aNew) override {
    TRegistryKey key;
    if (SysResult opened = TRegistryKey::Open(aRoot, aKeyPath, TRegistryAccess::ReadWrite, key); !opened) {
      return opened;
    }
    return key.RenameValue(aOld, aNew);
  }

  std::string ErrorText(const SysResult& aResult) const override {
    return "error " + std::to_string(aResult.error) + ": " + SystemErrorMessage(aResult.error);
  }
};

}  // namespace

std::unique_ptr<IIniRegistry> CreateSystemIniRegistry() { return std::make_unique<TSystemIniRegistry>(); }

}  // namespace vek
