#include "system/Resource.h"

#include <windows.h>

#include "system/WinText.h"

namespace vek {
namespace {

// Resources of the program's own module stay mapped for the life of the process; nothing
// found here needs to be released.
HRSRC FindRawResource(const std::string& aName) {
  return ::FindResourceW(::GetModuleHandleW(nullptr), Wide(aName).c_str(), RT_RCDATA);
}

}  // namespace

bool HasRawResource(const std::string& aName) { return FindRawResource(aName) != nullptr; }

bool ReadRawResource(const std::string& aName, std::string& aBytes) {
  aBytes.clear();
  const HRSRC info = FindRawResource(aName);
  if (info == nullptr) return false;
  const HMODULE module = ::GetModuleHandleW(nullptr);
  const DWORD size = ::SizeofResource(module, info);
  const HGLOBAL loaded = ::LoadResource(module, info);
  const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (data == nullptr) return false;
  aBytes.assign(static_cast<const char*>(data), size);
  return true;
}

}  // namespace vek
