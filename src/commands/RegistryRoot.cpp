#include "commands/RegistryRoot.h"

#include <array>

namespace vek {
namespace {

struct TRootName {
  std::string_view name;
  std::string_view shortName;
  TRegistryRoot root;
};

constexpr std::array<TRootName, 7> kRootNames{{
    {"HKEY_LOCAL_MACHINE", "HKEY_LM", TRegistryRoot::LocalMachine},
    {"HKEY_CURRENT_USER", "HKEY_CU", TRegistryRoot::CurrentUser},
    {"HKEY_CLASSES_ROOT", "HKEY_CR", TRegistryRoot::ClassesRoot},
    {"HKEY_USERS", "HKEY_US", TRegistryRoot::Users},
    {"HKEY_PERFORMANCE_DATA", "HKEY_PD", TRegistryRoot::PerformanceData},
    {"HKEY_CURRENT_CONFIG", "HKEY_CC", TRegistryRoot::CurrentConfig},
    {"HKEY_DYN_DATA", "HKEY_DD", TRegistryRoot::DynData},
}};
static_assert(kRootNames.size() == static_cast<std::size_t>(TRegistryRoot::DynData) + 1, "every root has its names");

}  // namespace

std::optional<TRegistryRoot> FindRegistryRoot(std::string_view aName) {
  for (const TRootName& entry : kRootNames) {
    if (aName == entry.name || aName == entry.shortName) return entry.root;
  }
  return std::nullopt;
}

}  // namespace vek
