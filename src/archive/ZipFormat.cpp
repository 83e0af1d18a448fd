#include "archive/ZipFormat.h"

namespace vek::zipformat {

bool TEndRecord::NeedsZip64() const {
  return Disk == kZip64Marker16 || DirectoryDisk == kZip64Marker16 || EntriesOnDisk == kZip64Marker16 ||
         Entries == kZip64Marker16 || DirectorySize == kZip64Marker32 || DirectoryOffset == kZip64Marker32;
}

TEndRecord ParseEndRecord(const unsigned char* aData) {
  TEndRecord record;
  record.Disk = Le16(aData + 4);
  record.DirectoryDisk = Le16(aData + 6);
  record.EntriesOnDisk = Le16(aData + 8);
  record.Entries = Le16(aData + 10);
  record.DirectorySize = Le32(aData + 12);
  record.DirectoryOffset = Le32(aData + 16);
  record.CommentSize = Le16(aData + 20);
  return record;
}

void ApplyZip64End(const unsigned char* aData, TEndRecord& aRecord) {
  aRecord.Disk = Le32(aData + 16);
  aRecord.DirectoryDisk = Le32(aData + 20);
  aRecord.EntriesOnDisk = Le64(aData + 24);
  aRecord.Entries = Le64(aData + 32);
  aRecord.DirectorySize = Le64(aData + 40);
  aRecord.DirectoryOffset = Le64(aData + 48);
}

TZip64Locator ParseZip64Locator(const unsigned char* aData) {
  TZip64Locator locator;
  locator.Disk = Le32(aData + 4);
  locator.EndOffset = Le64(aData + 8);
  locator.Disks = Le32(aData + 16);
  return locator;
}

namespace {

// From the flags on, both headers hold the same fields in the same order; the central one has
// the version made by in front, so it starts two bytes later.
THeaderFields ParseSharedFields(const unsigned char* aFlags) {
  THeaderFields fields;
  fields.Flags = Le16(aFlags);
  fields.Method = Le16(aFlags + 2);
  fields.Time = Le16(aFlags + 4);
  fields.Date = Le16(aFlags + 6);
  fields.Crc = Le32(aFlags + 8);
  fields.CompressedSize = Le32(aFlags + 12);
  fields.UncompressedSize = Le32(aFlags + 16);
  fields.NameSize = Le16(aFlags + 20);
  fields.ExtraSize = Le16(aFlags + 22);
  return fields;
}

}  // namespace

THeaderFields ParseCentralHeader(const unsigned char* aData) {
  THeaderFields fields = ParseSharedFields(aData + 8);
  fields.VersionMadeBy = Le16(aData + 4);
  fields.CommentSize = Le16(aData + 32);
  fields.DiskStart = Le16(aData + 34);
  fields.ExternalAttributes = Le32(aData + 38);
  fields.LocalHeaderOffset = Le32(aData + 42);
  return fields;
}

THeaderFields ParseLocalHeader(const unsigned char* aData) { return ParseSharedFields(aData + 6); }

std::string_view FindExtraField(std::string_view aExtra, std::uint16_t aId) {
  const auto* data = reinterpret_cast<const unsigned char*>(aExtra.data());
  std::size_t pos = 0;
  while (pos + 4 <= aExtra.size()) {
    const std::uint16_t id = Le16(data + pos);
    const std::size_t size = Le16(data + pos + 2);
    pos += 4;
    if (size > aExtra.size() - pos) break;
    if (id == aId) return aExtra.substr(pos, size);
    pos += size;
  }
  return {};
}

bool ApplyZip64Extra(std::string_view aExtra, THeaderFields& aFields) {
  const std::string_view field = FindExtraField(aExtra, kZip64ExtraId);
  const auto* data = reinterpret_cast<const unsigned char*>(field.data());
  std::size_t pos = 0;
  const auto take64 = [&](std::uint64_t& aValue) {
    if (aValue != kZip64Marker32) return true;
    if (pos + 8 > field.size()) return false;
    aValue = Le64(data + pos);
    pos += 8;
    return true;
  };
  if (!take64(aFields.UncompressedSize) || !take64(aFields.CompressedSize) ||
      !take64(aFields.LocalHeaderOffset)) {
    return false;
  }
  if (aFields.DiskStart != kZip64Marker16) return true;
  if (pos + 4 > field.size()) return false;
  aFields.DiskStart = Le32(data + pos);
  return true;
}

}  // namespace vek::zipformat
