#pragma once
// Streams one entry's data from the pack to its output: stored bytes as they are, deflated
// ones through zlib, with the CRC computed on the way. Memory is two fixed buffers and one
// inflate state, reused for every entry, whatever the size of the entry or the pack.
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "archive/ZipEntry.h"
#include "archive/ZipFileSystem.h"
#include "archive/ZipInput.h"

namespace vek {

enum class TZipDataResult {
  Ok,
  BadCrc,       // all data came out, but its CRC differs from the stored one
  Damaged,      // unreadable, cut short, not valid deflate data, or more data than declared
  WriteFailed,  // the output refused the data
};

struct TZipDataOutcome {
  TZipDataResult Result = TZipDataResult::Ok;
  std::uint32_t Crc = 0;  // of the data that came out
};

class TZipDataCopier {
 public:
  // Told the number of bytes written so far after every chunk.
  using TProgress = std::function<void(std::uint64_t aDone)>;

  TZipDataCopier();
  ~TZipDataCopier();
  TZipDataCopier(const TZipDataCopier&) = delete;
  TZipDataCopier& operator=(const TZipDataCopier&) = delete;

  // aEntry's method must be stored or deflated. Never writes more than the entry's declared
  // size: a stream that would inflate beyond it is stopped and reported as damaged.
  TZipDataOutcome Copy(IZipInput& aInput, const TZipEntry& aEntry, std::uint64_t aDataStart,
                       IZipOutput& aOutput, const TProgress& aProgress);

 private:
  TZipDataOutcome CopyStored(IZipInput& aInput, const TZipEntry& aEntry, std::uint64_t aDataStart,
                             IZipOutput& aOutput, const TProgress& aProgress);
  TZipDataOutcome Inflate(IZipInput& aInput, const TZipEntry& aEntry, std::uint64_t aDataStart,
                          IZipOutput& aOutput, const TProgress& aProgress);

  std::vector<unsigned char> fIn;
  std::vector<unsigned char> fOut;
  z_stream fStream{};
  bool fStreamReady = false;
};

}  // namespace vek
