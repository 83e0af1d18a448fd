#include "archive/ZlibInflate.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <limits>

namespace vek {
namespace {

// Owns one inflate state for the length of a call.
class TInflateStream {
 public:
  TInflateStream() { fReady = inflateInit(&fStream) == Z_OK; }
  ~TInflateStream() {
    if (fReady) inflateEnd(&fStream);
  }
  TInflateStream(const TInflateStream&) = delete;
  TInflateStream& operator=(const TInflateStream&) = delete;
  bool Ready() const { return fReady; }
  z_stream& Stream() { return fStream; }

 private:
  z_stream fStream{};
  bool fReady = false;
};

}  // namespace

TInflateOutcome InflateZlib(std::string_view aCompressed, std::size_t aMaxSize) {
  TInflateStream inflater;
  if (!inflater.Ready() || aCompressed.size() > std::numeric_limits<uInt>::max()) return {TInflateResult::Damaged, {}};
  z_stream& stream = inflater.Stream();
  // zlib does not write through next_in; its interface merely lacks the const.
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(aCompressed.data()));
  stream.avail_in = static_cast<uInt>(aCompressed.size());
  std::string data;
  std::array<char, 64 * 1024> chunk{};
  int status = Z_OK;
  while (status == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
    stream.avail_out = static_cast<uInt>(chunk.size());
    status = inflate(&stream, Z_NO_FLUSH);
    // Z_BUF_ERROR here means no progress is possible: the input ended before the stream did.
    if (status != Z_OK && status != Z_STREAM_END) return {TInflateResult::Damaged, {}};
    const std::size_t produced = chunk.size() - stream.avail_out;
    if (produced > aMaxSize - data.size()) return {TInflateResult::TooLarge, {}};
    data.append(chunk.data(), produced);
  }
  if (stream.avail_in != 0) return {TInflateResult::Damaged, {}};
  return {TInflateResult::Ok, std::move(data)};
}

}  // namespace vek
