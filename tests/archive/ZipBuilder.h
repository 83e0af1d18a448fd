#pragma once
// Builds pack bytes in memory for the tests, including the malformed ones no archiver writes:
// every value the reader checks can be replaced by a lie.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vek::test {

enum TDescriptor { ddNone, ddSigned, ddUnsigned };

struct TTestEntry {
  std::string Name;  // the bytes stored as the name
  std::string Data;
  bool Deflated = true;
  std::uint16_t Flags = 0;
  std::optional<std::uint16_t> Method;  // instead of stored or deflated
  std::uint32_t DosDateTime = 0x2E8530E4;
  TDescriptor Descriptor = ddNone;
  std::optional<std::string> Compressed;  // stored as the entry's data instead of Data compressed
  // Lies written into the headers instead of the true values:
  std::optional<std::uint32_t> CentralCrc;
  std::optional<std::uint64_t> CentralSize, CentralCompressedSize, CentralOffset, LocalSize;
  std::string CentralExtra;
  bool BreakLocalSignature = false;
};

struct TTestPack {
  std::vector<TTestEntry> Entries;
  bool Zip64 = false;
  std::string Comment;
  std::optional<std::uint64_t> EntryCount, DirectorySize, DirectoryOffset;
};

TTestPack PackOf(std::vector<TTestEntry> aEntries);
std::string RawDeflate(std::string_view aData);
std::string BuildPack(const TTestPack& aPack);
// A pack of stored and deflated files under these names, with the name as content.
std::string SimplePack(const std::vector<std::string>& aNames);

}  // namespace vek::test
