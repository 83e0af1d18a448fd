#include "engine/FinishRoutine.h"

#include <algorithm>

#include "base/CaseMap.h"
#include "system/PathText.h"

namespace vek {
namespace {

constexpr std::string_view kFinishValueName = "Finish_VEKsetup";
constexpr int kNumberedFinishValues = 10;

std::string Quoted(std::string_view aText) { return "\"" + std::string(aText) + "\""; }

}  // namespace

std::string FinishCommandLine(const std::string& aCmdExe, const std::string& aProgramPath,
                              const std::string& aLanguageLibrary, const std::string& aSourceDir) {
  const std::string programDir = ExtractFilePath(aProgramPath);
  // cmd.exe /c removes the outer quotes of its argument, so each path keeps its own pair.
  std::string inner =
      "Del " + Quoted(aProgramPath) + " " + Quoted(JoinPath(programDir, ExtractFileName(aLanguageLibrary)));
  // A program started from its own folder (an uninstall) also takes the folder with it; rmdir
  // only removes it when nothing else is left in it.
  if (!aSourceDir.empty() &&
      SameText(IncludeTrailingPathDelimiter(aSourceDir), IncludeTrailingPathDelimiter(programDir))) {
    inner += " && rmdir " + Quoted(ExcludeTrailingPathDelimiter(aSourceDir));
  }
  // The RunOnce entry is started like a command line: the interpreter is named by its full path
  // in quotes, so that a blank in it cannot split it and start another program in its place.
  return Quoted(aCmdExe) + " /c " + Quoted(inner);
}

std::string LanguageLibraryName(std::string_view aLanguageCode) {
  return "setup_" + LowerCase(aLanguageCode) + ".dll";
}

const std::vector<std::string>& FinishValueNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all{std::string(kFinishValueName)};
    for (int i = 1; i <= kNumberedFinishValues; ++i) {
      all.push_back(std::string(kFinishValueName) + std::to_string(i));
    }
    return all;
  }();
  return names;
}

std::string ChooseFinishValueName(const std::vector<TRunOnceValue>& aExisting,
                                  std::string_view aCommandLine) {
  const auto existing = [&aExisting](const std::string& aName) {
    return std::find_if(aExisting.begin(), aExisting.end(),
                        [&aName](const TRunOnceValue& aValue) { return SameText(aValue.name, aName); });
  };
  const std::vector<std::string>& names = FinishValueNames();
  for (const std::string& name : names) {
    const auto found = existing(name);
    if (found != aExisting.end() && SameText(found->data, aCommandLine)) return name;
  }
  for (const std::string& name : names) {
    if (existing(name) == aExisting.end()) return name;
  }
  return names.back();
}

bool RefersToFile(std::string_view aCommandData, std::string_view aFile) {
  return !aFile.empty() && FindText(aCommandData, aFile) != std::string_view::npos;
}

std::string InstalledSetupPath(const TRunContext& aContext) {
  const int index = aContext.InstallRootIndex;
  const bool hasRoot = index >= 0 && static_cast<std::size_t>(index) < aContext.InstallRootList.size();
  const std::string root =
      hasRoot ? aContext.InstallRootList[static_cast<std::size_t>(index)] : std::string();
  return JoinPath(JoinPath(aContext.InstallPath, root), "setup.exe");
}

}  // namespace vek
