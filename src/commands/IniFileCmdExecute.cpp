// Running one INI or registry command. The checks come in a fixed order: the network and
// terminal-server options, the variable definitions (which ignore every other option), IF and
// IFNOT, then one action: rename, delete section (key), delete entry (value), arrange, or write.
#include <algorithm>
#include <array>

#include "base/CaseMap.h"
#include "base/Format.h"
#include "commands/IniCmdRun.h"
#include "commands/RegistryRoot.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"

namespace vek {
namespace {

// An entry read with this default and giving it back counts as absent.
constexpr std::string_view kAbsent = "$$$$$$";

// The longest file name the profile-string functions take (MAX_PATH less its terminator).
constexpr std::size_t kMaxIniPath = 259;

// A failure of the INI or registry interface inside one action; its text fills the report.
class TActionFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command that is not run at all because a part of it is unsafe to hand to the system.
class TRefused : public TActionFailure {
 public:
  using TActionFailure::TActionFailure;
};

enum class TAction : std::uint8_t {
  IniWrite,
  IniDeleteSection,
  IniDeleteKey,
  IniRename,
  IniArrange,
  IniDefine,
  RegWrite,
  RegDeleteKey,
  RegDeleteValue,
  RegRename,
  RegDefine,
};

enum class TDefineMode : std::uint8_t { Path, PathOrDelete, Value, ValueOrDelete };

// The last part of a path, without its extension and trailing blanks, dots and colon.
std::string DeviceStem(std::string_view aPath) {
  const std::size_t slash = aPath.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? aPath : aPath.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  while (!name.empty() && (name.back() == ' ' || name.back() == ':')) name.remove_suffix(1);
  return UpperCase(name);
}

// DOS device names stay devices in any folder and with any extension; "\\.\" and "\\?\" name
// devices and raw volumes.
bool NamesDevice(std::string_view aPath) {
  if (aPath.starts_with("\\\\.\\") || aPath.starts_with("\\\\?\\") || aPath.starts_with("//./")) return true;
  static constexpr std::array<std::string_view, 6> kNames{"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  const std::string stem = DeviceStem(aPath);
  if (std::find(kNames.begin(), kNames.end(), stem) != kNames.end()) return true;
  return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' &&
         stem[3] <= '9';
}

// The registry's limits: a key name of at most 255 characters, at most 512 levels below a root.
// A path beyond them is refused before the first key is made: the system would fail only at the
// offending level and leave the keys above it behind.
constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxKeyDepth = 512;

std::optional<std::string> KeyPathBeyondLimits(std::string_view aPath) {
  std::size_t depth = 0;
  std::size_t start = 0;
  while (start <= aPath.size()) {
    std::size_t end = aPath.find('\\', start);
    if (end == std::string_view::npos) end = aPath.size();
    if (end - start > kMaxKeyName) {
      return "a key name in the path is longer than " + std::to_string(kMaxKeyName) + " characters";
    }
    if (end > start && ++depth > kMaxKeyDepth) return "the path is deeper than " + std::to_string(kMaxKeyDepth) + " levels";
    start = end + 1;
  }
  return std::nullopt;
}

bool HasNul(std::string_view aText) { return aText.find('\0') != std::string_view::npos; }

// The order list of an arrangement: split at every comma, one pair of double quotes removed.
std::vector<std::string> OrderNames(const std::string& aValue) {
  std::vector<std::string> names;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = aValue.find(',', start);
    std::string name = aValue.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    names.push_back(std::move(name));
    if (comma == std::string::npos) return names;
    start = comma + 1;
  }
}

std::optional<std::size_t> FindEntry(const ProfileEntries& aEntries, std::string_view aName) {
  for (std::size_t i = 0; i < aEntries.size(); ++i) {
    if (SameText(aEntries[i].first, aName)) return i;
  }
  return std::nullopt;
}

class TCmdRunner {
 public:
  TCmdRunner(TIniFileCmd& aCmd, const TIniCmdRun& aRun) : c(aCmd), r(aRun), sys(aRun.System) {}

  void Run() {
    if (!RunWideOptionsAllow()) return;
    if (c.Option.Has(icDefVar)) return Define(TDefineMode::PathOrDelete);
    if (c.Option.Has(icDefPath)) return Define(TDefineMode::Path);
    if (c.Option.Has(icDefVal)) return Define(TDefineMode::Value);
    if (c.Option.Has(icDefExistsVal)) return Define(TDefineMode::ValueOrDelete);
    if (!VariableTestsAllow()) return;
    const bool registry = c.CmdType == itRegistry;
    if (c.Option.Has(icRenameKey)) {
      if (registry) return Act(TAction::RegRename, [this] { RegRename(); });
      return Act(TAction::IniRename, [this] { IniRename(); });
    }
    if (c.Option.Has(icDeleteSection)) {
      if (registry) return Act(TAction::RegDeleteKey, [this] { RegDeleteKey(); });
      return Act(TAction::IniDeleteSection, [this] { IniDeleteSection(); });
    }
    if (c.Option.Has(icDeleteKey)) {
      if (registry) return Act(TAction::RegDeleteValue, [this] { RegDeleteValue(); });
      return Act(TAction::IniDeleteKey, [this] { IniDeleteKey(); });
    }
    if (c.Option.Has(icArrange)) {
      if (!registry) Act(TAction::IniArrange, [this] { IniArrange(); });
      return;
    }
    if (registry) return Act(TAction::RegWrite, [this] { RegWrite(); });
    Act(TAction::IniWrite, [this] { IniWrite(); });
  }

 private:
  bool RunWideOptionsAllow() const {
    const TIniFileCmdOptions& o = c.Option;
    if (o.Has(icNet) && !r.NetInstall) return false;
    if (o.Has(icNoNet) && r.NetInstall) return false;
    if (o.Has(icTS) && !r.TSInstall) return false;
    if (o.Has(icNoTS) && r.TSInstall) return false;
    return true;
  }

  bool VariableTestsAllow() const {
    const bool compare = c.VarTest == "=";
    if (c.Option.Has(icIf)) {
      if (!r.Variables.Exists(c.varname)) return false;
      if (compare && !SameText(r.Variables.Value(c.varname), c.VarValue)) return false;
    }
    if (c.Option.Has(icIfNot)) {
      if (!compare && r.Variables.Exists(c.varname)) return false;
      if (compare && SameText(r.Variables.Value(c.varname), c.VarValue)) return false;
    }
    return true;
  }

  void Log(const std::string& aLine) const {
    if (r.Log) r.Log(aLine);
  }

  // Runs one action; a failure of the INI or registry interface inside it (an unknown root
  // included) is reported and ends only this command. Anything else, such as a log that can no
  // longer be written, is not the command's to handle.
  template <typename Fn>
  void Act(TAction aAction, Fn aFn) {
    try {
      RefuseUnsafe(aAction);
      aFn();
    } catch (const TActionFailure& failure) {
      Report(aAction, failure.what());
    } catch (const EUnknownRegistryRootKey& failure) {
      Report(aAction, failure.what());
    }
  }

  void Check(const SysResult& aResult) const {
    if (!aResult) throw TActionFailure(sys.ErrorText(aResult));
  }

  static bool IsIniAction(TAction aAction) { return aAction <= TAction::IniDefine; }

  // Parts that no system call may see: a NUL would cut the name the system gets short, and a
  // device or folder given as the INI file would be written to as if it were one.
  void RefuseUnsafe(TAction aAction) const {
    for (const std::string* part : {&c.IniFileName, &c.Section, &c.Key, &c.Value, &c.varname, &c.VarValue}) {
      if (HasNul(*part)) throw TRefused("the command holds a NUL character and is not run");
    }
    if (!IsIniAction(aAction)) {
      if (const std::optional<std::string> beyond = KeyPathBeyondLimits(c.Section)) {
        throw TRefused(*beyond + " and is not run");
      }
      return;
    }
    if (NamesDevice(c.IniFileName)) throw TRefused("the file part names a device and is not run");
    if (c.IniFileName.size() > kMaxIniPath) {
      throw TRefused("the file part is longer than " + std::to_string(kMaxIniPath) + " characters and is not run");
    }
    if (sys.PathKind(c.IniFileName) == TPathKind::Folder) throw TRefused("the file part names a folder and is not run");
  }

  void Report(TAction aAction, const std::string& aReason) {
    const std::string& root = c.IniFileName;
    std::string message;
    switch (aAction) {
      case TAction::IniWrite:
      case TAction::IniDeleteSection:
      case TAction::IniDeleteKey:
      case TAction::IniRename:
      case TAction::IniArrange:
      case TAction::IniDefine:
        message = FormatText(LanguageText(txt::inifile_WriteErr), {c.IniFileName});
        // The text names only the file: the log says why.
        Log("INI command on \"" + c.IniFileName + "\" [" + c.Section + "]: failed, " + aReason);
        break;
      case TAction::RegWrite:
        message = FormatText(LanguageText(txt::inifile_WriteErr) + "&& (%s)", {root + c.Section + "," + c.Key, aReason});
        break;
      case TAction::RegDeleteKey:
        message = FormatText(LanguageText(txt::inifile_RegDelErr) + "&& (%s)", {root + c.Section, aReason});
        break;
      case TAction::RegDeleteValue:
        message = FormatText(LanguageText(txt::inifile_RegDelErr) + "&& (%s)", {root + c.Section + "," + c.Key, aReason});
        break;
      case TAction::RegRename:
      case TAction::RegDefine:
        message = FormatText(LanguageText(txt::LoadIniF_2) + "&& (%s)", {root + c.Section + "," + c.Key, aReason});
        break;
    }
    r.Channel.ShowMessage(LanguageText(txt::Msg_SetupError), message, mtError);
  }

  std::string Encoded(const std::string& aText) const {
    return c.EncodeSysDir && r.EncodeSysDir ? r.EncodeSysDir(aText) : aText;
  }

  TRegistryRoot Root() const {
    const std::optional<TRegistryRoot> root = FindRegistryRoot(c.IniFileName);
    if (!root) throw EUnknownRegistryRootKey(c.IniFileName);
    return *root;
  }

  // A leading "\" names the same key: "\Software\X" is "Software\X", and "\" alone the root.
  std::string KeyPath() const {
    std::string_view path = c.Section;
    while (path.starts_with('\\')) path.remove_prefix(1);
    return std::string(path);
  }

  bool IniFileExists() const { return sys.PathKind(c.IniFileName) == TPathKind::File; }

  // ---- INI actions

  void WriteIni(const std::string& aText) {
    Check(sys.WriteString(c.IniFileName, c.Section, c.Key, aText));
    Log("INI: " + c.IniFileName + " , [" + c.Section + "] " + c.Key + " = " + aText);
  }

  void DeleteIniEntry(const std::string& aName) {
    Check(sys.DeleteKey(c.IniFileName, c.Section, aName));
    Log("INI: " + c.IniFileName + " , [" + c.Section + "] " + aName + " has been deleted");
  }

  void WriteIniEntry(const std::string& aName, const std::string& aText) {
    Check(sys.WriteString(c.IniFileName, c.Section, aName, aText));
    Log("INI: " + c.IniFileName + " , [" + c.Section + "] " + aName + " = " + aText);
  }

  // The first of 0, 1, 2, ... that does not name an entry of the section.
  std::string FreeNumber() const {
    const ProfileEntries entries = sys.ReadSection(c.IniFileName, c.Section);
    for (std::size_t n = 0;; ++n) {
      const std::string name = std::to_string(n);
      if (!FindEntry(entries, name)) return name;
    }
  }

  void IniWrite() {
    const bool exists = IniFileExists();
    if ((c.Option.Has(icFileExists) || c.Option.Has(icKeyExists)) && !exists) return;
    if (c.Option.Has(icFileNotExists) && exists) return;
    if (!exists) Check(sys.CreateUnicodeFile(c.IniFileName));
    const std::string text = Encoded(c.Value);
    if (c.Option.Has(icKeyExists) || c.Option.Has(icKeyNotExists)) {
      const bool present = sys.ReadString(c.IniFileName, c.Section, c.Key, std::string(kAbsent)) != kAbsent;
      if (present == c.Option.Has(icKeyExists)) WriteIni(text);
      return;
    }
    if (c.Key == "#") c.Key = FreeNumber();
    WriteIni(text);
  }

  void IniDeleteSection() {
    Check(sys.EraseSection(c.IniFileName, c.Section));
    Log("INI: " + c.IniFileName + " , [" + c.Section + "] has been deleted");
  }

  void IniDeleteKey() { DeleteIniEntry(c.Key); }

  // Every entry from the renamed one on is deleted and written again in order: each write
  // appends, so the section ends in its old order with the entry under its new name.
  void IniRename() {
    if (!IniFileExists()) return;
    ProfileEntries entries = sys.ReadSection(c.IniFileName, c.Section);
    const std::optional<std::size_t> index = FindEntry(entries, c.Key);
    if (!index) return;
    for (std::size_t i = *index; i < entries.size(); ++i) DeleteIniEntry(entries[i].first);
    entries[*index].first = c.Value;
    for (std::size_t i = *index; i < entries.size(); ++i) WriteIniEntry(entries[i].first, entries[i].second);
  }

  // Names before ".." move to the front in their order, names after it to the end.
  void IniArrange() {
    if (!IniFileExists()) return;
    ProfileEntries lines = sys.ReadSection(c.IniFileName, c.Section);
    if (lines.empty()) return;
    const std::size_t last = lines.size() - 1;
    std::size_t pos = 0;
    bool front = true;
    bool changed = false;
    for (const std::string& name : OrderNames(c.Value)) {
      if (name == "..") {
        front = false;
        pos = last;
        continue;
      }
      const std::optional<std::size_t> index = FindEntry(lines, name);
      if (!index) continue;
      if (front) {
        if (*index != pos) {
          auto line = std::move(lines[*index]);
          lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*index));
          lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(pos), std::move(line));
          changed = true;
        }
        pos = std::min(pos + 1, last);
      } else if (*index != last) {
        auto line = std::move(lines[*index]);
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*index));
        lines.push_back(std::move(line));
        changed = true;
      }
    }
    if (!changed) return;
    for (const auto& [name, value] : lines) {
      Check(sys.DeleteKey(c.IniFileName, c.Section, name));
      Check(sys.WriteString(c.IniFileName, c.Section, name, value));
    }
  }

  // ---- Registry actions

  void RegWrite() {
    const TRegistryRoot root = Root();
    const std::string path = KeyPath();
    const std::string text = Encoded(c.Value);
    if (c.Option.Has(icKeyExists)) {
      if (!sys.ValueExists(root, path, c.Key)) return;
    } else if (c.Option.Has(icKeyNotExists)) {
      if (sys.KeyExists(root, path) && sys.ValueExists(root, path, c.Key)) return;
    }
    Check(sys.WriteRegString(root, path, c.Key, text));
    Log("REG: " + c.Section + " , " + c.Key + " = " + text);
  }

  void RegDeleteKey() {
    const TRegistryRoot root = Root();
    const std::string path = KeyPath();
    // An empty path is the root itself, which is never deleted.
    if (path.empty() || !sys.KeyExists(root, path)) return;
    Check(sys.DeleteRegKey(root, path));
    Log("REG: " + c.Section + " has been deleted");
  }

  void RegDeleteValue() {
    const TRegistryRoot root = Root();
    if (c.Section.empty()) return;
    const std::string path = KeyPath();
    if (!sys.ValueExists(root, path, c.Key)) return;
    Check(sys.DeleteRegValue(root, path, c.Key));
    Log("REG: " + c.Section + " , " + c.Key + " has been deleted");
  }

  void RegRename() {
    const TRegistryRoot root = Root();
    if (c.Section.empty() || c.Value.empty()) return;
    const std::string path = KeyPath();
    if (!sys.ValueExists(root, path, c.Key) || sys.ValueExists(root, path, c.Value)) return;
    Check(sys.RenameRegValue(root, path, c.Key, c.Value));
    Log("REG: " + c.Section + " , " + c.Key + " renamed to: " + c.Value);
  }

  // ---- Definitions

  // The entry's value: from an INI file (the command's value when the file or entry is
  // missing) or from the registry (empty when missing). A refused command gives no value.
  std::optional<std::string> DefinitionText() {
    const bool registry = c.CmdType == itRegistry;
    const TAction action = registry ? TAction::RegDefine : TAction::IniDefine;
    try {
      RefuseUnsafe(action);
    } catch (const TRefused& refused) {
      Report(action, refused.what());
      return std::nullopt;
    }
    std::string text;
    try {
      if (!registry) {
        text = c.Value;
        if (IniFileExists()) text = sys.ReadString(c.IniFileName, c.Section, c.Key, c.Value);
      } else if (!c.Section.empty()) {
        const TRegistryRoot root = Root();
        const SysResult read = sys.ReadRegString(root, KeyPath(), c.Key, text);
        // A missing key or value is no failure: the variable gets the empty text.
        constexpr std::uint32_t kNotFound = 2;
        if (!read && read.error != kNotFound) Check(read);
      }
    } catch (const TActionFailure& failure) {
      Report(action, failure.what());
      text.clear();
    } catch (const EUnknownRegistryRootKey& failure) {
      Report(action, failure.what());
      text.clear();
    }
    return text;
  }

  void Define(TDefineMode aMode) {
    const std::optional<std::string> read = DefinitionText();
    if (!read) return;
    const std::string& text = *read;
    const std::string& name = c.varname;
    const bool registry = c.CmdType == itRegistry;
    const bool pathMode = aMode == TDefineMode::Path || aMode == TDefineMode::PathOrDelete;
    if (!text.empty()) {
      if (pathMode) {
        r.Variables.SetPathVariable(name, text);
        Log("UserPathVar Added: " + name + " = " + text);
      } else {
        r.Variables.SetVariable(name, text);
        Log("UserVar Added: " + name + " = " + text);
      }
      return;
    }
    switch (aMode) {
      case TDefineMode::Path:
        r.Variables.SetPathVariable(name, "");
        Log(registry ? "UserPathVar cleared: " + name : "UserPathVar Added: " + name + " = ");
        return;
      case TDefineMode::PathOrDelete:
        r.Variables.Delete(name);
        Log("UserVar Deleted: " + name);
        return;
      case TDefineMode::Value:
        r.Variables.SetVariable(name, "");
        Log("UserVar Added: " + name + " = ");
        return;
      case TDefineMode::ValueOrDelete:
        r.Variables.Delete(name);
        Log((registry ? "Uservar Deleted: " : "UserVar Deleted: ") + name);
        return;
    }
  }

  TIniFileCmd& c;
  const TIniCmdRun& r;
  IIniRegistry& sys;
};

}  // namespace

void TIniFileCmd::Execute(const TIniCmdRun& aRun) { TCmdRunner(*this, aRun).Run(); }

void ExecuteIniFileCmds(const TOptionList* aList, const TIniCmdRun& aRun) {
  if (!aList) return;
  for (std::size_t i = 0; i < aList->Count(); ++i) {
    if (TIniFileCmd* cmd = aList->ItemAs<TIniFileCmd>(i)) cmd->Execute(aRun);
  }
}

}  // namespace vek
