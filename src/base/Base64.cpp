#include "base/Base64.h"

#include <cstdint>

namespace vek {
namespace {

int SextetOf(char aChar) {
  if (aChar >= 'A' && aChar <= 'Z') return aChar - 'A';
  if (aChar >= 'a' && aChar <= 'z') return aChar - 'a' + 26;
  if (aChar >= '0' && aChar <= '9') return aChar - '0' + 52;
  if (aChar == '+') return 62;
  if (aChar == '/') return 63;
  return -1;
}

bool IsSkipped(char aChar) { return aChar == '\r' || aChar == '\n' || aChar == ' ' || aChar == '\t'; }

}  // namespace

std::optional<std::string> DecodeBase64(std::string_view aText) {
  std::string bytes;
  bytes.reserve(aText.size() / 4 * 3);
  std::uint32_t bits = 0;
  int pending = 0;  // characters of the current group of four
  int padding = 0;
  for (const char c : aText) {
    if (IsSkipped(c)) continue;
    if (c == '=') {
      ++padding;
      continue;
    }
    const int sextet = SextetOf(c);
    if (sextet < 0 || padding > 0) return std::nullopt;
    bits = bits << 6 | static_cast<std::uint32_t>(sextet);
    if (++pending == 4) {
      bytes += static_cast<char>(bits >> 16);
      bytes += static_cast<char>(bits >> 8);
      bytes += static_cast<char>(bits);
      bits = 0;
      pending = 0;
    }
  }
  // A last group of two or three characters carries one or two bytes; padding, when present,
  // completes it to four.
  if (pending == 1 || padding > 2 || (padding > 0 && pending + padding != 4)) return std::nullopt;
  if (pending == 2) bytes += static_cast<char>(bits >> 4);
  if (pending == 3) {
    bytes += static_cast<char>(bits >> 10);
    bytes += static_cast<char>(bits >> 2);
  }
  return bytes;
}

}  // namespace vek
