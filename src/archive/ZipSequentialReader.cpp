#include "archive/ZipSequentialReader.h"

#include <algorithm>
#include <cstring>

namespace vek {
namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

TZipSequentialReader::TZipSequentialReader(IZipInput& aInput, std::uint64_t aStart, std::uint64_t aEnd)
    : fInput(aInput), fPosition(aStart), fEnd(aEnd), fBuffer(kBufferSize) {}

bool TZipSequentialReader::Fill() {
  const std::uint64_t filePos = fPosition;
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<std::uint64_t>(fBuffer.size(), fEnd - filePos));
  fBufferPos = 0;
  fBufferEnd = fInput.ReadAt(filePos, fBuffer.data(), wanted);
  return fBufferEnd > 0;
}

bool TZipSequentialReader::Read(unsigned char* aBuffer, std::size_t aCount) {
  if (aCount > fEnd - fPosition) return false;
  while (aCount > 0) {
    if (fBufferPos == fBufferEnd && !Fill()) return false;
    const std::size_t chunk = std::min(aCount, fBufferEnd - fBufferPos);
    std::memcpy(aBuffer, fBuffer.data() + fBufferPos, chunk);
    fBufferPos += chunk;
    fPosition += chunk;
    aBuffer += chunk;
    aCount -= chunk;
  }
  return true;
}

bool TZipSequentialReader::Read(std::string& aText, std::size_t aCount) {
  aText.resize(aCount);
  return Read(reinterpret_cast<unsigned char*>(aText.data()), aCount);
}

}  // namespace vek
