#include "PngFile.h"

#include <zlib.h>

#include <cstdio>
#include <memory>

namespace uidriver {
namespace {

void PutBigEndian(std::vector<std::uint8_t>& aOut, std::uint32_t aValue) {
  for (int shift = 24; shift >= 0; shift -= 8) aOut.push_back(static_cast<std::uint8_t>(aValue >> shift));
}

// A chunk: length, type, data, and the CRC of type and data.
void PutChunk(std::vector<std::uint8_t>& aOut, const char (&aType)[5], const std::vector<std::uint8_t>& aData) {
  PutBigEndian(aOut, static_cast<std::uint32_t>(aData.size()));
  const std::size_t typeAt = aOut.size();
  aOut.insert(aOut.end(), aType, aType + 4);
  aOut.insert(aOut.end(), aData.begin(), aData.end());
  const uLong crc = crc32(0L, aOut.data() + typeAt, static_cast<uInt>(aOut.size() - typeAt));
  PutBigEndian(aOut, static_cast<std::uint32_t>(crc));
}

}  // namespace

bool WritePng(const std::wstring& aPath, int aWidth, int aHeight, const std::vector<std::uint8_t>& aRgb) {
  const std::size_t stride = static_cast<std::size_t>(aWidth) * 3;
  if (aWidth <= 0 || aHeight <= 0 || aRgb.size() != stride * static_cast<std::size_t>(aHeight)) return false;
  // Every row starts with its filter type, 0: the bytes as they are.
  std::vector<std::uint8_t> raw;
  raw.reserve((stride + 1) * static_cast<std::size_t>(aHeight));
  for (int y = 0; y < aHeight; ++y) {
    raw.push_back(0);
    const auto row = aRgb.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<std::size_t>(y));
    raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(stride));
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) return false;
  packed.resize(packedSize);

  std::vector<std::uint8_t> header;
  PutBigEndian(header, static_cast<std::uint32_t>(aWidth));
  PutBigEndian(header, static_cast<std::uint32_t>(aHeight));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits per sample, RGB, deflate, no filter set, no interlace

  std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", packed);
  PutChunk(file, "IEND", {});

  const std::unique_ptr<FILE, int (*)(FILE*)> out(_wfopen(aPath.c_str(), L"wb"), &fclose);
  if (!out) return false;
  return std::fwrite(file.data(), 1, file.size(), out.get()) == file.size();
}

}  // namespace uidriver
