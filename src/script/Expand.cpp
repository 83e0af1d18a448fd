#include "script/Expand.h"

#include <array>

#include "base/CaseMap.h"
#include "script/ScriptText.h"
#include "system/PathText.h"

namespace vek {
namespace {

// Inserted: the reference is replaced by the value. PathJoined: the value is joined as a path
// with the text after the reference (so "%X%\bin" and "%X%bin" give the same path). Folder: the
// value with exactly one "\" between it and what follows (%SYSDIR%).
enum class TVarKind { Inserted, PathJoined, Folder };

struct TVarValue {
  std::string text;
  TVarKind kind;
};

using TValueFn = std::optional<TVarValue> (*)(const TExpandContext&, const TExpandScope&);

struct TFixedVariable {
  std::string_view token;
  TValueFn value;  // nullopt: the reference stays as it is
};

TVarValue Inserted(std::string aText) { return {std::move(aText), TVarKind::Inserted}; }
TVarValue PathJoined(std::string aText) { return {std::move(aText), TVarKind::PathJoined}; }

bool Selected(const std::vector<std::string>& aList, int aIndex) {
  return aIndex >= 0 && static_cast<std::size_t>(aIndex) < aList.size();
}

std::string SystemPath(const TRunContext& aRun) {
  switch (aRun.RunMode) {
    case rmWorkStationSetup: return JoinPath(aRun.InstallPath, aRun.WorkStationRootDir);
    case rmWorkStationUpdate: return aRun.InstallPath;
    case rmInstall:
    case rmCleanUp:
    case rmWorkStationCleanUp: break;
  }
  std::string path = aRun.InstallPath;
  if (Selected(aRun.InstallRootList, aRun.InstallRootIndex)) {
    path = JoinPath(path, aRun.InstallRootList[static_cast<std::size_t>(aRun.InstallRootIndex)]);
  }
  if (Selected(aRun.SystemDirList, aRun.SystemDirIndex)) {
    path = JoinPath(path, aRun.SystemDirList[static_cast<std::size_t>(aRun.SystemDirIndex)]);
  }
  return path;
}

bool HasOptionAndSubOption(const TExpandScope& aScope) { return aScope.OptionPath && aScope.SubOption; }

std::string InstallPathValue(const TExpandContext& aContext, const TExpandScope& aScope) {
  const TRunContext& run = aContext.Run;
  if (run.RunMode != rmInstall) return run.InstallPath;
  if (HasOptionAndSubOption(aScope)) {
    const TSubOptionNames& sub = *aScope.SubOption;
    return sub.LibAlias.empty() ? JoinPath(*aScope.OptionPath, sub.LibName) : sub.LibAlias;
  }
  return aScope.OptionPath ? *aScope.OptionPath : run.SystemInstallDir;
}

std::string WsUpdateValue(const TExpandContext& aContext) {
  TRunContext& run = aContext.Run;
  if (run.WsUpdateFileName.empty() && aContext.CreateWsUpdateFile) {
    run.WsUpdateFileName = aContext.CreateWsUpdateFile();
  }
  return run.WsUpdateFileName;
}

constexpr std::array<TFixedVariable, 16> kFixedVariables{{
    {"%SYSTEMPATH%", [](const TExpandContext& c, const TExpandScope&) -> std::optional<TVarValue> {
       return Inserted(SystemPath(c.Run));
     }},
    {"%OPTIONPATH%", [](const TExpandContext&, const TExpandScope& s) -> std::optional<TVarValue> {
       if (!HasOptionAndSubOption(s)) return std::nullopt;
       return Inserted(*s.OptionPath);
     }},
    {"%LIBNAME%", [](const TExpandContext&, const TExpandScope& s) -> std::optional<TVarValue> {
       if (!HasOptionAndSubOption(s)) return std::nullopt;
       return Inserted(s.SubOption->LibName);
     }},
    {"%INSTALLPATH%", [](const TExpandContext& c, const TExpandScope& s) -> std::optional<TVarValue> {
       return Inserted(InstallPathValue(c, s));
     }},
    // Becomes a reference that the next two rows replace.
    {"%WINCMDDIR%", [](const TExpandContext& c, const TExpandScope&) -> std::optional<TVarValue> {
       return Inserted(c.Folders.NtFamily ? "%WINSYSTEMDIR%" : "%WINDIR%");
     }},
    {"%WINDIR%", [](const TExpandContext& c, const TExpandScope&) -> std::optional<TVarValue> {
       return Inserted(c.Folders.WinDir);
     }},
    {"%WINSYSTEMDIR%", [](const TExpandContext& c, const TExpandScope&) -> std::optional<TVarValue> {
       return Inserted(c.Folders.WinSystemDir);
     }},
    // Without an external program these two references are removed.
    {"%INIFILEENTRY%", [](const TExpandContext&, const TExpandScope& s) -> std::optional<TVarValue> {
       return Inserted(s.External ? s.External->IniFileEntry : std::string());
     }},
    {"%REGINIPATH%", [](const TExpandContext&, const TExpandScope& s) -> std::optional<TVarValue> {
       return s.External ? PathJoined(s.External->RegIniPath) : Inserted({});
     }},
    {"%INSTALLFROM%", [](const TExpandContext& c, const TExpandScope&) -> std::optional<TVarValue> {
       return PathJoined(c.Run.SourceDir);
     }},
    {"%COMMONFILES%", [](const TExpandContext& c, const TExpandScope&) -> std::optional<TVarValue> {
       return PathJoined(c.Folders.CommonFiles);
     }},
    {"%PROGRAMFILES%", [](const TExpandContext& c, const TExpandScope&) -> std::optional<TVarValue> {
       return PathJoined(c.Folders.ProgramFiles);
     }},
    {"%WSUPDATE%", [](const TExpandContext& c, const TExpandScope&) -> std::optional<TVarValue> {
       return Inserted(WsUpdateValue(c));
     }},
    {"%NOW%", [](const TExpandContext& c, const TExpandScope&) -> std::optional<TVarValue> {
       return Inserted(c.Now ? c.Now() : std::string());
     }},
    {"%LCID%", [](const TExpandContext& c, const TExpandScope&) -> std::optional<TVarValue> {
       if (!c.Language) return std::nullopt;
       return Inserted(c.Language->Lcid);
     }},
    {"%LANGCODE%", [](const TExpandContext& c, const TExpandScope&) -> std::optional<TVarValue> {
       if (!c.Language) return std::nullopt;
       return Inserted(c.Language->LangCode);
     }},
}};

// The names whose $NAME$ form becomes %NAME% at the end, in this order.
constexpr std::array<std::string_view, 15> kEscapedNames{
    "SYSDIR",       "SYSTEMPATH",  "OPTIONPATH", "LIBNAME",     "INSTALLPATH",
    "WINCMDDIR",    "WINDIR",      "WINSYSTEMDIR", "INIFILEENTRY", "REGINIPATH",
    "INSTALLFROM",  "NOW",         "COMMONFILES",  "PROGRAMFILES", "WSUPDATE",
};

// The text after a path-joined value: one "\" between them unless the value is empty or ends
// with "\" or nothing follows; a "\" that begins the rest is dropped. Returns how many bytes of
// the rest the join consumed.
std::size_t AppendPathJoin(std::string& aOut, std::string_view aValue, std::string_view aRest) {
  aOut += aValue;
  if (!aValue.empty() && aValue.back() != '\\' && !aRest.empty()) aOut += '\\';
  return !aRest.empty() && aRest.front() == '\\' ? 1 : 0;
}

// Replaces every reference aToken from the left. The value is asked for once, and only when
// the text holds the reference; the search goes on after each inserted value, never inside it.
template <typename ValueFn>
void ReplaceReferences(std::string& aText, std::string_view aToken, ValueFn aValue) {
  TTextMatch match = FindTextMatch(aText, aToken);
  if (!match.found()) return;
  const std::optional<TVarValue> value = aValue();
  if (!value) return;
  std::string out;
  std::size_t copied = 0;
  while (match.found()) {
    out.append(aText, copied, match.pos - copied);
    copied = match.pos + match.length;
    switch (value->kind) {
      case TVarKind::Inserted: out += value->text; break;
      case TVarKind::PathJoined: copied += AppendPathJoin(out, value->text, std::string_view(aText).substr(copied)); break;
      case TVarKind::Folder:
        out += copied < aText.size() && aText[copied] == '\\' ? ExcludeTrailingPathDelimiter(value->text)
                                                               : IncludeTrailingPathDelimiter(value->text);
        break;
    }
    match = FindTextMatch(aText, aToken, copied);
  }
  out.append(aText, copied);
  aText = std::move(out);
}

std::string Reference(std::string_view aName, char aMark) {
  std::string token(1, aMark);
  token += aName;
  token += aMark;
  return token;
}

void ReplaceUserVariables(std::string& aText, const TUserVariables::TList& aList, TVarKind aKind) {
  for (const auto& entry : aList) {
    if (entry.first.empty()) continue;  // "%%" is no reference
    ReplaceReferences(aText, Reference(entry.first, '%'),
                      [&] { return std::optional<TVarValue>({entry.second, aKind}); });
  }
}

void UnescapeNames(std::string& aText, const TUserVariables& aVars) {
  for (const std::string_view name : kEscapedNames) ReplaceAllText(aText, Reference(name, '$'), Reference(name, '%'));
  for (const auto* list : {&aVars.PathVariables(), &aVars.Variables()}) {
    for (const auto& entry : *list) {
      if (!entry.first.empty()) ReplaceAllText(aText, Reference(entry.first, '$'), Reference(entry.first, '%'));
    }
  }
}

}  // namespace

std::string SysDirValue(const TRunContext& aRun) {
  return aRun.RunMode == rmInstall ? aRun.SystemInstallDir : aRun.SourceDir;
}

std::string ExpandVars(const TExpandContext& aContext, const TExpandScope& aScope, std::string_view aText) {
  std::string text(aText);
  for (const TFixedVariable& variable : kFixedVariables) {
    ReplaceReferences(text, variable.token, [&] { return variable.value(aContext, aScope); });
  }
  ReplaceUserVariables(text, aContext.Vars.PathVariables(), TVarKind::PathJoined);
  ReplaceUserVariables(text, aContext.Vars.Variables(), TVarKind::Inserted);
  ReplaceReferences(text, "%SYSDIR%", [&] {
    return std::optional<TVarValue>({SysDirValue(aContext.Run), TVarKind::Folder});
  });
  UnescapeNames(text, aContext.Vars);
  return aScope.UpperCase ? UpperCase(text) : text;
}

std::string EncodeSysDir(const TRunContext& aRun, std::string_view aText) {
  std::string folder;
  switch (aRun.RunMode) {
    case rmInstall: folder = aRun.SystemInstallDir; break;
    case rmWorkStationSetup:
    case rmWorkStationUpdate: folder = aRun.SourceDir; break;
    case rmCleanUp:
    case rmWorkStationCleanUp: break;
  }
  std::string text(aText);
  const TTextMatch match = FindTextMatch(text, folder);
  if (!match.found()) return text;
  std::size_t length = match.length;
  if (match.pos + length < text.size() && text[match.pos + length] == '\\') ++length;
  text.replace(match.pos, length, "%SYSDIR%");
  return text;
}

}  // namespace vek
