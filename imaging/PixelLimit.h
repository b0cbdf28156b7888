#pragma once
// The size check every decoder makes before it allocates pixel memory: width x height x bytes
// per pixel in 64 bits, refused above the limit (2^31 bytes unless lowered). The fuzz targets
// lower the limit so that a tiny file announcing a huge but valid picture stays cheap.
//
// Threads: every call is safe from any thread. The limit is one atomic value, so a change made
// while decoders run reaches each of them at its next check.

#include <cstdint>

namespace kelvarn::imaging {

constexpr uint64_t kDefaultPixelByteLimit = uint64_t{1} << 31;

uint64_t pixelByteLimit();
void setPixelByteLimit(uint64_t limit);

// The byte count of a width x height picture of `bytesPerPixel`, or 0 when a side is below 1,
// a side does not fit a signed 32-bit value, or the product exceeds the limit.
uint64_t checkedPixelBytes(int64_t width, int64_t height, int64_t bytesPerPixel);

// Deflate's best case: a 258-byte match coded in two bits.
constexpr uint64_t kDeflateBestRatio = 1032;

// Whether compressed data that can expand to at most `reachableBytes` (its bytes times its
// scheme's best ratio) can give `sampleBytes` of samples, with 64 KB to spare for headers and
// rounding. A file that cannot is incomplete or announces more than it holds, and is refused
// before its pixel memory is taken.
bool dataCanHoldSamples(uint64_t reachableBytes, uint64_t sampleBytes);

} // namespace kelvarn::imaging
