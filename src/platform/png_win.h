#pragma once
// PNG files made by the Windows Imaging Component, from rows of 24-bit pixels.
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace plumbo {

// Encodes width x height pixels, top row first, each row `stride` bytes of blue, green, red
// triples, into a whole PNG file with the resolution given in dots per inch. Returns 0, or
// the HRESULT of the step that failed.
HRESULT EncodePng(int width, int height, size_t stride, std::span<const uint8_t> pixels, double dpiX, double dpiY,
                  std::vector<uint8_t>& file);

}  // namespace plumbo
