#include "archive/ZipDataCopier.h"

#include <algorithm>

namespace vek {
namespace {

// Large enough that a pack is read and files are written in few, large system calls.
constexpr std::size_t kInputBufferSize = 256 * 1024;
constexpr std::size_t kOutputBufferSize = 256 * 1024;

std::uint32_t UpdateCrc(std::uint32_t aCrc, const unsigned char* aData, std::size_t aCount) {
  return static_cast<std::uint32_t>(crc32(aCrc, aData, static_cast<uInt>(aCount)));
}

TZipDataOutcome Finish(const TZipEntry& aEntry, std::uint64_t aWritten, std::uint32_t aCrc) {
  if (aWritten != aEntry.UncompressedSize) return {TZipDataResult::Damaged, aCrc};
  return {aCrc == aEntry.Crc ? TZipDataResult::Ok : TZipDataResult::BadCrc, aCrc};
}

}  // namespace

TZipDataCopier::TZipDataCopier() : fIn(kInputBufferSize), fOut(kOutputBufferSize) {}

TZipDataCopier::~TZipDataCopier() {
  if (fStreamReady) inflateEnd(&fStream);
}

TZipDataOutcome TZipDataCopier::Copy(IZipInput& aInput, const TZipEntry& aEntry, std::uint64_t aDataStart,
                                     IZipOutput& aOutput, const TProgress& aProgress) {
  if (aEntry.Method == TZipEntry::kMethodStored)
    return CopyStored(aInput, aEntry, aDataStart, aOutput, aProgress);
  return Inflate(aInput, aEntry, aDataStart, aOutput, aProgress);
}

TZipDataOutcome TZipDataCopier::CopyStored(IZipInput& aInput, const TZipEntry& aEntry,
                                           std::uint64_t aDataStart, IZipOutput& aOutput,
                                           const TProgress& aProgress) {
  std::uint32_t crc = UpdateCrc(0, nullptr, 0);
  if (aEntry.CompressedSize != aEntry.UncompressedSize) return {TZipDataResult::Damaged, crc};
  std::uint64_t done = 0;
  while (done < aEntry.UncompressedSize) {
    const auto chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(fIn.size(), aEntry.UncompressedSize - done));
    if (!aInput.ReadExact(aDataStart + done, fIn.data(), chunk)) return {TZipDataResult::Damaged, crc};
    crc = UpdateCrc(crc, fIn.data(), chunk);
    if (!aOutput.Write(fIn.data(), chunk)) return {TZipDataResult::WriteFailed, crc};
    done += chunk;
    aProgress(done);
  }
  return Finish(aEntry, done, crc);
}

// Each round feeds input when the last chunk is used up and takes whatever inflate produces.
// A round that neither consumes nor produces means the stream cannot go on (it is cut short),
// so the loop ends on every input.
TZipDataOutcome TZipDataCopier::Inflate(IZipInput& aInput, const TZipEntry& aEntry, std::uint64_t aDataStart,
                                        IZipOutput& aOutput, const TProgress& aProgress) {
  std::uint32_t crc = UpdateCrc(0, nullptr, 0);
  const bool ready =
      fStreamReady ? inflateReset(&fStream) == Z_OK : inflateInit2(&fStream, -MAX_WBITS) == Z_OK;
  fStreamReady = ready || fStreamReady;
  if (!ready) return {TZipDataResult::Damaged, crc};
  std::uint64_t readPos = aDataStart, inputLeft = aEntry.CompressedSize, written = 0;
  fStream.avail_in = 0;
  for (;;) {
    if (fStream.avail_in == 0 && inputLeft > 0) {
      const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(fIn.size(), inputLeft));
      if (!aInput.ReadExact(readPos, fIn.data(), chunk)) return {TZipDataResult::Damaged, crc};
      readPos += chunk;
      inputLeft -= chunk;
      fStream.next_in = fIn.data();
      fStream.avail_in = static_cast<uInt>(chunk);
    }
    const uInt inputBefore = fStream.avail_in;
    fStream.next_out = fOut.data();
    fStream.avail_out = static_cast<uInt>(fOut.size());
    const int status = inflate(&fStream, Z_NO_FLUSH);
    const std::size_t produced = fOut.size() - fStream.avail_out;
    if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
      return {TZipDataResult::Damaged, crc};
    if (produced > aEntry.UncompressedSize - written) return {TZipDataResult::Damaged, crc};
    if (produced > 0) {
      crc = UpdateCrc(crc, fOut.data(), produced);
      if (!aOutput.Write(fOut.data(), produced)) return {TZipDataResult::WriteFailed, crc};
      written += produced;
      aProgress(written);
    }
    if (status == Z_STREAM_END) return Finish(aEntry, written, crc);
    if (produced == 0 && fStream.avail_in == inputBefore) return {TZipDataResult::Damaged, crc};
  }
}

}  // namespace vek
