#pragma once
// The Adam7 passes and the row filters of the PNG writer: turns a picture into the filtered,
// interlaced byte stream that the writer then compresses as a whole.

#include "imaging/Progress.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kelvarn::imaging {

struct Adam7Pass {
    uint32_t startX;
    uint32_t startY;
    uint32_t stepX;
    uint32_t stepY;
};

inline constexpr std::array<Adam7Pass, 7> kAdam7Passes = {{
    {0, 0, 8, 8},
    {4, 0, 8, 8},
    {0, 4, 4, 8},
    {2, 0, 4, 4},
    {0, 2, 2, 4},
    {1, 0, 2, 2},
    {0, 1, 1, 2},
}};

// Pixels in one row (columns) or rows of a pass; 0 when the picture is too small to reach it.
uint32_t passColumns(const Adam7Pass& pass, uint32_t width);
uint32_t passRows(const Adam7Pass& pass, uint32_t height);

// The picture the filters read: packed rows, top-down, `bytesPerPixel` bytes a pixel.
struct FilterSource {
    const uint8_t* pixels;
    size_t rowBytes;
    uint32_t width;
    uint32_t height;
    uint32_t bytesPerPixel;
};

// Bytes of the interlaced stream: each row of each non-empty pass with its filter-type byte
// in front. 0 when the stream would not fit in memory at all.
size_t interlacedStreamBytes(uint32_t width, uint32_t height, uint32_t bytesPerPixel);

enum class FilterRule {
    None,         // every row unfiltered (palette pictures: filters only scatter their indexes)
    MinimumSumAbs // per row, the filter whose output bytes, taken as signed magnitudes, sum
                  // smallest, with Sub's sum weighted four fifths
};

// Fills `out` (interlacedStreamBytes long) with the seven passes' filtered rows. Progress is
// reported for every picture row in every pass. False when its scratch rows cannot be had.
bool filterInterlaced(const FilterSource& source, FilterRule rule, uint8_t* out,
                      ProgressCallback progress);

// The byte-wise filters of the PNG standard over one row of `count` bytes; `previous` is the
// row above in the same pass (all zero for a pass's first row). `bpp` is the pixel's byte
// count, the distance to the byte on the left.
void filterSub(const uint8_t* row, size_t count, size_t bpp, uint8_t* out);
void filterUp(const uint8_t* row, const uint8_t* previous, size_t count, uint8_t* out);
void filterAverage(const uint8_t* row, const uint8_t* previous, size_t count, size_t bpp,
                   uint8_t* out);
void filterPaeth(const uint8_t* row, const uint8_t* previous, size_t count, size_t bpp,
                 uint8_t* out);
// Sum of the bytes taken as signed magnitudes (0..128), the measure of the MinimumSumAbs rule.
uint64_t signedMagnitudeSum(const uint8_t* bytes, size_t count);

} // namespace kelvarn::imaging
