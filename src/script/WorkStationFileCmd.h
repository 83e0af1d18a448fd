#pragma once
// A file that a workstation setup or update copies into the workstation's system folder: one
// value of the workstation script's "Files" section (the key is only a running number).
//
//   0=%SYSDIR%\BIN\APP.EXE                  copied in any case
//   1=<FILEEXISTS>%SYSDIR%\BIN\APP.INI      only over a file the workstation already has
//   2=<FILENOTEXISTS>%SYSDIR%\DATA\*.DAT    only where the workstation has none yet
//
// The markers are recognised in any case at the very start of the value; the rest is a path or
// a mask (a path with "*" or "?").
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "script/OptionList.h"

namespace vek {

enum TWorkStationFileCmdOption : std::uint8_t { wsFileExists, wsFileNotExists, wsCopyAllways };

class TWorkStationFileCmd : public TOptionItem {
 public:
  using TExpander = std::function<std::string(std::string_view aText)>;

  std::unique_ptr<TOptionItem> Copy() const override { return std::make_unique<TWorkStationFileCmd>(*this); }

  // Sets Option from a leading marker of aOption and returns the text after it.
  std::string SetOption(std::string_view aOption);
  // Sets Option, and FileName to the rest expanded by aExpand and upper-cased.
  void SetOptionAndFileName(std::string_view aOption, const TExpander& aExpand);
  // Whether the file is copied to a target that exists (aTargetExists) or not.
  bool CopiesTo(bool aTargetExists) const;

  std::string FileName;
  TWorkStationFileCmdOption Option = wsCopyAllways;
};

}  // namespace vek
