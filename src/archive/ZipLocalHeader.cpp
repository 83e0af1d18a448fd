#include "archive/ZipLocalHeader.h"

#include <string>

#include "archive/ZipFormat.h"

namespace vek {
namespace {

using namespace zipformat;

// With a data descriptor the local header's sizes and CRC are zero; the directory's values
// count then. Otherwise all three must agree, after the ZIP64 field has replaced the markers.
bool SizesAgree(IZipInput& aInput, const TZipEntry& aEntry, std::uint64_t aExtraOffset,
                THeaderFields aLocal) {
  if (aLocal.Flags & TZipEntry::kFlagDataDescriptor) return true;
  if (aLocal.CompressedSize == kZip64Marker32 || aLocal.UncompressedSize == kZip64Marker32) {
    std::string extra(aLocal.ExtraSize, '\0');
    if (!aInput.ReadExact(aExtraOffset, reinterpret_cast<unsigned char*>(extra.data()), extra.size()) ||
        !ApplyZip64Extra(extra, aLocal)) {
      return false;
    }
  }
  return aLocal.Crc == aEntry.Crc && aLocal.CompressedSize == aEntry.CompressedSize &&
         aLocal.UncompressedSize == aEntry.UncompressedSize;
}

}  // namespace

bool FindEntryData(IZipInput& aInput, const TZipEntry& aEntry, std::uint64_t aDataEnd,
                   std::uint64_t& aDataStart) {
  unsigned char header[kLocalHeaderSize];
  const std::uint64_t offset = aEntry.LocalHeaderOffset;
  if (offset > aDataEnd || aDataEnd - offset < kLocalHeaderSize ||
      !aInput.ReadExact(offset, header, sizeof header) || Le32(header) != kLocalHeaderSignature) {
    return false;
  }
  const THeaderFields local = ParseLocalHeader(header);
  if (local.Method != aEntry.Method ||
      (local.Flags & TZipEntry::kFlagEncrypted) != (aEntry.Flags & TZipEntry::kFlagEncrypted)) {
    return false;
  }
  const std::uint64_t extraOffset = offset + kLocalHeaderSize + local.NameSize;
  aDataStart = extraOffset + local.ExtraSize;
  if (aDataStart > aDataEnd || aEntry.CompressedSize > aDataEnd - aDataStart) return false;
  return SizesAgree(aInput, aEntry, extraOffset, local);
}

}  // namespace vek
