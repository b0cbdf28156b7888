#pragma once
// The size check every decoder makes before it allocates pixel memory: width x height x bytes
// per pixel in 64 bits, refused above the limit (2^31 bytes unless lowered). The fuzz targets
// lower the limit so that a tiny file announcing a huge but valid picture stays cheap.

#include <cstdint>

namespace kelvarn::imaging {

constexpr uint64_t kDefaultPixelByteLimit = uint64_t{1} << 31;

uint64_t pixelByteLimit();
void setPixelByteLimit(uint64_t limit);

// The byte count of a width x height picture of `bytesPerPixel`, or 0 when a side is below 1,
// a side does not fit a signed 32-bit value, or the product exceeds the limit.
uint64_t checkedPixelBytes(int64_t width, int64_t height, int64_t bytesPerPixel);

} // namespace kelvarn::imaging
