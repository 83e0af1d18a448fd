#pragma once
// The names of registry roots in script lines, each with its short form. Names compare exactly,
// in upper case as written here.
#include <optional>
#include <string_view>

#include "system/Registry.h"

namespace vek {

std::optional<TRegistryRoot> FindRegistryRoot(std::string_view aName);

}  // namespace vek
