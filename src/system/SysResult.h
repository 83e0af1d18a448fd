#pragma once
// The outcome of an operation that the platform may refuse: success, or the Win32 error code.
// Callers turn it into a log line or a message ("Copy "a" > "b": failed, error 5").
#include <cstdint>
#include <string>

namespace vek {

struct [[nodiscard]] SysResult {
  std::uint32_t error = 0;  // 0: success; otherwise the GetLastError()/LSTATUS value

  bool ok() const { return error == 0; }
  explicit operator bool() const { return ok(); }
  static SysResult Ok() { return {}; }
};

// The system's own text for an error code, without the trailing line break.
std::string SystemErrorMessage(std::uint32_t aError);

}  // namespace vek
