#pragma once
// One entry of a pack's central directory, with every value checked against the file.
#include <cstdint>
#include <string>

namespace vek {

struct TZipEntry {
  std::string FullName;  // stored path and name, UTF-8, folders separated as stored
  std::uint64_t UncompressedSize = 0;
  std::uint64_t CompressedSize = 0;
  std::uint64_t LocalHeaderOffset = 0;  // from the start of the file
  std::uint32_t Crc = 0;
  std::uint32_t DosDateTime = 0;  // DOS date in the high word, DOS time in the low word
  std::uint16_t Method = 0;
  std::uint16_t Flags = 0;
  bool IsFolder = false;

  // The name without its folders ("" for a folder entry).
  std::string FileName() const;
  // Traditional or strong encryption: either way the installer has no password for it.
  bool IsEncrypted() const { return (Flags & (kFlagEncrypted | kFlagStrongEncryption)) != 0; }
  bool HasDataDescriptor() const { return (Flags & kFlagDataDescriptor) != 0; }

  static constexpr std::uint16_t kFlagEncrypted = 0x0001;
  static constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
  static constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
  static constexpr std::uint16_t kFlagUtf8 = 0x0800;
  static constexpr std::uint16_t kMethodStored = 0;
  static constexpr std::uint16_t kMethodDeflated = 8;
};

}  // namespace vek
