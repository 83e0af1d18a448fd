#include "script/WorkStationFileCmd.h"

#include "base/CaseMap.h"

namespace vek {
namespace {

struct TOptionMarker {
  std::string_view Marker;
  TWorkStationFileCmdOption Option;
};

constexpr TOptionMarker kMarkers[] = {
    {"<FILEEXISTS>", wsFileExists},
    {"<FILENOTEXISTS>", wsFileNotExists},
};

// Markers are ASCII: compared byte by byte, a marker in another case is found without the text
// before it changing length under a Unicode case mapping.
bool StartsWithAscii(std::string_view aText, std::string_view aMarker) {
  if (aText.size() < aMarker.size()) return false;
  for (std::size_t i = 0; i < aMarker.size(); ++i) {
    char c = aText[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != aMarker[i]) return false;
  }
  return true;
}

}  // namespace

std::string TWorkStationFileCmd::SetOption(std::string_view aOption) {
  Option = wsCopyAllways;
  for (const TOptionMarker& marker : kMarkers) {
    if (StartsWithAscii(aOption, marker.Marker)) {
      Option = marker.Option;
      return std::string(aOption.substr(marker.Marker.size()));
    }
  }
  return std::string(aOption);
}

void TWorkStationFileCmd::SetOptionAndFileName(std::string_view aOption, const TExpander& aExpand) {
  const std::string rest = SetOption(aOption);
  FileName = UpperCase(aExpand ? aExpand(rest) : rest);
}

bool TWorkStationFileCmd::CopiesTo(bool aTargetExists) const {
  switch (Option) {
    case wsFileExists: return aTargetExists;
    case wsFileNotExists: return !aTargetExists;
    case wsCopyAllways: return true;
  }
  return true;
}

}  // namespace vek
