#include "ZipBuilder.h"

#include <zlib.h>

namespace vek::test {
namespace {

constexpr std::uint32_t kMarker32 = 0xFFFFFFFF;

void Put16(std::string& aOut, std::uint64_t aValue) {
  aOut += static_cast<char>(aValue & 0xFF);
  aOut += static_cast<char>((aValue >> 8) & 0xFF);
}
void Put32(std::string& aOut, std::uint64_t aValue) {
  Put16(aOut, aValue & 0xFFFF);
  Put16(aOut, (aValue >> 16) & 0xFFFF);
}
void Put64(std::string& aOut, std::uint64_t aValue) {
  Put32(aOut, aValue & 0xFFFFFFFF);
  Put32(aOut, aValue >> 32);
}

struct TLaidOut {
  std::uint32_t Crc = 0;
  std::uint64_t Size = 0, CompressedSize = 0, Offset = 0;
  std::uint16_t Method = 0;
};

std::string Zip64Extra(std::initializer_list<std::uint64_t> aValues) {
  std::string extra;
  Put16(extra, 0x0001);
  Put16(extra, aValues.size() * 8);
  for (const std::uint64_t value : aValues) Put64(extra, value);
  return extra;
}

TLaidOut WriteLocal(std::string& aOut, const TTestEntry& aEntry, bool aZip64) {
  TLaidOut laid;
  laid.Offset = aOut.size();
  laid.Crc = static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(aEntry.Data.data()), static_cast<uInt>(aEntry.Data.size())));
  laid.Method = aEntry.Method.value_or(aEntry.Deflated ? 8 : 0);
  const std::string data =
      aEntry.Compressed.value_or(aEntry.Deflated ? RawDeflate(aEntry.Data) : aEntry.Data);
  laid.Size = aEntry.Data.size();
  laid.CompressedSize = data.size();
  const bool descriptor = aEntry.Descriptor != ddNone;
  const std::uint64_t localSize = aEntry.LocalSize.value_or(laid.Size);
  const std::string extra =
      aZip64 && !descriptor ? Zip64Extra({localSize, laid.CompressedSize}) : std::string();
  Put32(aOut, aEntry.BreakLocalSignature ? 0x04034b51 : 0x04034b50);
  Put16(aOut, aZip64 ? 45 : 20);
  Put16(aOut, aEntry.Flags | (descriptor ? 0x0008 : 0));
  Put16(aOut, laid.Method);
  Put32(aOut, aEntry.DosDateTime);
  Put32(aOut, descriptor ? 0 : laid.Crc);
  Put32(aOut, descriptor ? 0 : (aZip64 ? kMarker32 : laid.CompressedSize));
  Put32(aOut, descriptor ? 0 : (aZip64 ? kMarker32 : localSize));
  Put16(aOut, aEntry.Name.size());
  Put16(aOut, extra.size());
  aOut += aEntry.Name + extra + data;
  if (aEntry.Descriptor == ddSigned) Put32(aOut, 0x08074b50);
  if (descriptor) {
    Put32(aOut, laid.Crc);
    (aZip64 ? Put64 : Put32)(aOut, laid.CompressedSize);
    (aZip64 ? Put64 : Put32)(aOut, laid.Size);
  }
  return laid;
}

void WriteCentral(std::string& aOut, const TTestEntry& aEntry, const TLaidOut& aLaid, bool aZip64) {
  const std::uint64_t size = aEntry.CentralSize.value_or(aLaid.Size);
  const std::uint64_t compressed = aEntry.CentralCompressedSize.value_or(aLaid.CompressedSize);
  const std::uint64_t offset = aEntry.CentralOffset.value_or(aLaid.Offset);
  const std::string extra =
      (aZip64 ? Zip64Extra({size, compressed, offset}) : std::string()) + aEntry.CentralExtra;
  Put32(aOut, 0x02014b50);
  Put16(aOut, 0x031E);  // made on Unix, version 3.0
  Put16(aOut, aZip64 ? 45 : 20);
  Put16(aOut, aEntry.Flags | (aEntry.Descriptor != ddNone ? 0x0008 : 0));
  Put16(aOut, aLaid.Method);
  Put32(aOut, aEntry.DosDateTime);
  Put32(aOut, aEntry.CentralCrc.value_or(aLaid.Crc));
  Put32(aOut, aZip64 ? kMarker32 : compressed);
  Put32(aOut, aZip64 ? kMarker32 : size);
  Put16(aOut, aEntry.Name.size());
  Put16(aOut, extra.size());
  Put16(aOut, 0);  // comment
  Put16(aOut, 0);  // disk
  Put16(aOut, 0);  // internal attributes
  Put32(aOut, 0);  // external attributes
  Put32(aOut, aZip64 ? kMarker32 : offset);
  aOut += aEntry.Name + extra;
}

void WriteZip64End(std::string& aOut, std::uint64_t aCount, std::uint64_t aSize, std::uint64_t aOffset) {
  const std::uint64_t position = aOut.size();
  Put32(aOut, 0x06064b50);
  Put64(aOut, 44);
  Put16(aOut, 45);
  Put16(aOut, 45);
  Put32(aOut, 0);
  Put32(aOut, 0);
  Put64(aOut, aCount);
  Put64(aOut, aCount);
  Put64(aOut, aSize);
  Put64(aOut, aOffset);
  Put32(aOut, 0x07064b50);
  Put32(aOut, 0);
  Put64(aOut, position);
  Put32(aOut, 1);
}

}  // namespace

TTestPack PackOf(std::vector<TTestEntry> aEntries) {
  TTestPack pack;
  pack.Entries = std::move(aEntries);
  return pack;
}

std::string RawDeflate(std::string_view aData) {
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, static_cast<uLong>(aData.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(aData.data()));
  stream.avail_in = static_cast<uInt>(aData.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::string BuildPack(const TTestPack& aPack) {
  std::string out;
  std::vector<TLaidOut> laid;
  for (const TTestEntry& entry : aPack.Entries) laid.push_back(WriteLocal(out, entry, aPack.Zip64));
  const std::uint64_t directoryOffset = out.size();
  for (std::size_t i = 0; i < aPack.Entries.size(); ++i)
    WriteCentral(out, aPack.Entries[i], laid[i], aPack.Zip64);
  const std::uint64_t count = aPack.EntryCount.value_or(aPack.Entries.size());
  const std::uint64_t size = aPack.DirectorySize.value_or(out.size() - directoryOffset);
  const std::uint64_t offset = aPack.DirectoryOffset.value_or(directoryOffset);
  if (aPack.Zip64) WriteZip64End(out, count, size, offset);
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, aPack.Zip64 ? 0xFFFF : count);
  Put16(out, aPack.Zip64 ? 0xFFFF : count);
  Put32(out, aPack.Zip64 ? kMarker32 : size);
  Put32(out, aPack.Zip64 ? kMarker32 : offset);
  Put16(out, aPack.Comment.size());
  return out + aPack.Comment;
}

std::string SimplePack(const std::vector<std::string>& aNames) {
  TTestPack pack;
  bool deflated = false;
  for (const std::string& name : aNames) {
    TTestEntry entry;
    entry.Name = name;
    entry.Data = "content of " + name;
    entry.Deflated = deflated = !deflated;
    pack.Entries.push_back(entry);
  }
  return BuildPack(pack);
}

}  // namespace vek::test
