// Fuzzes the version-test lines of a script with arbitrary bytes: both ways of setting a test
// up, and the comparison of an arbitrary found value against it, must give a defined result
// without reading outside the input. The found value comes from the input too, served by a
// source that has every file, value and resource.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "commands/VerTest.h"

namespace {

class FuzzSource final : public vek::TVersionSource {
 public:
  explicit FuzzSource(std::string aFound) : fFound(std::move(aFound)) {}
  std::string ReadIniString(const std::string&, const std::string&, const std::string&,
                            const std::string&) const override {
    return fFound;
  }
  std::string ReadRegistryString(vek::TRegistryRoot, const std::string&, const std::string&) const override {
    return fFound;
  }
  bool FileExists(const std::string& aPath) const override { return !aPath.empty(); }
  std::optional<std::string> ReadRegistryValue(vek::TRegistryRoot, const std::string&,
                                               const std::string&) const override {
    if (fFound.empty()) return std::nullopt;
    return fFound;
  }
  std::vector<std::string> ReadRegistrySubKeys(vek::TRegistryRoot, const std::string&) const override {
    return {fFound, "1.0", "Temp"};
  }
  vek::TVersionResource ReadVersionResource(const std::string&) const override {
    vek::TVersionResource resource;
    resource.found = fFound.size() > 2;
    resource.FileVersion = fFound;
    for (const char c : fFound)
      resource.FixedFileVersion = resource.FixedFileVersion * 31 + static_cast<unsigned char>(c);
    return resource;
  }

 private:
  std::string fFound;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize) {
  using namespace vek;
  const std::string_view input(reinterpret_cast<const char*>(aData), aSize);
  // The input is "line\nfound value"; a line alone is compared with an empty value.
  const std::size_t newline = input.find('\n');
  const std::string_view line = input.substr(0, newline);
  const std::string found =
      newline == std::string_view::npos ? std::string() : std::string(input.substr(newline + 1));
  const FuzzSource source(found);

  TFileVersionCheck oneText;
  oneText.SetVersionTest(line);
  TVersionTrace trace;
  const bool passed = oneText.IsVersionOk(source, "dk", &trace);
  (void)VersionCheckLogLine(oneText, trace, passed);
  (void)oneText.GetTestTargetVersion(source, "uk");

  // The same line split as the update's script lines are: file, section, test.
  const std::size_t first = line.find(',');
  const std::string_view rest = first == std::string_view::npos ? line : line.substr(first + 1);
  const std::size_t second = rest.find(',');
  TFileVersionCheck threeParts;
  threeParts.SetVersionTest(first == std::string_view::npos ? std::string_view() : line.substr(0, first),
                            rest.substr(0, second),
                            second == std::string_view::npos ? std::string_view() : rest.substr(second + 1));
  (void)threeParts.IsVersionOk(source, "uk");

  // A parsed target never holds a part that a version resource could not have.
  for (const std::int32_t part : {threeParts.version.Major, threeParts.version.Minor,
                                  threeParts.version.Release, threeParts.version.Build}) {
    if (part < -1 || part > 0xFFFF) __builtin_trap();
  }
  TfileVersion parsed;
  if (ParseFoundVersion(found, parsed) == vpOk && (parsed.Major < 0 || parsed.Major > 0xFFFF))
    __builtin_trap();
  return 0;
}
