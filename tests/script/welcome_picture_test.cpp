// The welcome picture block: digest, type, Base64 and zlib checks, with blocks made here the way
// a script author makes them; and the digest and Base64 helpers it rests on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <zlib.h>

#include "base/Base64.h"
#include "base/Md5.h"
#include "script/WelcomePicture.h"

namespace vek {
namespace {

std::string EncodeBase64(const std::string& aBytes) {
  constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < aBytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, aBytes.size() - i);
    std::uint32_t bits = 0;
    for (std::size_t k = 0; k < 3; ++k) bits = bits << 8 | (k < n ? static_cast<std::uint8_t>(aBytes[i + k]) : 0u);
    for (std::size_t k = 0; k < 4; ++k) text += k <= n ? kAlphabet[(bits >> (18 - 6 * k)) & 63] : '=';
  }
  return text;
}

std::string Compress(const std::string& aBytes) {
  uLongf size = compressBound(static_cast<uLong>(aBytes.size()));
  std::string out(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(aBytes.data()),
                      static_cast<uLong>(aBytes.size()), 9),
            Z_OK);
  out.resize(size);
  return out;
}

std::vector<std::string> Wrap(const std::string& aText, std::size_t aWidth) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < aText.size(); i += aWidth) lines.push_back(aText.substr(i, aWidth));
  return lines;
}

std::string Joined(const std::vector<std::string>& aLines) {
  std::string text;
  for (std::size_t i = 0; i < aLines.size(); ++i) text += (i ? "\r\n" : "") + aLines[i];
  return text;
}

// A block as an author makes it: the digest is taken over the data lines as they are wrapped.
std::vector<std::string> BlockOf(const std::vector<std::string>& aData, char aType) {
  std::vector<std::string> block{Md5Hex(Joined(aData)) + aType};
  block.insert(block.end(), aData.begin(), aData.end());
  return block;
}

std::vector<std::string> BlockFor(const std::string& aPicture, char aType, std::size_t aWidth = 76) {
  return BlockOf(Wrap(EncodeBase64(Compress(aPicture)), aWidth), aType);
}

// Bytes that do not compress well, so that the block has many data lines.
std::string NoisyPicture() {
  std::string bytes("\x89PNG\r\n\x1a\n", 8);
  std::uint32_t state = 12345;
  for (int i = 0; i < 3000; ++i) {
    state = state * 1103515245u + 12345u;
    bytes += static_cast<char>(state >> 24);
  }
  return bytes;
}
const std::string kPicture = NoisyPicture();

TEST(Md5, KnownDigests) {
  const struct {
    std::string text, digest;
  } rows[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      // 55, 56 and 64 bytes: the length still fits the last block, just does not, a whole block.
      {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
      {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
      {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& row : rows) EXPECT_EQ(Md5Hex(row.text), row.digest) << row.text.size();
}

TEST(Base64, DecodesAcrossLineBreaksAndRefusesWhatNoEncoderWrites) {
  const struct {
    const char* text;
    std::optional<std::string> bytes;
  } rows[] = {
      {"", std::string()},
      {"TWFu", std::string("Man")},
      {"TWE=", std::string("Ma")},
      {"TQ==", std::string("M")},
      {"TWE", std::string("Ma")},  // padding left out
      {"TW\r\nFu\r\nTQ==", std::string("ManM")},
      {"+/+/", std::string("\xfb\xff\xbf")},
      {"TWF*", std::nullopt},   // outside the alphabet
      {"TQ==TWFu", std::nullopt},  // data after the padding
      {"T", std::nullopt},      // one character carries no byte
      {"TQ===", std::nullopt},
      {"TWFu=", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(DecodeBase64(row.text), row.bytes) << row.text;
}

TEST(WelcomePicture, GoodBlocksOfEveryTypeGiveThePictureFile) {
  for (char type = '1'; type <= '6'; ++type) {
    const TWelcomePictureResult result = DecodeWelcomePicture(BlockFor(kPicture, type));
    ASSERT_TRUE(result.Picture) << type << ": " << result.Reason;
    EXPECT_EQ(static_cast<int>(result.Picture->Type), type - '0');
    EXPECT_EQ(result.Picture->Bytes, kPicture);
  }
  // Digest in capitals, and one long data line.
  std::vector<std::string> block = BlockFor(kPicture, '6', 100000);
  for (char& c : block[0]) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_TRUE(DecodeWelcomePicture(block).Picture);
}

TEST(WelcomePicture, BadBlocksGiveNoPictureAndSayWhy) {
  const std::vector<std::string> good = BlockFor(kPicture, '6');
  std::vector<std::string> rewrapped = good;
  rewrapped.erase(rewrapped.begin() + 1, rewrapped.end());
  for (const std::string& line : Wrap(EncodeBase64(Compress(kPicture)), 64)) rewrapped.push_back(line);
  std::vector<std::string> type7 = good;
  type7[0][32] = '7';
  std::vector<std::string> wrongDigest = good;
  wrongDigest[0][0] = wrongDigest[0][0] == '0' ? '1' : '0';
  std::vector<std::string> noType = good;
  noType[0].resize(32);
  std::string compressed = Compress(kPicture);
  std::string flipped = compressed;
  flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x55);
  std::string trailing = compressed + "x";
  // A zlib bomb: a few kilobytes that inflate to just over the cap.
  const std::string bomb = EncodeBase64(Compress(std::string(kMaxWelcomePictureSize + 1, '\0')));

  const struct {
    const char* name;
    std::vector<std::string> block;
    const char* reason;
  } rows[] = {
      {"re-wrapped lines", rewrapped, "digest"},
      {"type 7", type7, "type"},
      {"type 0", BlockFor(kPicture, '0'), "type"},
      {"no type digit", noType, "type"},
      {"wrong digest", wrongDigest, "digest"},
      {"corrupt Base64", BlockOf({"TWFu", "T*Fu"}, '6'), "Base64"},
      {"Base64 of no zlib stream", BlockOf({EncodeBase64("not zlib")}, '6'), "zlib"},
      {"corrupt zlib data", BlockOf(Wrap(EncodeBase64(flipped), 76), '6'), "zlib"},
      {"zlib stream cut short", BlockOf({EncodeBase64(compressed.substr(0, compressed.size() - 6))}, '6'), "zlib"},
      {"data after the zlib stream", BlockOf({EncodeBase64(trailing)}, '6'), "zlib"},
      {"larger than the cap", BlockOf(Wrap(bomb, 76), '6'), "32 MiB"},
      {"empty picture file", BlockOf({EncodeBase64(Compress(""))}, '6'), "empty"},
      {"empty block", {}, "digest"},
      {"digest line only", {good[0]}, "data"},
      {"empty digest line", {"", good[1]}, "digest"},
  };
  for (const auto& row : rows) {
    const TWelcomePictureResult result = DecodeWelcomePicture(row.block);
    EXPECT_FALSE(result.Picture) << row.name;
    EXPECT_NE(result.Reason.find(row.reason), std::string::npos) << row.name << ": " << result.Reason;
  }
}

TEST(WelcomePicture, TheBlockIsCutFromTheScriptLines) {
  std::vector<std::string> lines{"[Setup]", "Name=x", " [wimg] "};
  const std::vector<std::string> block = BlockFor(kPicture, '4');
  lines.insert(lines.end(), block.begin(), block.end());
  std::vector<std::string> closed = lines;
  closed.push_back("[End WIMG]");
  closed.push_back("[Other]");
  // Without the end marker the block runs to the end of the file.
  for (const auto& script : {lines, closed}) {
    const std::optional<TWelcomePictureResult> result = LoadWelcomePicture(script);
    ASSERT_TRUE(result && result->Picture);
    EXPECT_EQ(result->Picture->Bytes, kPicture);
  }
  closed.insert(closed.end() - 2, "trailing junk");
  EXPECT_FALSE(LoadWelcomePicture(closed)->Picture);
  EXPECT_FALSE(LoadWelcomePicture({"[Setup]", "[End WIMG]"}));
}

TEST(WelcomePicture, FitsTheAreaAtTheWindowsDpiKeepingItsAspect) {
  const TPictureSize area{564, 270};
  const struct {
    TPictureSize picture;
    unsigned dpi;
    bool scalable;
    TPictureSize shown;
  } rows[] = {
      {{200, 100}, 96, false, {200, 100}},
      {{200, 100}, 192, false, {400, 200}},
      {{400, 100}, 192, false, {564, 141}},   // too wide at 192 DPI: the width decides
      {{1000, 1000}, 96, false, {270, 270}},  // too tall: the height decides
      {{100, 50}, 96, true, {540, 270}},      // a metafile fills the area
      {{5000, 1}, 96, false, {564, 1}},       // never below one pixel
      {{0, 10}, 96, false, {1, 1}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FitWelcomePicture(row.picture, area, row.dpi, row.scalable), row.shown)
        << row.picture.Width << "x" << row.picture.Height << " at " << row.dpi;
  }
}

}  // namespace
}  // namespace vek
