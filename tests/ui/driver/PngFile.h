#pragma once
// Writes 24-bit RGB pixels as a PNG file: one IDAT chunk, compressed with zlib, no filters.
#include <cstdint>
#include <string>
#include <vector>

namespace uidriver {

// aRgb holds aHeight rows of aWidth pixels, three bytes each (red, green, blue), top row first.
bool WritePng(const std::wstring& aPath, int aWidth, int aHeight, const std::vector<std::uint8_t>& aRgb);

}  // namespace uidriver
