#include "archive/MemoryZipFiles.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vek {

class TMemoryZipInput : public IZipInput {
 public:
  explicit TMemoryZipInput(std::string_view aBytes) : fBytes(aBytes) {}
  std::uint64_t Size() const override { return fBytes.size(); }
  std::size_t ReadAt(std::uint64_t aOffset, unsigned char* aBuffer, std::size_t aCount) override {
    if (aOffset >= fBytes.size()) return 0;
    const std::size_t count =
        std::min<std::size_t>(aCount, fBytes.size() - static_cast<std::size_t>(aOffset));
    std::memcpy(aBuffer, fBytes.data() + aOffset, count);
    return count;
  }

 private:
  std::string_view fBytes;
};

class TMemoryZipOutput : public IZipOutput {
 public:
  TMemoryZipOutput(TMemoryZipFiles& aOwner, std::string aPath) : fOwner(aOwner), fPath(std::move(aPath)) {}
  bool Write(const unsigned char* aData, std::size_t aCount) override {
    if (fOwner.fKeepData) fFile.Data.append(reinterpret_cast<const char*>(aData), aCount);
    fFile.Size += aCount;
    fOwner.fBytesWritten += aCount;
    return true;
  }
  bool Commit(std::uint32_t aDosDateTime) override {
    fFile.DosDateTime = aDosDateTime;
    fOwner.fFiles[fPath] = std::move(fFile);
    return true;
  }

 private:
  TMemoryZipFiles& fOwner;
  std::string fPath;
  TMemoryZipFile fFile;
};

void TMemoryZipFiles::AddFile(const std::string& aPath, std::string aData) {
  TMemoryZipFile& file = fFiles[aPath];
  file.Size = aData.size();
  file.Data = std::move(aData);
}

std::unique_ptr<IZipInput> TMemoryZipFiles::OpenInput(const std::string& aPath, std::string& aError) {
  const auto pack = fPacks.find(aPath);
  if (pack != fPacks.end()) return std::make_unique<TMemoryZipInput>(pack->second);
  aError = "The file does not exist";
  return nullptr;
}

bool TMemoryZipFiles::ForceFolders(const std::string& aPath) {
  for (std::size_t end = aPath.find('/', 1); end != std::string::npos; end = aPath.find('/', end + 1)) {
    if (fFiles.count(aPath.substr(0, end))) return false;
    fFolders.insert(aPath.substr(0, end));
  }
  if (fFiles.count(aPath)) return false;
  fFolders.insert(aPath);
  return true;
}

std::unique_ptr<IZipOutput> TMemoryZipFiles::CreateOutput(const std::string& aPath,
                                                          TZipSkipReason& aFailure) {
  if (fFolders.count(aPath)) {
    aFailure = srCreateError;
    return nullptr;
  }
  return std::make_unique<TMemoryZipOutput>(*this, aPath);
}

}  // namespace vek
