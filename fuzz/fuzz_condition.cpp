// Fuzzes condition texts. The input's lines before the first empty line define user variables
// ("name=value", the first "=" splits); the rest is the condition. Any crash, sanitizer report
// or hang here is a defect of the evaluation.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/Conditions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize) {
  using namespace vek;
  std::string_view input(reinterpret_cast<const char*>(aData), aSize);
  TUserVariables vars;
  for (std::size_t end = input.find('\n'); end != std::string_view::npos && end > 0; end = input.find('\n')) {
    const std::string_view line = input.substr(0, end);
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos) vars.SetVariable(line.substr(0, equals), line.substr(equals + 1));
    input.remove_prefix(end + 1);
  }
  (void)CheckConditions(vars, input);
  return 0;
}
