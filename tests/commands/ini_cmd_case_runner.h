#pragma once
// Runs one case of the shared command table (ini_cmd_cases.h) over an INI/registry interface and
// checks its log lines and reads with GoogleTest expectations.
#include <gtest/gtest.h>

#include <regex>

#include "base/CaseMap.h"
#include "base/FakeUserChannel.h"
#include "commands/IniCmdRun.h"
#include "commands/ini_cmd_cases.h"
#include "script/ScriptText.h"

namespace vek::test {

class TIniCmdCaseRunner {
 public:
  // aFile: the case's INI file; aKeyPath: its registry key below HKEY_CURRENT_USER.
  TIniCmdCaseRunner(IIniRegistry& aSystem, std::string aFile, std::string aKeyPath)
      : fSystem(aSystem), fFile(std::move(aFile)), fKeyPath(std::move(aKeyPath)) {
    fChannel.Log = [this](const std::string& aLine) { fLog.push_back(WithoutSystemText(aLine)); };
  }

  void Run(const TIniCmdCase& aCase) {
    SCOPED_TRACE(aCase.name);
    for (const std::string& line : aCase.setup) Execute(line);
    fLog.clear();
    Execute(aCase.line);
    std::vector<std::string> expected;
    for (const std::string& line : aCase.log) expected.push_back(Fill(line, UpperCase(fFile)));
    EXPECT_EQ(fLog, expected);
    for (const auto& [probe, value] : aCase.after) EXPECT_EQ(Probe(Fill(probe, fFile)), value) << probe;
  }

  TUserVariables& Variables() { return fVars; }
  TFakeUserChannel& Channel() { return fChannel; }
  std::vector<std::string>& Log() { return fLog; }

  TIniCmdRun RunEnv() {
    return TIniCmdRun{fSystem, fVars, fChannel, false, false, {}, [this](const std::string& aLine) {
                        fLog.push_back(aLine);
                      }};
  }

  void Execute(const std::string& aLine) {
    TIniFileCmd cmd = ParseIniFileCmd(fParse, false, Fill(aLine, fFile));
    cmd.Execute(RunEnv());
  }

 private:
  // "(error 87: The parameter is incorrect.)" as "(error 87)": the system's wording of an error
  // is not the fake's.
  static std::string WithoutSystemText(const std::string& aLine) {
    static const std::regex kSystemText(R"(\(error ([0-9]+)[^)]*\)$)");
    return std::regex_replace(aLine, kSystemText, "(error $1)");
  }

  std::string Fill(std::string aText, const std::string& aFile) const {
    ReplaceAllText(aText, "{F}", aFile);
    ReplaceAllText(aText, "{K}", fKeyPath);
    return aText;
  }

  std::string Probe(const std::string& aProbe) {
    const std::size_t colon = aProbe.find(':');
    const std::string kind = aProbe.substr(0, colon);
    const std::string arg = colon == std::string::npos ? "" : aProbe.substr(colon + 1);
    const std::size_t comma = arg.find(',');
    const std::string first = arg.substr(0, comma);
    const std::string second = comma == std::string::npos ? "" : arg.substr(comma + 1);
    if (kind == "ini") return fSystem.ReadString(fFile, first, second, "<none>");
    if (kind == "sec") {
      std::string joined;
      for (const auto& [name, value] : fSystem.ReadSection(fFile, first)) {
        joined += (joined.empty() ? "" : ";") + name + "=" + value;
      }
      return joined;
    }
    if (kind == "reg") {
      std::string value;
      return fSystem.ReadRegString(TRegistryRoot::CurrentUser, first, second, value).ok() ? value : "<none>";
    }
    if (kind == "key") return fSystem.KeyExists(TRegistryRoot::CurrentUser, first) ? "yes" : "no";
    if (kind == "var") return fVars.Exists(first) ? fVars.Value(first) : "<none>";
    switch (fSystem.PathKind(fFile)) {
      case TPathKind::File: return "file";
      case TPathKind::Folder: return "folder";
      case TPathKind::Missing: return "missing";
    }
    return "";
  }

  IIniRegistry& fSystem;
  std::string fFile;
  std::string fKeyPath;
  std::vector<std::string> fLog;
  TFakeUserChannel fChannel{true};
  TRunContext fRun;
  TUserVariables fVars;
  TExpandContext fExpand{fRun, fVars, {}, std::nullopt, {}, {}};
  TIniCmdParseContext fParse{fExpand, {}, false, {}};
};

}  // namespace vek::test
