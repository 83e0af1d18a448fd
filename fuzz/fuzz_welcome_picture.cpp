// Fuzzes the welcome picture block of a script file. The input is the block's text; when its
// first byte is even, the digest line is replaced by the right digest of the data lines, so that
// the fuzzer reaches the Base64 and zlib decoding behind the digest check, which random text
// would almost never pass. Any crash, sanitizer report or hang is a defect; so is a picture that
// comes out empty, beyond the size cap, of an unknown type, or from a block whose digest is
// wrong.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/CaseMap.h"
#include "base/Md5.h"
#include "script/ScriptText.h"
#include "script/WelcomePicture.h"

namespace {

std::string DataLines(const std::vector<std::string>& aBlock) {
  std::string joined;
  for (std::size_t i = 1; i < aBlock.size(); ++i) joined += (i > 1 ? "\r\n" : "") + aBlock[i];
  return joined;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize) {
  using namespace vek;
  if (aSize == 0) return 0;
  const bool fixDigest = aData[0] % 2 == 0;
  std::vector<std::string> block =
      SplitTextLines(std::string_view(reinterpret_cast<const char*>(aData) + 1, aSize - 1));
  if (fixDigest && !block.empty()) {
    const std::string type = block[0].size() > 32 ? block[0].substr(32) : std::string("6");
    block[0] = Md5Hex(DataLines(block)) + type;
  }
  const TWelcomePictureResult result = DecodeWelcomePicture(block);
  if (!result.Picture) {
    if (result.Reason.empty()) __builtin_trap();
    return 0;
  }
  const int type = static_cast<int>(result.Picture->Type);
  if (result.Picture->Bytes.empty() || result.Picture->Bytes.size() > kMaxWelcomePictureSize || type < 1 || type > 6 ||
      !SameText(block[0].substr(0, 32), Md5Hex(DataLines(block)))) {
    __builtin_trap();
  }
  return 0;
}
