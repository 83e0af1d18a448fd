#include "script/FileAttrOptions.h"

#include "base/Format.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "script/ScriptList.h"
#include "script/ScriptNumber.h"
#include "script/ScriptText.h"

namespace vek {
namespace {

constexpr char kPartDelimiter = ',';

// The files part: names separated by ";". Blanks around a name are not part of it, and empty
// pieces are dropped: joined to the folder, an empty name would name the folder itself.
std::vector<std::string> SplitFileNames(const std::string& aText) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= aText.size()) {
    std::size_t end = aText.find(';', start);
    if (end == std::string::npos) end = aText.size();
    const std::string_view name = TrimBlanks(std::string_view(aText).substr(start, end - start));
    if (!name.empty()) names.emplace_back(name);
    start = end + 1;
  }
  return names;
}

}  // namespace

TFileAttrOptionItem::TFileAttrOptionItem(const std::string& aIniFileValue, IUserChannel* aErrors)
    : fShowErrors(aErrors != nullptr) {
  SetFromIniFileValue(aIniFileValue, aErrors);
}

void TFileAttrOptionItem::SetFromIniFileValue(const std::string& aValue, IUserChannel* aErrors) {
  fFilelist.clear();
  if (TrimBlanks(aValue).empty()) return;
  const std::vector<std::string> parts = SplitScriptList(aValue, kPartDelimiter);
  if (parts.size() < 3) return;

  fBeforeUnzip = TrimBlanks(parts[0]) == "1";
  const std::string attributes(TrimBlanks(parts[1]));
  std::string_view number = attributes;
  if (attributes.starts_with('+')) {
    fMode = faAdd;
    number.remove_prefix(1);
  } else if (attributes.starts_with('-')) {
    fMode = faSub;
    number.remove_prefix(1);
  } else {
    fMode = faSet;
  }
  if (const std::optional<std::uint32_t> bits = ParseScriptBits(number)) {
    fFileAttr = *bits;
  } else {
    fMode = faError;
    fFileAttr = 0;
    if (fShowErrors && aErrors) {
      aErrors->ShowMessage(LanguageText(txt::Msg_SetupError), FileAttrSyntaxError(attributes, aValue),
                           mtError);
    }
  }
  fFilelist = SplitFileNames(parts[2]);
}

std::unique_ptr<TOptionItem> TFileAttrOptionItem::Copy() const {
  return std::make_unique<TFileAttrOptionItem>(*this);
}

std::optional<std::uint32_t> TFileAttrOptionItem::NewAttributes(std::uint32_t aOld) const {
  switch (fMode) {
    case faAdd:
      if ((aOld | fFileAttr) == aOld) return std::nullopt;
      return aOld | fFileAttr;
    case faSub:
      if ((aOld & ~fFileAttr) == aOld) return std::nullopt;
      return aOld & ~fFileAttr;
    case faSet: return fFileAttr;
    case faError: return std::nullopt;
  }
  return std::nullopt;
}

std::string FileAttrNames(std::uint32_t aBits) {
  struct TName {
    std::uint32_t bit;
    int text;
  };
  static constexpr TName kNames[] = {{0x01, txt::FileAttr_ReadOnly},
                                     {0x02, txt::FileAttr_Hidden},
                                     {0x04, txt::FileAttr_System},
                                     {0x10, txt::FileAttr_Directory},
                                     {0x20, txt::FileAttr_Archive}};
  std::string names;
  for (const TName& name : kNames) {
    if (!(aBits & name.bit)) continue;
    if (!names.empty()) names += ", ";
    names += LanguageText(name.text);
  }
  return names;
}

std::string FileAttrSyntaxError(const std::string& aAttributes, const std::string& aValue) {
  return FormatText("Syntax error: fileattr = %s, is not a valid number!&&(%s)", {aAttributes, aValue});
}

bool TFileAttrOptionList::SetFileAttr(bool aBeforeUnzipItems, const TApplyFn& aApply) const {
  bool allDone = true;
  for (std::size_t i = 0; i < Count(); ++i) {
    const TFileAttrOptionItem* item = Item(i);
    if (!item || item->fBeforeUnzip != aBeforeUnzipItems || item->fMode == faError) continue;
    if (!aApply(*item)) allDone = false;
  }
  return allDone;
}

}  // namespace vek
