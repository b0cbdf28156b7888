// Reads the input twice, by the codec with its own reader and by libpng alone: the results must
// agree, the own reader must never take a file libpng refuses, and what it takes must give
// libpng's picture byte for byte.
#include "fuzz/FuzzInput.h"
#include "imaging/PngCodec.h"

#include <cstdlib>
#include <cstring>

namespace {

// As in the reader's own target: a few compressed bytes can claim a large picture.
constexpr uint64_t kMaxFuzzPixelBytes = uint64_t{1} << 24;

struct Reading {
    int result = 0;
    bool own = false;
};

Reading readWith(const uint8_t* data, size_t size, bool ownReader,
                 kelvarn::imaging::ImageRecord& target) {
    using namespace kelvarn;
    imaging::PngCodec codec;
    codec.setOwnReader(ownReader);
    Reading reading;
    if (!codec.open(fuzz::streamOf(data, size), target))
        return reading;
    if (imaging::pixelBytes(static_cast<int32_t>(codec.headerWidth()),
                            static_cast<int32_t>(codec.headerHeight()),
                            codec.bitsPerPixel()) > kMaxFuzzPixelBytes)
        return reading;
    reading.result = codec.decode();
    reading.own = codec.ownReaderDecoded();
    return reading;
}

bool samePicture(const kelvarn::imaging::ImageRecord& a, const kelvarn::imaging::ImageRecord& b) {
    if (a.width() != b.width() || a.height() != b.height() ||
        a.bitsPerPixel() != b.bitsPerPixel() || a.paletteCount() != b.paletteCount())
        return false;
    if (a.pixels() && std::memcmp(a.pixels(), b.pixels(), a.rowBytes() * a.height()) != 0)
        return false;
    for (int32_t i = 0; i < a.paletteCount(); ++i)
        if (std::memcmp(a.paletteEntries() + 8 * i, b.paletteEntries() + 8 * i, 3) != 0)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kelvarn::imaging::ImageRecord own;
    kelvarn::imaging::ImageRecord reference;
    const Reading ours = readWith(data, size, true, own);
    const Reading libpng = readWith(data, size, false, reference);
    if (ours.own && (libpng.result != 1 || !samePicture(own, reference)))
        std::abort();
    if (ours.result != libpng.result)
        std::abort();
    return 0;
}
