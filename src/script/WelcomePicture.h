#pragma once
// The welcome picture: a picture file carried in the script as a text block between the lines
// "[WIMG]" and "[End WIMG]".
//
//   line 1:  <32 hex digits: MD5 of the data lines><type digit>
//   line 2+: Base64 of the zlib stream (with its header) of the picture file, split over lines
//
// The digest covers the data lines joined with CR LF (none after the last), so a block whose
// lines were re-wrapped after it was made is refused. Type digits: 1 bitmap, 2 metafile, 3 icon,
// 4 JPEG, 5 GIF, 6 PNG. A block that fails any check gives no picture; the run goes on without
// one and the reason is logged.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vek {

enum class TPictureType {
  ptBitmap = 1,    // BMP file
  ptMetafile = 2,  // WMF (placeable) or EMF file
  ptIcon = 3,      // ICO file
  ptJpeg = 4,
  ptGif = 5,
  ptPng = 6,
};

struct TWelcomePicture {
  TPictureType Type = TPictureType::ptBitmap;
  std::string Bytes;  // the picture file as it was before compression
};

// No picture file is this large; a block that inflates beyond it is refused rather than let a
// small block claim the machine's memory.
inline constexpr std::size_t kMaxWelcomePictureSize = 32u * 1024 * 1024;

struct TWelcomePictureResult {
  std::optional<TWelcomePicture> Picture;
  std::string Reason;  // why there is none, for the log
};

// The picture of a block's lines (the lines between the markers).
TWelcomePictureResult DecodeWelcomePicture(const std::vector<std::string>& aBlock);

// The picture block of the script file's lines: nothing when there is no "[WIMG]" line, else the
// decoded picture or the reason it was refused.
std::optional<TWelcomePictureResult> LoadWelcomePicture(const std::vector<std::string>& aLines);

// The size the picture is shown in: its own size at aDpi (pictures are drawn for 96 DPI),
// shrunk to fit aAreaWidth x aAreaHeight keeping its aspect when it is larger, and never below
// one pixel. A metafile has no pixel size of its own and always fills the area as far as its
// aspect allows.
struct TPictureSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TPictureSize&, const TPictureSize&) = default;
};
TPictureSize FitWelcomePicture(TPictureSize aPicture, TPictureSize aArea, unsigned aDpi, bool aScalable);

}  // namespace vek
