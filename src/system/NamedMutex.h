#pragma once
// A mutex that other processes find by its name: the lock one run of the program takes so that
// a second run against the same installation does not work beside it. The system releases it
// when the holding process ends, however it ends, so a killed run never leaves it taken.
#include <cstdint>
#include <string>

#include "system/SysResult.h"

namespace vek {

class TNamedMutex {
 public:
  TNamedMutex() = default;
  TNamedMutex(const TNamedMutex&) = delete;
  TNamedMutex& operator=(const TNamedMutex&) = delete;
  TNamedMutex(TNamedMutex&& aOther) noexcept;
  TNamedMutex& operator=(TNamedMutex&& aOther) noexcept;
  ~TNamedMutex();

  // Waits at most aWaitMilliseconds for the mutex aName (made when no process has it yet) and
  // holds it. A mutex whose last holder ended without releasing it counts as free. The error is
  // WAIT_TIMEOUT (258) when another process held it all the time.
  SysResult Acquire(const std::string& aName, std::uint32_t aWaitMilliseconds);
  bool Held() const { return fHandle != nullptr; }
  void Release();

 private:
  void* fHandle = nullptr;
};

}  // namespace vek
