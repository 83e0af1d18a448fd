#pragma once
// The user's number format, for sizes shown in the wizard.
#include <string>

namespace vek {

// The decimal separator of the user's locale; "." when the system does not tell one.
std::string UserDecimalSeparator();

}  // namespace vek
