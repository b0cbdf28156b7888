#include "tests/imaging/TestPictures.h"

#include <cstring>
#include <random>

namespace kelvarn::testing {

using imaging::ImageRecord;

void fillPattern(ImageRecord& image, uint32_t seed) {
    std::mt19937 random(seed);
    const size_t rowBytes = image.rowBytes();
    for (int32_t y = 0; y < image.height(); ++y) {
        uint8_t* row = image.row(y);
        for (size_t x = 0; x < rowBytes; ++x)
            row[x] = static_cast<uint8_t>(x * 7 + static_cast<size_t>(y) * 13 + (random() & 7));
    }
}

::testing::AssertionResult sameImage(const ImageRecord& a, const ImageRecord& b) {
    if (a.width() != b.width() || a.height() != b.height() ||
        a.bitsPerPixel() != b.bitsPerPixel() || a.paletteCount() != b.paletteCount())
        return ::testing::AssertionFailure()
               << a.width() << "x" << a.height() << "x" << a.bitsPerPixel() << "/"
               << a.paletteCount() << " vs " << b.width() << "x" << b.height() << "x"
               << b.bitsPerPixel() << "/" << b.paletteCount();
    for (size_t i = 0; i < a.bufferSize(); ++i)
        if (a.pixels()[i] != b.pixels()[i])
            return ::testing::AssertionFailure() << "pixel byte " << i << ": " << int(a.pixels()[i])
                                                 << " vs " << int(b.pixels()[i]);
    for (int32_t i = 0; i < a.paletteCount(); ++i)
        if (std::memcmp(a.paletteEntries() + i * 8, b.paletteEntries() + i * 8, 3) != 0)
            return ::testing::AssertionFailure() << "palette entry " << i;
    return ::testing::AssertionSuccess();
}

} // namespace kelvarn::testing
