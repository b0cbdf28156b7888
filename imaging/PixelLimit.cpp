#include "imaging/PixelLimit.h"

#include <atomic>

namespace kelvarn::imaging {

namespace {
// Read by decoders on the batch's worker threads. Nothing else is ordered by it: relaxed.
std::atomic<uint64_t> g_limit{kDefaultPixelByteLimit};
} // namespace

uint64_t pixelByteLimit() {
    return g_limit.load(std::memory_order_relaxed);
}

void setPixelByteLimit(uint64_t limit) {
    g_limit.store(limit < kDefaultPixelByteLimit ? limit : kDefaultPixelByteLimit,
                  std::memory_order_relaxed);
}

uint64_t checkedPixelBytes(int64_t width, int64_t height, int64_t bytesPerPixel) {
    constexpr int64_t kSideMax = INT32_MAX;
    if (width < 1 || height < 1 || bytesPerPixel < 1 || width > kSideMax || height > kSideMax ||
        bytesPerPixel > 8)
        return 0;
    // Each factor is below 2^31 and the last below 2^4, so the product fits 64 bits.
    const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) *
                           static_cast<uint64_t>(bytesPerPixel);
    return bytes <= pixelByteLimit() ? bytes : 0;
}

bool dataCanHoldSamples(uint64_t reachableBytes, uint64_t sampleBytes) {
    return reachableBytes + (uint64_t{1} << 16) >= sampleBytes;
}

} // namespace kelvarn::imaging
