#include "fuzz/FuzzInput.h"
#include "imaging/PngCodec.h"

namespace {

// A few compressed bytes can claim a large picture; larger ones are valid but only slow the
// search down.
constexpr uint64_t kMaxFuzzPixelBytes = uint64_t{1} << 24;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kelvarn;
    imaging::ImageRecord target;
    imaging::PngCodec codec;
    if (!codec.open(fuzz::streamOf(data, size), target))
        return 0;
    if (imaging::pixelBytes(static_cast<int32_t>(codec.headerWidth()),
                            static_cast<int32_t>(codec.headerHeight()),
                            codec.bitsPerPixel()) > kMaxFuzzPixelBytes)
        return 0;
    if (codec.decode()) {
        // Whatever the file held, its picture converts without reading outside it.
        imaging::ImageRecord rgb;
        target.convertTo(rgb, 24, 0);
    }
    return 0;
}
