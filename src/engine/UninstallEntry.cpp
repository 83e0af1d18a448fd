#include "engine/UninstallEntry.h"

#include <charconv>

namespace vek {
namespace {

enum class TKind { text, number };

struct TValueRow {
  const char* name;
  TKind kind;
};

constexpr TValueRow kRows[] = {
    {"DisplayVersion", TKind::text}, {"QuietUninstallString", TKind::text}, {"InstallLocation", TKind::text},
    {"InstallDate", TKind::text},    {"EstimatedSize", TKind::number},      {"DisplayIcon", TKind::text},
    {"NoModify", TKind::number},     {"NoRepair", TKind::number},
};

// The value this program computes; nothing when it has none to give.
std::optional<std::string> Computed(const std::string& aName, const TUninstallFacts& aFacts) {
  const auto unlessEmpty = [](const std::string& aText) {
    return aText.empty() ? std::nullopt : std::optional<std::string>(aText);
  };
  if (aName == "DisplayVersion") return unlessEmpty(aFacts.version);
  if (aName == "QuietUninstallString") {
    return aFacts.uninstallString.empty() ? std::nullopt
                                          : std::optional<std::string>(aFacts.uninstallString + " /Q");
  }
  if (aName == "InstallLocation") return unlessEmpty(aFacts.installLocation);
  if (aName == "InstallDate") return unlessEmpty(aFacts.installDate);
  if (aName == "EstimatedSize") {
    // KiB, rounded up; a size beyond the DWORD is held at its largest value.
    const std::uint64_t kib = aFacts.recordedBytes / 1024 + (aFacts.recordedBytes % 1024 != 0 ? 1 : 0);
    return std::to_string(kib > 0xFFFFFFFFu ? 0xFFFFFFFFu : kib);
  }
  if (aName == "DisplayIcon") return unlessEmpty(aFacts.setupProgram);
  return std::string("1");  // NoModify, NoRepair
}

// A number as the script writes it; a text that is no number is written as a string instead.
std::optional<std::uint32_t> AsNumber(const std::string& aText) {
  std::uint32_t value = 0;
  const char* end = aText.data() + aText.size();
  const auto [ptr, error] = std::from_chars(aText.data(), end, value);
  if (error != std::errc() || ptr != end || aText.empty()) return std::nullopt;
  return value;
}

}  // namespace

const std::vector<std::string>& UninstallEntryValueNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (const TValueRow& row : kRows) list.emplace_back(row.name);
    return list;
  }();
  return names;
}

std::vector<TUninstallValue> UninstallEntryValues(const TUninstallFacts& aFacts,
                                                  const TScriptValue& aScriptValue) {
  std::vector<TUninstallValue> values;
  for (const TValueRow& row : kRows) {
    const std::optional<std::string> own = aScriptValue ? aScriptValue(row.name) : std::nullopt;
    const std::optional<std::string> text = own ? own : Computed(row.name, aFacts);
    if (!text) continue;
    const std::optional<std::uint32_t> number = row.kind == TKind::number ? AsNumber(*text) : std::nullopt;
    values.push_back(number ? TUninstallValue{row.name, true, {}, *number}
                            : TUninstallValue{row.name, false, *text, 0});
  }
  return values;
}

}  // namespace vek
