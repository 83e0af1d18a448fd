// Fuzzes INI and registry command lines with arbitrary bytes: splitting a line must keep its
// parts apart (no section holds the "," that ends it, no key the "=" that ends it, no file part
// a ","), and carrying the command out over a machine whose INI sections come from the input
// must end, touch no part the line refused and never read outside the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/UserChannel.h"
#include "commands/IniCmdRun.h"
#include "commands/IniFileCmd.h"

namespace {

using namespace vek;

// Every entry, key and value exists as the input says; writes succeed and are counted.
class FuzzMachine final : public IIniRegistry {
 public:
  explicit FuzzMachine(ProfileEntries aEntries) : fEntries(std::move(aEntries)) {}
  TPathKind PathKind(const std::string& aPath) const override {
    return aPath.size() % 3 == 0 ? TPathKind::File : (aPath.size() % 3 == 1 ? TPathKind::Missing : TPathKind::Folder);
  }
  SysResult CreateUnicodeFile(const std::string&) override { return Touch(); }
  std::string ReadString(const std::string&, const std::string&, const std::string& aKey,
                         const std::string& aDefault) const override {
    for (const auto& [name, value] : fEntries) {
      if (name == aKey) return value;
    }
    return aDefault;
  }
  SysResult WriteString(const std::string&, const std::string&, const std::string&, const std::string&) override {
    return Touch();
  }
  SysResult DeleteKey(const std::string&, const std::string&, const std::string&) override { return Touch(); }
  SysResult EraseSection(const std::string&, const std::string&) override { return Touch(); }
  ProfileEntries ReadSection(const std::string&, const std::string&) const override { return fEntries; }
  bool KeyExists(TRegistryRoot, const std::string& aKeyPath) const override { return aKeyPath.size() % 2 == 0; }
  bool ValueExists(TRegistryRoot, const std::string&, const std::string& aName) const override {
    return aName.size() % 2 == 0;
  }
  SysResult WriteRegString(TRegistryRoot, const std::string&, const std::string&, const std::string&) override {
    return Touch();
  }
  SysResult ReadRegString(TRegistryRoot, const std::string&, const std::string& aName,
                          std::string& aValue) const override {
    aValue = aName;
    return aName.size() % 5 == 0 ? SysResult{1804} : SysResult::Ok();
  }
  SysResult DeleteRegValue(TRegistryRoot, const std::string&, const std::string&) override { return Touch(); }
  SysResult DeleteRegKey(TRegistryRoot, const std::string& aKeyPath) override {
    if (aKeyPath.empty()) __builtin_trap();  // the root is never deleted
    return Touch();
  }
  SysResult RenameRegValue(TRegistryRoot, const std::string&, const std::string&, const std::string&) override {
    return Touch();
  }
  std::string ErrorText(const SysResult& aResult) const override { return "error " + std::to_string(aResult.error); }

  int touched = 0;

 private:
  SysResult Touch() {
    ++touched;
    return SysResult::Ok();
  }
  ProfileEntries fEntries;
};

class QuietChannel final : public IUserChannel {
 public:
  bool Silent() const override { return true; }
  void ShowMessage(const std::string&, const std::string&, TMsgDlgType) override { ++reports; }
  int Ask(const TQuestion&, bool*) override { return 0; }
  int reports = 0;
};

// "a=1\nb=2" as section entries.
ProfileEntries Entries(std::string_view aText) {
  ProfileEntries entries;
  while (!aText.empty()) {
    const std::size_t end = aText.find('\n');
    const std::string_view line = aText.substr(0, end);
    const std::size_t equals = line.find('=');
    entries.emplace_back(std::string(line.substr(0, equals)),
                         equals == std::string_view::npos ? std::string() : std::string(line.substr(equals + 1)));
    if (end == std::string_view::npos) break;
    aText.remove_prefix(end + 1);
  }
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize) {
  // The input is "line\nentries": the command line, then the lines of the section it finds.
  const std::string_view input(reinterpret_cast<const char*>(aData), aSize);
  const std::size_t newline = input.find('\n');
  const std::string line(input.substr(0, newline));
  FuzzMachine machine(Entries(newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1)));

  TRunContext run;
  TUserVariables vars;
  TExpandContext expand{run, vars, {}, std::nullopt, {}, {}};
  const TIniCmdParseContext parse{expand, {}, false, {}};
  TIniFileCmd cmd = ParseIniFileCmd(parse, aSize % 2 == 1, line);

  // Without variables to expand the parts are the line's own text, split where it says.
  if (line.find('%') == std::string::npos && line.find('$') == std::string::npos) {
    if (cmd.IniFileName.find(',') != std::string::npos) __builtin_trap();
    if (cmd.Section.find(',') != std::string::npos) __builtin_trap();
    if (cmd.Key.find('=') != std::string::npos) __builtin_trap();
  }

  QuietChannel channel;
  const TIniCmdRun env{machine, vars, channel, aSize % 3 == 0, aSize % 5 == 0, {}, [](const std::string&) {}};
  cmd.Execute(env);
  // A command with a NUL in any of its parts is never handed to the machine.
  bool nul = false;
  for (const std::string* part : {&cmd.IniFileName, &cmd.Section, &cmd.Key, &cmd.Value, &cmd.varname, &cmd.VarValue}) {
    nul = nul || part->find('\0') != std::string::npos;
  }
  if (nul && machine.touched != 0) __builtin_trap();
  return 0;
}
