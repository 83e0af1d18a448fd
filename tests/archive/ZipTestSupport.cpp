#include "ZipTestSupport.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace vek::test {

std::string Utf8Path(const fs::path& aPath) {
  const std::u8string text = aPath.u8string();
  return std::string(text.begin(), text.end());
}

fs::path PathFromUtf8(std::string_view aText) { return fs::path(std::u8string(aText.begin(), aText.end())); }

TTempFolder::TTempFolder() {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  std::ostringstream name;
  name << "vek-zip-" << std::hex << random() << "-" << counter++;
  fPath = fs::temp_directory_path() / name.str();
  fs::create_directories(fPath);
}

TTempFolder::~TTempFolder() {
  std::error_code ignored;
  fs::remove_all(fPath, ignored);
}

std::string ReadBytes(const fs::path& aPath) {
  std::ifstream file(aPath, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void WriteBytes(const fs::path& aPath, std::string_view aBytes) {
  std::ofstream file(aPath, std::ios::binary | std::ios::trunc);
  file.write(aBytes.data(), static_cast<std::streamsize>(aBytes.size()));
}

std::uint32_t Crc32(std::string_view aBytes) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(aBytes.data()), static_cast<uInt>(aBytes.size())));
}

std::vector<std::string> TreeOf(const fs::path& aRoot) {
  std::vector<std::string> tree;
  for (const auto& item : fs::recursive_directory_iterator(aRoot)) {
    const std::u8string relative = item.path().lexically_relative(aRoot).generic_u8string();
    std::string name(relative.begin(), relative.end());
    if (item.is_directory()) name += '/';
    tree.push_back(name);
  }
  std::sort(tree.begin(), tree.end());
  return tree;
}

fs::path PacksFolder() {
  const char* folder = std::getenv("VEK_ZIP_PACKS");
  return folder ? PathFromUtf8(folder) : fs::path();
}

TZipReaderEvents TEventRecorder::Events() {
  TZipReaderEvents events;
  events.OnStartUnZip = [this](std::size_t, const std::string& aName) { Started.push_back(aName); };
  events.OnFilePercentDone = [this](int aPercent) { Percents.push_back(aPercent); };
  events.OnBadCRC = [this](std::uint32_t aCalculated, std::uint32_t aStored, std::size_t aIndex) {
    BadCrcs.push_back({aCalculated, aStored, aIndex});
  };
  events.OnSkippingFile = [this](TZipSkipReason aReason, const std::string& aName, std::size_t aIndex,
                                 bool& aRetry) {
    Skips.push_back({aReason, aName, aIndex});
    aRetry = AnswerRetry;
  };
  return events;
}

}  // namespace vek::test
