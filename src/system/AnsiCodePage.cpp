#include "system/AnsiCodePage.h"

#include <windows.h>

#include <climits>

#include "system/WinText.h"

namespace vek {
namespace {

// Converts a piece that ends at a character boundary of the code page.
std::wstring ConvertPiece(std::string_view aBytes) {
  const int length = static_cast<int>(aBytes.size());
  const int needed = ::MultiByteToWideChar(CP_ACP, 0, aBytes.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring text(static_cast<std::size_t>(needed), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, aBytes.data(), length, text.data(), needed);
  return text;
}

}  // namespace

std::string AnsiToUtf8(std::string_view aBytes) {
  // The conversion takes int lengths; a larger text goes in pieces that end after a line feed,
  // which is never the lead byte of a double-byte character.
  constexpr std::size_t kPiece = INT_MAX / 4;
  std::wstring text;
  while (!aBytes.empty()) {
    std::size_t take = aBytes.size();
    if (take > kPiece) {
      const std::size_t lineEnd = aBytes.rfind('\n', kPiece);
      take = lineEnd == std::string_view::npos ? kPiece : lineEnd + 1;
    }
    text += ConvertPiece(aBytes.substr(0, take));
    aBytes.remove_prefix(take);
  }
  return Narrow(text);
}

}  // namespace vek
