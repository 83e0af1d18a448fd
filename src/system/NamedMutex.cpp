#include "system/NamedMutex.h"

#include <windows.h>

#include <utility>

#include "system/WinText.h"

namespace vek {

TNamedMutex::TNamedMutex(TNamedMutex&& aOther) noexcept : fHandle(std::exchange(aOther.fHandle, nullptr)) {}

TNamedMutex& TNamedMutex::operator=(TNamedMutex&& aOther) noexcept {
  if (this != &aOther) {
    Release();
    fHandle = std::exchange(aOther.fHandle, nullptr);
  }
  return *this;
}

TNamedMutex::~TNamedMutex() { Release(); }

SysResult TNamedMutex::Acquire(const std::string& aName, std::uint32_t aWaitMilliseconds) {
  Release();
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, Wide(aName).c_str());
  if (!mutex) return SysResult::Failure(::GetLastError(), "Create mutex", aName);
  const DWORD waited = ::WaitForSingleObject(mutex, aWaitMilliseconds);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
    fHandle = mutex;
    return SysResult::Ok();
  }
  const DWORD error = waited == WAIT_TIMEOUT ? WAIT_TIMEOUT : ::GetLastError();
  ::CloseHandle(mutex);
  return SysResult::Failure(error, "Wait for mutex", aName);
}

void TNamedMutex::Release() {
  if (!fHandle) return;
  ::ReleaseMutex(static_cast<HANDLE>(fHandle));
  ::CloseHandle(static_cast<HANDLE>(fHandle));
  fHandle = nullptr;
}

}  // namespace vek
