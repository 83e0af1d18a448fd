#pragma once
// The fixed records of the ZIP format (PKWARE's application note) and little-endian access to
// their fields. Every function here reads from a buffer the caller has already checked to be
// long enough for the record.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vek::zipformat {

inline constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
inline constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;
inline constexpr std::uint32_t kEndSignature = 0x06054b50;
inline constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
inline constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;

inline constexpr std::size_t kLocalHeaderSize = 30;
inline constexpr std::size_t kCentralHeaderSize = 46;
inline constexpr std::size_t kEndSize = 22;
inline constexpr std::size_t kZip64EndSize = 56;
inline constexpr std::size_t kZip64LocatorSize = 20;
inline constexpr std::size_t kMaxCommentSize = 0xFFFF;

inline constexpr std::uint16_t kZip64ExtraId = 0x0001;
inline constexpr std::uint16_t kUnicodePathExtraId = 0x7075;  // Info-ZIP's UTF-8 name
inline constexpr std::uint32_t kZip64Marker32 = 0xFFFFFFFF;
inline constexpr std::uint16_t kZip64Marker16 = 0xFFFF;

inline std::uint16_t Le16(const unsigned char* aData) {
  return static_cast<std::uint16_t>(aData[0] | (aData[1] << 8));
}
inline std::uint32_t Le32(const unsigned char* aData) {
  return static_cast<std::uint32_t>(Le16(aData)) | (static_cast<std::uint32_t>(Le16(aData + 2)) << 16);
}
inline std::uint64_t Le64(const unsigned char* aData) {
  return static_cast<std::uint64_t>(Le32(aData)) | (static_cast<std::uint64_t>(Le32(aData + 4)) << 32);
}

// End of central directory record.
struct TEndRecord {
  std::uint32_t Disk = 0, DirectoryDisk = 0;
  std::uint64_t EntriesOnDisk = 0, Entries = 0, DirectorySize = 0, DirectoryOffset = 0;
  std::uint16_t CommentSize = 0;
  bool NeedsZip64() const;
};
TEndRecord ParseEndRecord(const unsigned char* aData);
// Replaces the values by those of the ZIP64 end record.
void ApplyZip64End(const unsigned char* aData, TEndRecord& aRecord);

struct TZip64Locator {
  std::uint32_t Disk = 0, Disks = 0;
  std::uint64_t EndOffset = 0;
};
TZip64Locator ParseZip64Locator(const unsigned char* aData);

// The fields of a central or local header that the reader uses.
struct THeaderFields {
  std::uint16_t VersionMadeBy = 0, Flags = 0, Method = 0, Time = 0, Date = 0;
  std::uint32_t Crc = 0;
  std::uint64_t CompressedSize = 0, UncompressedSize = 0, LocalHeaderOffset = 0;
  std::uint32_t DiskStart = 0, ExternalAttributes = 0;
  std::uint16_t NameSize = 0, ExtraSize = 0, CommentSize = 0;
};
THeaderFields ParseCentralHeader(const unsigned char* aData);
THeaderFields ParseLocalHeader(const unsigned char* aData);

// Looks a field up in an extra-field block; empty when absent or cut short.
std::string_view FindExtraField(std::string_view aExtra, std::uint16_t aId);
// Fills the values that the header marks as stored in the ZIP64 extra field, in the order the
// format gives them (size, compressed size, offset, disk). False when one is missing.
bool ApplyZip64Extra(std::string_view aExtra, THeaderFields& aFields);

}  // namespace vek::zipformat
