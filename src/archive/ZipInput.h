#pragma once
// The bytes of a pack file as the reader sees them: a random-access source of known size.
// A file on disk, a file under Win32 and a buffer in memory all look alike to the reader, so
// the same parsing code runs in the installer, the native tools, the tests and the fuzzer.
#include <cstddef>
#include <cstdint>

namespace vek {

class IZipInput {
 public:
  virtual ~IZipInput() = default;

  virtual std::uint64_t Size() const = 0;
  // Reads up to aCount bytes at aOffset and returns how many were read: fewer only at the end
  // of the data or when the medium fails.
  virtual std::size_t ReadAt(std::uint64_t aOffset, unsigned char* aBuffer, std::size_t aCount) = 0;

  bool ReadExact(std::uint64_t aOffset, unsigned char* aBuffer, std::size_t aCount) {
    return ReadAt(aOffset, aBuffer, aCount) == aCount;
  }
};

}  // namespace vek
