#include "system/SysResult.h"

namespace vek {

std::string FailureLine(std::string_view aVerb, std::string_view aTarget, const SysResult& aResult) {
  std::string line(aVerb);
  line.append(" \"").append(aTarget).append("\": failed, error ").append(std::to_string(aResult.error));
  const std::string reason = SystemErrorMessage(aResult.error);
  if (!reason.empty()) line.append(" (").append(reason).append(")");
  return line;
}

std::string FailureLine(const SysResult& aResult) {
  return FailureLine(aResult.operation ? aResult.operation : "Operation", aResult.target, aResult);
}

}  // namespace vek
