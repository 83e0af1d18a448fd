#pragma once
// File-attribute commands of a sub-option: the numbered keys FileAttr1, FileAttr2, ... each name
// files of the sub-option's folder and the attributes to add, remove or set on them, before or
// after its pack files are unpacked. This is the reading and the decisions; the engine changes
// the files.
//
//   FileAttr1=<when>,<attributes>,<files>
//     when        "1": before unpacking; anything else: after
//     attributes  "+n" adds n, "-n" removes n, "n" sets exactly n (decimal, "$" or "0x" hex)
//     files       names or masks separated by ";", relative to the sub-option's folder
//
// The value is split by the list rule at "," (ScriptList.h): a blank also separates parts
// unless the part is quoted.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/UserChannel.h"
#include "script/OptionList.h"

namespace vek {

enum TFileAttrModes : std::uint8_t { faAdd, faSub, faSet, faError };

class TFileAttrOptionItem : public TOptionItem {
 public:
  TFileAttrOptionItem() = default;
  // Reads aIniFileValue. With aErrors, an unreadable number is reported there (the run's
  // channel: shown, or only logged in a silent run).
  TFileAttrOptionItem(const std::string& aIniFileValue, IUserChannel* aErrors);

  // Replaces the item's content by aValue. A value of fewer than three parts leaves the mode and
  // the attributes as they were and the file list empty: the item does nothing.
  void SetFromIniFileValue(const std::string& aValue, IUserChannel* aErrors = nullptr);
  std::unique_ptr<TOptionItem> Copy() const override;

  // Whether the item is applied at all: it names files and its number could be read.
  bool Active() const { return fMode != faError && !fFilelist.empty(); }
  // What a file with attributes aOld is to get; nothing when nothing is to be written (an add
  // or remove that changes no bit, or an item in error).
  std::optional<std::uint32_t> NewAttributes(std::uint32_t aOld) const;

  TFileAttrModes fMode = faAdd;
  bool fBeforeUnzip = false;
  std::vector<std::string> fFilelist;
  std::uint32_t fFileAttr = 0;
  bool fShowErrors = false;
};

// The names of the attribute bits in aBits that the installer knows (read-only, hidden,
// system, directory, archive) in the selected language, joined by ", ".
std::string FileAttrNames(std::uint32_t aBits);

// The syntax-error message of a value whose attribute number cannot be read.
std::string FileAttrSyntaxError(const std::string& aAttributes, const std::string& aValue);

// A sub-option's FileAttrList. Copies copy every item.
class TFileAttrOptionList : public TOptionList {
 public:
  using TApplyFn = std::function<bool(const TFileAttrOptionItem& aItem)>;

  TFileAttrOptionList() = default;
  TFileAttrOptionList(const TFileAttrOptionList& aOther) : TOptionList() { Assign(aOther); }
  TFileAttrOptionList& operator=(const TFileAttrOptionList& aOther) {
    Assign(aOther);
    return *this;
  }
  TFileAttrOptionList(TFileAttrOptionList&&) = default;
  TFileAttrOptionList& operator=(TFileAttrOptionList&&) = default;
  ~TFileAttrOptionList() override = default;

  TFileAttrOptionItem* Item(std::size_t aIndex) const { return ItemAs<TFileAttrOptionItem>(aIndex); }

  // Hands aApply, in list order, every item of that moment (before or after unpacking) whose
  // number could be read; true when every call returned true (also for none).
  bool SetFileAttr(bool aBeforeUnzipItems, const TApplyFn& aApply) const;
  bool SetBeforeUnzipItems(const TApplyFn& aApply) const { return SetFileAttr(true, aApply); }
  bool SetAfterUnzipItems(const TApplyFn& aApply) const { return SetFileAttr(false, aApply); }
};

}  // namespace vek
