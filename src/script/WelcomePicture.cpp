#include "script/WelcomePicture.h"

#include <algorithm>

#include "archive/ZlibInflate.h"
#include "base/Base64.h"
#include "base/CaseMap.h"
#include "base/Md5.h"
#include "script/Agreements.h"

namespace vek {
namespace {

constexpr std::size_t kDigestLength = 32;

std::optional<TPictureType> TypeOf(const std::string& aFirstLine) {
  if (aFirstLine.size() <= kDigestLength) return std::nullopt;
  const char digit = aFirstLine[kDigestLength];
  if (digit < '1' || digit > '6') return std::nullopt;
  return static_cast<TPictureType>(digit - '0');
}

std::string JoinedData(const std::vector<std::string>& aBlock) {
  std::string joined;
  for (std::size_t i = 1; i < aBlock.size(); ++i) {
    if (i > 1) joined += "\r\n";
    joined += aBlock[i];
  }
  return joined;
}

TWelcomePictureResult Refused(std::string aReason) { return {std::nullopt, std::move(aReason)}; }

}  // namespace

TWelcomePictureResult DecodeWelcomePicture(const std::vector<std::string>& aBlock) {
  if (aBlock.empty() || aBlock.front().empty()) return Refused("the block has no digest line");
  if (aBlock.size() < 2) return Refused("the block has no data lines");
  const std::optional<TPictureType> type = TypeOf(aBlock.front());
  if (!type) return Refused("the picture type is not a digit from 1 to 6");
  const std::string data = JoinedData(aBlock);
  if (!SameText(aBlock.front().substr(0, kDigestLength), Md5Hex(data))) {
    return Refused("the digest does not match the data lines");
  }
  std::optional<std::string> compressed = DecodeBase64(data);
  if (!compressed) return Refused("the data lines are not Base64 text");
  TInflateOutcome inflated = InflateZlib(*compressed, kMaxWelcomePictureSize);
  switch (inflated.Result) {
    case TInflateResult::Ok: break;
    case TInflateResult::Damaged: return Refused("the data is not a complete zlib stream");
    case TInflateResult::TooLarge: return Refused("the picture is larger than 32 MiB");
  }
  if (inflated.Data.empty()) return Refused("the picture file is empty");
  return {TWelcomePicture{*type, std::move(inflated.Data)}, {}};
}

std::optional<TWelcomePictureResult> LoadWelcomePicture(const std::vector<std::string>& aLines) {
  bool found = false;
  const std::vector<std::string> block = CutBlock(aLines, "[WIMG]", "[End WIMG]", &found);
  if (!found) return std::nullopt;
  return DecodeWelcomePicture(block);
}

TPictureSize FitWelcomePicture(TPictureSize aPicture, TPictureSize aArea, unsigned aDpi, bool aScalable) {
  if (aPicture.Width <= 0 || aPicture.Height <= 0 || aArea.Width <= 0 || aArea.Height <= 0) return {1, 1};
  double scale = aScalable ? 1e300 : static_cast<double>(aDpi) / 96.0;
  scale = std::min({scale, static_cast<double>(aArea.Width) / aPicture.Width,
                    static_cast<double>(aArea.Height) / aPicture.Height});
  const auto side = [scale](int aLength, int aRoom) {
    return std::clamp(static_cast<int>(aLength * scale + 0.5), 1, aRoom);
  };
  return {side(aPicture.Width, aArea.Width), side(aPicture.Height, aArea.Height)};
}

}  // namespace vek
