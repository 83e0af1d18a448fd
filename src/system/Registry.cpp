#include "system/Registry.h"

#include <windows.h>

#include <vector>

#include "system/UniqueResource.h"
#include "system/WinText.h"

namespace vek {

struct TRegistryKey::Handle {
  UniqueHKey key;
};

namespace {

HKEY RootHandle(TRegistryRoot aRoot) {
  switch (aRoot) {
    case TRegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case TRegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case TRegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case TRegistryRoot::Users: return HKEY_USERS;
    case TRegistryRoot::PerformanceData: return HKEY_PERFORMANCE_DATA;
    case TRegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    case TRegistryRoot::DynData: return HKEY_DYN_DATA;
  }
  return HKEY_CURRENT_USER;
}

SysResult FromStatus(LSTATUS aStatus) {
  return aStatus == ERROR_SUCCESS ? SysResult::Ok() : SysResult{static_cast<std::uint32_t>(aStatus)};
}

// Reads a value's type and bytes, growing the buffer while the value grows meanwhile.
LSTATUS QueryValue(HKEY aKey, const std::wstring& aName, DWORD& aType, std::vector<BYTE>& aData) {
  DWORD size = 0;
  LSTATUS status = ::RegQueryValueExW(aKey, aName.c_str(), nullptr, &aType, nullptr, &size);
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    aData.resize(size + sizeof(wchar_t));  // room for a terminator the value may lack
    DWORD got = size;
    status = ::RegQueryValueExW(aKey, aName.c_str(), nullptr, &aType, aData.data(), &got);
    if (status == ERROR_SUCCESS) {
      aData.resize(got);
      return status;
    }
    size = got > size ? got : size * 2 + 64;
  }
  return status;
}

}  // namespace

TRegistryKey::TRegistryKey() = default;
TRegistryKey::TRegistryKey(TRegistryKey&&) noexcept = default;
TRegistryKey& TRegistryKey::operator=(TRegistryKey&&) noexcept = default;
TRegistryKey::~TRegistryKey() = default;

SysResult TRegistryKey::Open(TRegistryRoot aRoot, const std::string& aKeyPath, TRegistryAccess aAccess,
                             TRegistryKey& aKey) {
  auto handle = std::make_unique<Handle>();
  const REGSAM access = aAccess == TRegistryAccess::Read ? KEY_READ : KEY_READ | KEY_WRITE;
  const LSTATUS status = ::RegOpenKeyExW(RootHandle(aRoot), Wide(aKeyPath).c_str(), 0, access, handle->key.put());
  if (status != ERROR_SUCCESS) return FromStatus(status);
  aKey.fHandle = std::move(handle);
  return SysResult::Ok();
}

SysResult TRegistryKey::Create(TRegistryRoot aRoot, const std::string& aKeyPath, TRegistryKey& aKey) {
  auto handle = std::make_unique<Handle>();
  const LSTATUS status = ::RegCreateKeyExW(RootHandle(aRoot), Wide(aKeyPath).c_str(), 0, nullptr, 0,
                                           KEY_READ | KEY_WRITE, nullptr, handle->key.put(), nullptr);
  if (status != ERROR_SUCCESS) return FromStatus(status);
  aKey.fHandle = std::move(handle);
  return SysResult::Ok();
}

bool TRegistryKey::ValueExists(const std::string& aName) const {
  if (!fHandle) return false;
  return ::RegQueryValueExW(fHandle->key.get(), Wide(aName).c_str(), nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

SysResult TRegistryKey::ReadString(const std::string& aName, std::string& aValue) const {
  aValue.clear();
  if (!fHandle) return SysResult{ERROR_INVALID_HANDLE};
  DWORD type = 0;
  std::vector<BYTE> data;
  if (const LSTATUS status = QueryValue(fHandle->key.get(), Wide(aName), type, data); status != ERROR_SUCCESS) {
    return FromStatus(status);
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return SysResult{ERROR_INVALID_DATATYPE};
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  std::copy(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(text.size() * sizeof(wchar_t)),
            reinterpret_cast<BYTE*>(text.data()));
  // The stored terminator, and anything after an embedded one, is not part of the text.
  text.resize(std::wstring_view(text.c_str()).size());
  aValue = Narrow(text);
  return SysResult::Ok();
}

SysResult TRegistryKey::ReadInteger(const std::string& aName, std::uint32_t& aValue) const {
  aValue = 0;
  if (!fHandle) return SysResult{ERROR_INVALID_HANDLE};
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  const LSTATUS status = ::RegQueryValueExW(fHandle->key.get(), Wide(aName).c_str(), nullptr, &type,
                                            reinterpret_cast<BYTE*>(&value), &size);
  if (status != ERROR_SUCCESS) return FromStatus(status);
  if (type != REG_DWORD || size != sizeof value) return SysResult{ERROR_INVALID_DATATYPE};
  aValue = value;
  return SysResult::Ok();
}

SysResult TRegistryKey::ReadValueText(const std::string& aName, std::string& aValue) const {
  aValue.clear();
  std::uint32_t number = 0;
  const SysResult integer = ReadInteger(aName, number);
  if (integer.ok()) {
    aValue = std::to_string(number);
    return integer;
  }
  return ReadString(aName, aValue);
}

SysResult TRegistryKey::SubKeyNames(std::vector<std::string>& aNames) const {
  aNames.clear();
  if (!fHandle) return SysResult{ERROR_INVALID_HANDLE};
  // A key name is at most 255 characters.
  std::wstring name(256, L'\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    const LSTATUS status =
        ::RegEnumKeyExW(fHandle->key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return SysResult::Ok();
    if (status != ERROR_SUCCESS) return FromStatus(status);
    aNames.push_back(Narrow(std::wstring(name.data(), length)));
  }
}

SysResult TRegistryKey::WriteString(const std::string& aName, const std::string& aValue) const {
  if (!fHandle) return SysResult{ERROR_INVALID_HANDLE};
  const std::wstring value = Wide(aValue);
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return FromStatus(::RegSetValueExW(fHandle->key.get(), Wide(aName).c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(value.c_str()), bytes));
}

SysResult TRegistryKey::WriteInteger(const std::string& aName, std::uint32_t aValue) const {
  if (!fHandle) return SysResult{ERROR_INVALID_HANDLE};
  const DWORD value = aValue;
  return FromStatus(::RegSetValueExW(fHandle->key.get(), Wide(aName).c_str(), 0, REG_DWORD,
                                     reinterpret_cast<const BYTE*>(&value), sizeof value));
}

SysResult TRegistryKey::DeleteValue(const std::string& aName) const {
  if (!fHandle) return SysResult{ERROR_INVALID_HANDLE};
  return FromStatus(::RegDeleteValueW(fHandle->key.get(), Wide(aName).c_str()));
}

SysResult TRegistryKey::RenameValue(const std::string& aOld, const std::string& aNew) const {
  if (!fHandle) return SysResult{ERROR_INVALID_HANDLE};
  DWORD type = 0;
  std::vector<BYTE> data;
  const std::wstring oldName = Wide(aOld);
  if (const LSTATUS status = QueryValue(fHandle->key.get(), oldName, type, data); status != ERROR_SUCCESS) {
    return FromStatus(status);
  }
  const LSTATUS written = ::RegSetValueExW(fHandle->key.get(), Wide(aNew).c_str(), 0, type, data.data(),
                                           static_cast<DWORD>(data.size()));
  if (written != ERROR_SUCCESS) return FromStatus(written);
  return FromStatus(::RegDeleteValueW(fHandle->key.get(), oldName.c_str()));
}

SysResult DeleteRegistryKeyTree(TRegistryRoot aRoot, const std::string& aKeyPath) {
  // An empty path would name the root itself and empty it.
  if (aKeyPath.empty()) return SysResult{ERROR_INVALID_PARAMETER};
  const LSTATUS status = ::RegDeleteTreeW(RootHandle(aRoot), Wide(aKeyPath).c_str());
  return status == ERROR_FILE_NOT_FOUND ? SysResult::Ok() : FromStatus(status);
}

std::string ReadRegistryString(TRegistryRoot aRoot, const std::string& aKeyPath, const std::string& aValueName) {
  TRegistryKey key;
  std::string value;
  if (!TRegistryKey::Open(aRoot, aKeyPath, TRegistryAccess::Read, key)) return {};
  if (!key.ReadString(aValueName, value)) return {};
  return value;
}

}  // namespace vek
