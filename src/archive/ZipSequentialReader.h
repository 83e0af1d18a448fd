#pragma once
// Reads a bounded stretch of an input front to back through one fixed buffer, so that a
// central directory of any length is read with the same small amount of memory and without
// one system call per record.
#include <cstdint>
#include <string>
#include <vector>

#include "archive/ZipInput.h"

namespace vek {

class TZipSequentialReader {
 public:
  // Reads the bytes from aStart up to (not including) aEnd.
  TZipSequentialReader(IZipInput& aInput, std::uint64_t aStart, std::uint64_t aEnd);

  // False when fewer than aCount bytes are left in the stretch or the input fails.
  bool Read(unsigned char* aBuffer, std::size_t aCount);
  bool Read(std::string& aText, std::size_t aCount);
  std::uint64_t Position() const { return fPosition; }

 private:
  bool Fill();

  IZipInput& fInput;
  std::uint64_t fPosition;  // of the next byte handed out
  std::uint64_t fEnd;
  std::vector<unsigned char> fBuffer;
  std::size_t fBufferPos = 0, fBufferEnd = 0;
};

}  // namespace vek
