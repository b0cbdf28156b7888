#include "imaging/PixelLimit.h"

namespace kelvarn::imaging {

namespace {
uint64_t g_limit = kDefaultPixelByteLimit;
}

uint64_t pixelByteLimit() {
    return g_limit;
}

void setPixelByteLimit(uint64_t limit) {
    g_limit = limit < kDefaultPixelByteLimit ? limit : kDefaultPixelByteLimit;
}

uint64_t checkedPixelBytes(int64_t width, int64_t height, int64_t bytesPerPixel) {
    constexpr int64_t kSideMax = INT32_MAX;
    if (width < 1 || height < 1 || bytesPerPixel < 1 || width > kSideMax || height > kSideMax ||
        bytesPerPixel > 8)
        return 0;
    // Each factor is below 2^31 and the last below 2^4, so the product fits 64 bits.
    const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) *
                           static_cast<uint64_t>(bytesPerPixel);
    return bytes <= g_limit ? bytes : 0;
}

bool dataCanHoldSamples(uint64_t reachableBytes, uint64_t sampleBytes) {
    return reachableBytes + (uint64_t{1} << 16) >= sampleBytes;
}

} // namespace kelvarn::imaging
