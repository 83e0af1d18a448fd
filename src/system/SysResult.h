#pragma once
// The outcome of an operation that the platform may refuse: success, or the Win32 error code
// with the operation and its target, so that whoever reports it can say what failed on what.
// Every failure line takes one form: Verb "target": failed, error N (the system's text).
#include <cstdint>
#include <string>
#include <string_view>

namespace vek {

struct [[nodiscard]] SysResult {
  SysResult() = default;
  explicit SysResult(std::uint32_t aError) : error(aError) {}
  SysResult(std::uint32_t aError, const char* aOperation, std::string aTarget)
      : error(aError), operation(aOperation), target(std::move(aTarget)) {}

  std::uint32_t error = 0;           // 0: success; otherwise the GetLastError()/LSTATUS value
  const char* operation = nullptr;   // the verb of the log line ("Delete", "Copy"), when known
  std::string target;                // the path, key or command it worked on

  bool ok() const { return error == 0; }
  explicit operator bool() const { return ok(); }
  static SysResult Ok() { return {}; }
  static SysResult Failure(std::uint32_t aError, const char* aOperation, std::string aTarget) {
    return {aError, aOperation, std::move(aTarget)};
  }
};

// The system's own text for an error code, without the trailing line break.
std::string SystemErrorMessage(std::uint32_t aError);

// Verb "target": failed, error N (the system's text)
std::string FailureLine(std::string_view aVerb, std::string_view aTarget, const SysResult& aResult);
// The same from the result's own operation and target ("Operation" and "" when it has none).
std::string FailureLine(const SysResult& aResult);

}  // namespace vek
