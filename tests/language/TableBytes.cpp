#include "TableBytes.h"

#include <zlib.h>

#include <cstdint>

namespace vek::test {
namespace {

constexpr std::size_t kHeaderSize = 20;

void PutUnsigned(std::string& aOut, std::uint32_t aValue, int aBytes) {
  for (int i = 0; i < aBytes; ++i) aOut += static_cast<char>((aValue >> (8 * i)) & 0xFF);
}

void PutText(std::string& aOut, const std::string& aText) {
  PutUnsigned(aOut, static_cast<std::uint32_t>(aText.size()), 2);
  aOut += aText;
}

}  // namespace

std::string EncodeTable(const TLanguageTableData& aTable) {
  std::string payload;
  for (const std::string& code : aTable.fCodes) {
    PutUnsigned(payload, static_cast<std::uint32_t>(code.size()), 1);
    payload += code;
  }
  for (const TLanguageRow& row : aTable.fRows) {
    PutUnsigned(payload, static_cast<std::uint32_t>(row.fID), 4);
    PutText(payload, row.fName);
    for (const std::string& text : row.fTexts) PutText(payload, text);
  }
  std::string bytes = "VKLT";
  PutUnsigned(bytes, 1, 2);
  PutUnsigned(bytes, static_cast<std::uint32_t>(aTable.fCodes.size()), 2);
  PutUnsigned(bytes, static_cast<std::uint32_t>(aTable.fRows.size()), 4);
  PutUnsigned(bytes, static_cast<std::uint32_t>(payload.size()), 4);
  PutUnsigned(bytes, 0, 4);
  bytes += payload;
  RecomputeChecksum(bytes);
  return bytes;
}

void RecomputeChecksum(std::string& aBytes) {
  const auto* data = reinterpret_cast<const Bytef*>(aBytes.data() + kHeaderSize);
  const auto crc = ::crc32(::crc32(0L, Z_NULL, 0), data, static_cast<uInt>(aBytes.size() - kHeaderSize));
  std::string checksum;
  PutUnsigned(checksum, static_cast<std::uint32_t>(crc), 4);
  aBytes.replace(16, 4, checksum);
}

}  // namespace vek::test
