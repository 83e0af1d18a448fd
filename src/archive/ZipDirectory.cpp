#include "archive/ZipDirectory.h"

#include <zlib.h>

#include <algorithm>
#include <utility>

#include "archive/ZipFormat.h"
#include "archive/ZipNames.h"
#include "archive/ZipSequentialReader.h"
#include "base/Format.h"

namespace vek {
namespace {

using namespace zipformat;

// Where the end record lies, what it says, and where the central directory must end.
struct TEndLocation {
  std::uint64_t Position = 0;
  std::uint64_t DirectoryEnd = 0;
  TEndRecord Record;
};

bool Fail(std::string& aError, std::string aMessage) {
  aError = std::move(aMessage);
  return false;
}

bool HasSignatureAt(IZipInput& aInput, std::uint64_t aOffset, std::uint32_t aSignature) {
  unsigned char bytes[4];
  return aInput.ReadExact(aOffset, bytes, sizeof bytes) && Le32(bytes) == aSignature;
}

// The record normally ends the file. Bytes appended after it are tolerated, but a signature
// that is only part of the comment must not win over a record whose comment reaches the end.
bool FindEndRecord(IZipInput& aInput, TEndLocation& aLocation, std::string& aError) {
  const std::uint64_t size = aInput.Size();
  if (size < kEndSize) return Fail(aError, "The file is too short to be a ZIP archive");
  const std::size_t tailSize =
      static_cast<std::size_t>(std::min<std::uint64_t>(size, kEndSize + kMaxCommentSize));
  std::vector<unsigned char> tail(tailSize);
  if (!aInput.ReadExact(size - tailSize, tail.data(), tailSize))
    return Fail(aError, "The file cannot be read");
  std::size_t found = tailSize;
  for (std::size_t pos = tailSize - kEndSize + 1; pos-- > 0;) {
    if (Le32(&tail[pos]) != kEndSignature) continue;
    const std::size_t end = pos + kEndSize + Le16(&tail[pos + 20]);
    if (end == tailSize) {
      found = pos;
      break;
    }
    if (found == tailSize && end < tailSize) found = pos;
  }
  if (found == tailSize) {
    return Fail(aError, "No end of central directory record: the file is not a ZIP archive or is truncated");
  }
  aLocation.Position = size - tailSize + found;
  aLocation.DirectoryEnd = aLocation.Position;
  aLocation.Record = ParseEndRecord(&tail[found]);
  return true;
}

// The ZIP64 end record sits before its locator, which sits right before the end record. Its
// recorded offset is tried first, then the place it has when the archive was moved.
bool ApplyZip64EndRecord(IZipInput& aInput, TEndLocation& aLocation, std::string& aError) {
  const bool needed = aLocation.Record.NeedsZip64();
  unsigned char locatorBytes[kZip64LocatorSize];
  if (aLocation.Position < kZip64LocatorSize + kZip64EndSize ||
      !aInput.ReadExact(aLocation.Position - kZip64LocatorSize, locatorBytes, kZip64LocatorSize) ||
      Le32(locatorBytes) != kZip64LocatorSignature) {
    return !needed || Fail(aError, "The ZIP64 end of central directory record is missing");
  }
  const TZip64Locator locator = ParseZip64Locator(locatorBytes);
  if (locator.Disk != 0 || locator.Disks > 1) {
    return Fail(aError, "The archive spans several disks; only single-file archives can be read");
  }
  const std::uint64_t latest = aLocation.Position - kZip64LocatorSize - kZip64EndSize;
  for (const std::uint64_t candidate : {locator.EndOffset, latest}) {
    unsigned char endBytes[kZip64EndSize];
    if (candidate > latest || !aInput.ReadExact(candidate, endBytes, kZip64EndSize) ||
        Le32(endBytes) != kZip64EndSignature) {
      continue;
    }
    ApplyZip64End(endBytes, aLocation.Record);
    aLocation.DirectoryEnd = candidate;
    return true;
  }
  return Fail(aError, "The ZIP64 end of central directory record is damaged");
}

// Checks the directory's size and count against the file and finds where it starts. When the
// archive has bytes in front of it (a self-extracting stub), every recorded offset is short by
// the same amount; that amount comes back in aShift.
bool LocateDirectory(IZipInput& aInput, const TEndLocation& aLocation, std::uint64_t& aStart,
                     std::uint64_t& aShift, std::string& aError) {
  const TEndRecord& record = aLocation.Record;
  if (record.Disk != 0 || record.DirectoryDisk != 0 || record.EntriesOnDisk != record.Entries) {
    return Fail(aError, "The archive spans several disks; only single-file archives can be read");
  }
  if (record.DirectorySize > aLocation.DirectoryEnd) {
    return Fail(aError, "The central directory is larger than the file");
  }
  if (record.Entries > record.DirectorySize / kCentralHeaderSize) {
    return Fail(aError, FormatText("The central directory claims %s entries but has room for %s",
                                   {record.Entries, record.DirectorySize / kCentralHeaderSize}));
  }
  const std::uint64_t expected = aLocation.DirectoryEnd - record.DirectorySize;
  aStart = expected;
  aShift = 0;
  if (record.Entries == 0) return true;
  if (record.DirectoryOffset <= expected &&
      HasSignatureAt(aInput, record.DirectoryOffset, kCentralHeaderSignature)) {
    aStart = record.DirectoryOffset;
    return true;
  }
  if (record.DirectoryOffset < expected && HasSignatureAt(aInput, expected, kCentralHeaderSignature)) {
    aShift = expected - record.DirectoryOffset;
    return true;
  }
  return Fail(aError, "The central directory is not where the end record says");
}

bool IsFolderEntry(const THeaderFields& aFields, std::string_view aName) {
  constexpr std::uint32_t kDosDirectory = 0x10;
  const bool slash = !aName.empty() && (aName.back() == '/' || aName.back() == '\\');
  return slash || ((aFields.ExternalAttributes & kDosDirectory) && aFields.UncompressedSize == 0);
}

// Bit 11 marks a UTF-8 name. Without it, Info-ZIP's Unicode path field gives the UTF-8 form
// as long as it was made for this very name (its CRC covers the stored bytes); otherwise the
// name is in code page 437.
std::string DecodeName(const THeaderFields& aFields, std::string_view aRaw, std::string_view aExtra) {
  if (aFields.Flags & TZipEntry::kFlagUtf8) return CleanUtf8(aRaw);
  const std::string_view unicode = FindExtraField(aExtra, kUnicodePathExtraId);
  if (unicode.size() > 5 && unicode[0] == 1) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(unicode.data());
    const auto nameCrc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(aRaw.data()), static_cast<uInt>(aRaw.size())));
    if (Le32(bytes + 1) == nameCrc) return CleanUtf8(unicode.substr(5));
  }
  return Cp437ToUtf8(aRaw);
}

bool MakeEntry(THeaderFields aFields, std::string_view aName, std::string_view aExtra, std::uint64_t aShift,
               TZipEntry& aEntry, std::string& aError) {
  if (!ApplyZip64Extra(aExtra, aFields)) {
    return Fail(aError, FormatText("The ZIP64 sizes of entry \"%s\" are missing", {Cp437ToUtf8(aName)}));
  }
  if (aFields.DiskStart != 0) {
    return Fail(aError, "The archive spans several disks; only single-file archives can be read");
  }
  aEntry.FullName = DecodeName(aFields, aName, aExtra);
  aEntry.UncompressedSize = aFields.UncompressedSize;
  aEntry.CompressedSize = aFields.CompressedSize;
  aEntry.LocalHeaderOffset = aFields.LocalHeaderOffset + aShift;
  aEntry.Crc = aFields.Crc;
  aEntry.DosDateTime = (static_cast<std::uint32_t>(aFields.Date) << 16) | aFields.Time;
  aEntry.Method = aFields.Method;
  aEntry.Flags = aFields.Flags;
  aEntry.IsFolder = IsFolderEntry(aFields, aName);
  return true;
}

bool ReadEntries(IZipInput& aInput, std::uint64_t aStart, std::uint64_t aCount, std::uint64_t aShift,
                 const TEndLocation& aLocation, std::vector<TZipEntry>& aEntries, std::string& aError) {
  TZipSequentialReader reader(aInput, aStart, aLocation.DirectoryEnd);
  // aCount was checked against the directory's size, which was checked against the file.
  aEntries.reserve(static_cast<std::size_t>(aCount));
  std::string name, extra, comment;
  for (std::uint64_t i = 0; i < aCount; ++i) {
    unsigned char header[kCentralHeaderSize];
    if (!reader.Read(header, sizeof header) || Le32(header) != kCentralHeaderSignature) {
      return Fail(aError, FormatText("Entry %s of the central directory is damaged", {i + 1}));
    }
    const THeaderFields fields = ParseCentralHeader(header);
    if (!reader.Read(name, fields.NameSize) || !reader.Read(extra, fields.ExtraSize) ||
        !reader.Read(comment, fields.CommentSize)) {
      return Fail(aError, FormatText("Entry %s of the central directory is cut short", {i + 1}));
    }
    TZipEntry& entry = aEntries.emplace_back();
    if (!MakeEntry(fields, name, extra, aShift, entry, aError)) return false;
  }
  return true;
}

// Every entry's local header and data must lie before the central directory, and no two
// entries may share bytes: overlapping entries are how a small pack is made to unpack to an
// enormous size, and no archiver writes them.
bool CheckPlacement(const std::vector<TZipEntry>& aEntries, std::uint64_t aDataEnd, std::string& aError) {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;  // start, end
  spans.reserve(aEntries.size());
  for (const TZipEntry& entry : aEntries) {
    const std::uint64_t offset = entry.LocalHeaderOffset;
    if (offset > aDataEnd || aDataEnd - offset < kLocalHeaderSize ||
        entry.CompressedSize > aDataEnd - offset - kLocalHeaderSize) {
      return Fail(aError, FormatText("Entry \"%s\" lies outside the archive's data", {entry.FullName}));
    }
    spans.emplace_back(offset, offset + kLocalHeaderSize + entry.CompressedSize);
  }
  std::sort(spans.begin(), spans.end());
  for (std::size_t i = 1; i < spans.size(); ++i) {
    if (spans[i - 1].second > spans[i].first) return Fail(aError, "Entries of the archive overlap");
  }
  return true;
}

}  // namespace

bool ReadZipDirectory(IZipInput& aInput, TZipDirectory& aDirectory, std::string& aError) {
  aDirectory = {};
  TEndLocation location;
  std::uint64_t start = 0, shift = 0;
  if (!FindEndRecord(aInput, location, aError) || !ApplyZip64EndRecord(aInput, location, aError) ||
      !LocateDirectory(aInput, location, start, shift, aError)) {
    return false;
  }
  aDirectory.DataEnd = start;
  if (!ReadEntries(aInput, start, location.Record.Entries, shift, location, aDirectory.Entries, aError) ||
      !CheckPlacement(aDirectory.Entries, aDirectory.DataEnd, aError)) {
    aDirectory = {};
    return false;
  }
  return true;
}

}  // namespace vek
