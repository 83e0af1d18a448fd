#pragma once
// Inflating a zlib stream (RFC 1950: header, deflate data, Adler-32) held in memory, with a cap
// on what comes out, so that a few kilobytes of hostile input cannot claim gigabytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace vek {

enum class TInflateResult {
  Ok,
  Damaged,   // not a zlib stream, cut short, a bad checksum, or data after its end
  TooLarge,  // would inflate to more than the cap
};

struct TInflateOutcome {
  TInflateResult Result = TInflateResult::Ok;
  std::string Data;  // empty unless Ok
};

TInflateOutcome InflateZlib(std::string_view aCompressed, std::size_t aMaxSize);

}  // namespace vek
