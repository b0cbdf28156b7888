#pragma once
// Blue, green, red in a BMP file; red, green, blue in the image record. One swap serves both
// directions.

#include <cstddef>
#include <cstdint>

namespace kelvarn::imaging {

// Writes `pixels` 3-byte pixels of `from` to `to` with the first and third byte of each swapped.
// `to` may be `from`; otherwise they must not overlap.
void swapRedBlue(const uint8_t* from, uint8_t* to, size_t pixels);

inline void swapRedBlue(uint8_t* pixels, size_t count) {
    swapRedBlue(pixels, pixels, count);
}

} // namespace kelvarn::imaging
