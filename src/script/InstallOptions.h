#pragma once
// What the installer installs: main options (product parts, each with its own target folder)
// and under each its sub-options (packages of files taken from pack files on the medium). The
// lists own their items; a custom installation works on a copy made with Assign, so the loaded
// list stays as the default selection.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "script/FileAttrOptions.h"
#include "script/OptionList.h"
#include "script/UserRightsCheck.h"

namespace vek {

class IUserChannel;
class IZipFileSystem;
class TScriptFile;

// What loading an option needs to know about the run.
struct TOptionLoadSettings {
  int InstallMode = 1;     // 1 install, 2 update
  bool Silent = false;     // no message boxes for load errors
  unsigned WinMajor = 0;   // for the rights rule of "POWERUSER"
  std::string SourceDir;   // where the pack files lie
  IZipFileSystem* Files = nullptr;  // opens the pack files; none: sizes stay 0
  IUserChannel* Channel = nullptr;  // where bad values are reported (shown, or only logged)
};

// The sum of the uncompressed sizes of the entries of pack aPath whose names without folders
// match aMaskList. A pack that is missing or is not a readable archive adds nothing.
std::int64_t GetPackFileSize(IZipFileSystem& aFiles, const std::string& aPath, const std::string& aMaskList);

// aTotal + aAdd, held at the largest count instead of wrapping; negative addends count as 0.
std::int64_t AddSize(std::int64_t aTotal, std::int64_t aAdd);

class TSubOption : public TOptionItem {
 public:
  using TBeginCopyCommonFile = std::function<void(const std::string& aSource, const std::string& aTarget)>;

  std::unique_ptr<TOptionItem> Copy() const override;
  // Reads section aSection. False when the section cannot be read.
  bool LoadFromIniFile(const TScriptFile& aIniFile, const std::string& aSection, const TOptionLoadSettings& aSettings);
  bool CheckUserRights(const TUserRights& aUser) const { return RightsMet(UserRights, aUser); }
  // Language text 212 or 213 with the caption; empty when no rights are needed.
  std::string NeededUserRightsStr() const;
  bool Selected() const { return State == 1 || State == 2; }

  TBeginCopyCommonFile fonBeginCopyCommonFile;  // set by the engine; never copied
  std::string Caption;
  std::string Describe;
  std::string LibName;
  std::string LibAlias;
  std::vector<std::string> Packfile;
  std::uint8_t Disk = 0;
  std::string Files;
  std::uint16_t FileAttr = 0;
  TFileAttrOptionList FileAttrList;
  bool NewerOnly = false;
  int Unpackmode = 0;
  std::int64_t Size = 0;
  int State = 0;  // 0 not selected, 1 all files, 2 with a file mask
  int cleanup = 0;
  std::string cleanupFiles;
  int UpdateInifiles = 0;
  // The INI and registry commands (TIniFileCmd), loaded afresh at each installation of files;
  // null: none. A copy of the sub-option starts without them.
  std::shared_ptr<TOptionList> IniFileCmdList;
  // GroupCmdList joins here with the group commands.
  std::string WStationFiles;
  std::string WStationCleanupFiles;
  // WStationGrpCmdList joins here with the group commands.
  std::vector<std::string> DeleteFiles;
  std::string CommonFolder;
  std::string Commonfiles;
  std::string WorkStationCommonFolder;
  std::string WorkStationCommonFiles;
  std::uint8_t UserRights = 0;
};

class TMainOption : public TOptionItem {
 public:
  std::unique_ptr<TOptionItem> Copy() const override;
  // Reads section aSection; an absent caption is not an error (the caller decides by Caption).
  bool LoadFromIniFile(const TScriptFile& aIniFile, const std::string& aSection, const TOptionLoadSettings& aSettings);
  // The sum of the sizes of the selected sub-options.
  std::int64_t GetSize() const;
  // The number of selected sub-options.
  int GetSelectedOptions() const;
  // -1 without sub-options; else 0 nothing, 1 everything with all files, 2 partly selected.
  int GetState() const;
  bool Selected() const;
  bool IsSharedDocuments() const { return FIsSharedDocuments; }
  void SetIsSharedDocuments(bool aValue) { FIsSharedDocuments = aValue; }
  bool CheckUserRights(const TUserRights& aUser) const { return RightsMet(UserRights, aUser); }
  std::string NeededUserRightsStr() const;
  // The sub-option aIndex, or null when that item is not a sub-option.
  TSubOption* SubOptionAt(std::size_t aIndex) const { return SubOption.ItemAs<TSubOption>(aIndex); }

  bool FIsSharedDocuments = false;
  std::string Caption;
  std::string Describe;
  std::string Path;
  std::string RootLib;
  std::uint16_t LibraryAttr = 0;
  TOptionList SubOption;
  std::uint8_t UserRights = 0;
};

class TMainOptionList : public TOptionList {
 public:
  // The main option aIndex, or null when that item is not a main option.
  TMainOption* Option(std::size_t aIndex) const { return ItemAs<TMainOption>(aIndex); }
  // The sum of the sizes of the selected main options.
  std::int64_t SelectedSize() const;
  // Whether the shortcut dialog is to be shown before the program groups are updated. The
  // sub-options carry no group commands yet, so nothing can ask for it: always false.
  bool AskUserBeforeUpdateGroups() const { return false; }
};

}  // namespace vek
