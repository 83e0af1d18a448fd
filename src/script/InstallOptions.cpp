#include "script/InstallOptions.h"

#include <algorithm>
#include <limits>

#include "archive/MaskMatch.h"
#include "archive/ZipReader.h"
#include "base/Format.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/LoaderRules.h"
#include "script/ScriptFile.h"
#include "script/ScriptList.h"

namespace vek {
namespace {

constexpr const char* kAllFiles = "*.*";

std::string RightsText(std::uint8_t aRights, const std::string& aCaption) {
  if (aRights & rfAdministrator) return FormatText(LanguageText(txt::Rights_AdminFor), {aCaption});
  if (aRights & rfPowerUser) return FormatText(LanguageText(txt::Rights_PowerFor), {aCaption});
  return {};
}

// aFolder and aName joined with the delimiter of the file system that opens the packs.
std::string PackPath(const IZipFileSystem& aFiles, const std::string& aFolder, const std::string& aName) {
  if (aFolder.empty()) return aName;
  const char last = aFolder.back();
  if (last == '\\' || last == '/' || last == aFiles.PathDelimiter()) return aFolder + aName;
  return aFolder + aFiles.PathDelimiter() + aName;
}

std::int64_t SizeAsCount(std::uint64_t aSize) {
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  return static_cast<std::int64_t>(std::min(aSize, kMax));
}

}  // namespace

void TOptionList::Assign(const TOptionList& aOptionList) {
  if (&aOptionList == this) return;
  Clear();
  for (const auto& item : aOptionList.fItems) Add(item->Copy());
}

void TOptionList::Add(std::unique_ptr<TOptionItem> aItem) {
  if (aItem) fItems.push_back(std::move(aItem));
}

std::int64_t AddSize(std::int64_t aTotal, std::int64_t aAdd) {
  if (aAdd <= 0) return aTotal;
  if (aTotal > std::numeric_limits<std::int64_t>::max() - aAdd) return std::numeric_limits<std::int64_t>::max();
  return aTotal + aAdd;
}

std::int64_t GetPackFileSize(IZipFileSystem& aFiles, const std::string& aPath, const std::string& aMaskList) {
  TZipReader reader(aFiles);
  reader.SetArchiveFileName(aPath);
  if (!reader.ReadDirectory()) return 0;
  std::int64_t total = 0;
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    const TZipEntry& entry = reader.Entry(i);
    if (entry.IsFolder || !MatchesMaskList(entry.FileName(), aMaskList)) continue;
    total = AddSize(total, SizeAsCount(entry.UncompressedSize));
  }
  return total;
}

// ---- TSubOption

std::unique_ptr<TOptionItem> TSubOption::Copy() const {
  auto copy = std::make_unique<TSubOption>(*this);
  copy->fonBeginCopyCommonFile = nullptr;
  copy->IniFileCmdList = nullptr;
  return copy;
}

bool TSubOption::LoadFromIniFile(const TScriptFile& aIniFile, const std::string& aSection,
                                 const TOptionLoadSettings& aSettings) {
  const auto text = [&](const char* aKey) { return aIniFile.ReadText(aSection, aKey, ""); };
  const auto integer = [&](const char* aKey, int aDefault) { return aIniFile.ReadInteger(aSection, aKey, aDefault); };

  Caption = text("Caption");
  Describe = text("Describe");
  State = integer("Selected", 0);
  LibName = text("LibName");
  Files = aIniFile.ReadText(aSection, "Files", kAllFiles);
  if (Files.empty()) Files = kAllFiles;
  if (State == 1 && Files != kAllFiles) State = 2;

  FileAttr = static_cast<std::uint16_t>(integer("FileAttr", 0));
  Packfile = SplitScriptList(text("PackFile"));
  Size = 0;
  if (aSettings.Files) {
    for (const std::string& pack : Packfile) {
      Size = AddSize(Size, GetPackFileSize(*aSettings.Files, PackPath(*aSettings.Files, aSettings.SourceDir, pack), Files));
    }
  }

  DeleteFiles = SplitScriptList(text("DeleteFiles"));
  Disk = static_cast<std::uint8_t>(std::clamp(integer("Disk", 1), 0, 255));
  NewerOnly = aIniFile.ReadBool(aSection, "NewerOnly", aSettings.InstallMode == 2);
  Unpackmode = integer("Unpack", 0);
  cleanup = integer("CLEANUP", 1);
  cleanupFiles = text("CLEANUPFILES");
  WStationFiles = text("WORKSTATIONFILES");
  WStationCleanupFiles = text("WorkStationCleanUpFiles");
  LibAlias.clear();
  // FileAttr1, FileAttr2, ... up to the first empty one. A value whose number cannot be read is
  // reported and kept as a disabled item; the sub-option itself still loads.
  FileAttrList.Clear();
  for (int n = 1;; ++n) {
    const std::string value = aIniFile.ReadText(aSection, "FileAttr" + std::to_string(n), "");
    if (value.empty()) break;
    FileAttrList.Add(std::make_unique<TFileAttrOptionItem>(value, aSettings.Channel));
  }

  CommonFolder = text("CommonFolder");
  Commonfiles = text("CommonFiles");
  WorkStationCommonFolder = text("WorkStationCommonFolder");
  WorkStationCommonFiles = text("WorkStationCommonFiles");
  UserRights = ParseRightsRequirement(text("UserRights"), aSettings.WinMajor);
  return true;
}

std::string TSubOption::NeededUserRightsStr() const { return RightsText(UserRights, Caption); }

// ---- TMainOption

std::unique_ptr<TOptionItem> TMainOption::Copy() const {
  auto copy = std::make_unique<TMainOption>();
  copy->FIsSharedDocuments = FIsSharedDocuments;
  copy->Caption = Caption;
  copy->Describe = Describe;
  copy->Path = Path;
  copy->RootLib = RootLib;
  copy->LibraryAttr = LibraryAttr;
  copy->UserRights = UserRights;
  copy->SubOption.Assign(SubOption);
  return copy;
}

bool TMainOption::LoadFromIniFile(const TScriptFile& aIniFile, const std::string& aSection,
                                  const TOptionLoadSettings& aSettings) {
  Caption = aIniFile.ReadText(aSection, "Caption", "");
  Describe = aIniFile.ReadText(aSection, "Describe", "");
  RootLib = aIniFile.ReadText(aSection, "RootLib", "");
  FIsSharedDocuments = aIniFile.ReadBool(aSection, "SharedDocuments", false);
  LibraryAttr = static_cast<std::uint16_t>(aIniFile.ReadInteger(aSection, "LibraryAttr", 0));
  Path = "\\";
  UserRights = ParseRightsRequirement(aIniFile.ReadText(aSection, "UserRights", ""), aSettings.WinMajor);
  return true;
}

std::int64_t TMainOption::GetSize() const {
  std::int64_t total = 0;
  for (std::size_t i = 0; i < SubOption.Count(); ++i) {
    if (const TSubOption* sub = SubOptionAt(i); sub && sub->Selected()) total = AddSize(total, sub->Size);
  }
  return total;
}

int TMainOption::GetSelectedOptions() const {
  int count = 0;
  for (std::size_t i = 0; i < SubOption.Count(); ++i) {
    if (const TSubOption* sub = SubOptionAt(i); sub && sub->Selected()) ++count;
  }
  return count;
}

int TMainOption::GetState() const {
  if (SubOption.Count() == 0) return -1;
  int highest = std::numeric_limits<int>::min();
  for (std::size_t i = 0; i < SubOption.Count(); ++i) {
    if (const TSubOption* sub = SubOptionAt(i)) highest = std::max(highest, sub->State);
  }
  if (highest == std::numeric_limits<int>::min()) return -1;  // no item is a sub-option
  if (highest == 1 && GetSelectedOptions() != static_cast<int>(SubOption.Count())) return 2;
  return highest;
}

bool TMainOption::Selected() const {
  const int state = GetState();
  return state == 1 || state == 2;
}

std::string TMainOption::NeededUserRightsStr() const { return RightsText(UserRights, Caption); }

// ---- TMainOptionList

std::int64_t TMainOptionList::SelectedSize() const {
  std::int64_t total = 0;
  for (std::size_t i = 0; i < Count(); ++i) {
    if (const TMainOption* option = Option(i); option && option->Selected()) total = AddSize(total, option->GetSize());
  }
  return total;
}

}  // namespace vek
