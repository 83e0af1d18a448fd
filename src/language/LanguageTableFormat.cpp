#include "language/LanguageTableFormat.h"

#include <zlib.h>

#include <algorithm>
#include <optional>

namespace vek {
namespace {

constexpr std::string_view kMagic = "VKLT";
constexpr std::uint16_t kFormatVersion = 1;
constexpr std::size_t kHeaderSize = 20;
// The smallest row: ID, an empty name and one empty text per column.
constexpr std::size_t kMinRowSize = 4 + 2;
constexpr std::size_t kMinTextSize = 2;

// Reads little-endian values from the front of a byte range; every read checks what is left.
class ByteReader {
 public:
  explicit ByteReader(std::string_view aBytes) : fRest(aBytes) {}

  std::optional<std::string_view> Take(std::size_t aCount) {
    if (aCount > fRest.size()) return std::nullopt;
    const std::string_view taken = fRest.substr(0, aCount);
    fRest.remove_prefix(aCount);
    return taken;
  }

  std::optional<std::uint32_t> Unsigned(std::size_t aBytes) {
    const auto bytes = Take(aBytes);
    if (!bytes) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = aBytes; i-- > 0;) value = (value << 8) | static_cast<unsigned char>((*bytes)[i]);
    return value;
  }

  // A text stored as a 16-bit byte count followed by its UTF-8 bytes.
  std::optional<std::string> Text() {
    const auto length = Unsigned(2);
    if (!length) return std::nullopt;
    const auto bytes = Take(*length);
    if (!bytes) return std::nullopt;
    return std::string(*bytes);
  }

  std::size_t Left() const { return fRest.size(); }

 private:
  std::string_view fRest;
};

struct Header {
  std::uint16_t columnCount = 0;
  std::uint32_t rowCount = 0;
  std::string_view payload;
};

std::optional<Header> ReadHeader(std::string_view aBytes) {
  if (aBytes.size() < kHeaderSize) return std::nullopt;
  ByteReader reader(aBytes);
  const auto magic = reader.Take(kMagic.size());
  const auto version = reader.Unsigned(2);
  const auto columns = reader.Unsigned(2);
  const auto rows = reader.Unsigned(4);
  const auto payloadSize = reader.Unsigned(4);
  const auto checksum = reader.Unsigned(4);
  if (!magic || !version || !columns || !rows || !payloadSize || !checksum) return std::nullopt;
  if (*magic != kMagic || *version != kFormatVersion || *columns == 0) return std::nullopt;
  const auto payload = reader.Take(*payloadSize);  // bytes after the payload (alignment) are ignored
  if (!payload) return std::nullopt;
  const auto* data = reinterpret_cast<const Bytef*>(payload->data());
  if (::crc32(::crc32(0L, Z_NULL, 0), data, static_cast<uInt>(payload->size())) != *checksum) {
    return std::nullopt;
  }
  return Header{static_cast<std::uint16_t>(*columns), *rows, *payload};
}

bool ReadCodes(ByteReader& aReader, std::uint16_t aCount, std::vector<std::string>& aCodes) {
  for (std::uint16_t i = 0; i < aCount; ++i) {
    const auto length = aReader.Unsigned(1);
    const auto code = length ? aReader.Take(*length) : std::nullopt;
    if (!code || code->empty()) return false;
    aCodes.emplace_back(*code);
  }
  return true;
}

std::optional<TLanguageRow> ReadRow(ByteReader& aReader, std::size_t aColumns) {
  TLanguageRow row;
  const auto id = aReader.Unsigned(4);
  if (!id) return std::nullopt;
  auto name = aReader.Text();
  if (!name) return std::nullopt;
  row.fID = static_cast<std::int32_t>(*id);
  row.fName = std::move(*name);
  row.fTexts.reserve(aColumns);
  for (std::size_t column = 0; column < aColumns; ++column) {
    auto text = aReader.Text();
    if (!text) return std::nullopt;
    row.fTexts.push_back(std::move(*text));
  }
  return row;
}

}  // namespace

bool DecodeLanguageTable(std::string_view aBytes, TLanguageTableData& aTable) {
  aTable = {};
  const auto header = ReadHeader(aBytes);
  if (!header) return false;
  ByteReader reader(header->payload);
  TLanguageTableData table;
  if (!ReadCodes(reader, header->columnCount, table.fCodes)) return false;
  // The count comes from the data: reserve no more rows than the bytes can hold.
  const std::size_t minRow = kMinRowSize + kMinTextSize * table.fCodes.size();
  table.fRows.reserve(std::min<std::size_t>(header->rowCount, reader.Left() / minRow));
  for (std::uint32_t i = 0; i < header->rowCount; ++i) {
    auto row = ReadRow(reader, table.fCodes.size());
    if (!row) return false;
    table.fRows.push_back(std::move(*row));
  }
  if (reader.Left() != 0) return false;
  aTable = std::move(table);
  return true;
}

}  // namespace vek
