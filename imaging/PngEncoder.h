#pragma once
// The PNG writer: 8 bits per sample, palette, RGB or RGBA, always Adam7-interlaced. The file
// holds the signature, IHDR, PLTE (palette pictures only), IDAT and IEND and nothing else, so
// the same picture always gives the same bytes. The filtered rows of all seven passes are
// compressed in one call as one zlib stream.

#include "imaging/Progress.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace kelvarn::imaging {

// The deflate level of the writer: the fastest whose output on real photographs is no larger
// than what libpng writes with its default settings (zlib level 6, its own filter choice).
inline constexpr int kPngDeflateLevel = 5;

inline constexpr uint8_t kPngColourPalette = 3;
inline constexpr uint8_t kPngColourRgb = 2;
inline constexpr uint8_t kPngColourRgba = 6;

struct PngPicture {
    const uint8_t* pixels; // packed rows, top-down, in the colour type's sample order
    size_t rowBytes;
    uint32_t width;
    uint32_t height;
    uint8_t colourType;     // kPngColourPalette, kPngColourRgb or kPngColourRgba
    const uint8_t* palette; // red, green, blue of each entry (palette pictures)
    uint32_t paletteCount;  // 1 to 256 for palette pictures
    int deflateLevel = kPngDeflateLevel;
};

enum class PngWriteResult { Written, NoMemory, WriteFailed, BadPicture };

// Writes the whole file at the stream's position. Palette indexes are written as they are, also
// those at or above the palette count (the library's depth conversion makes them black). Progress
// is reported for every picture row in each of the seven passes. The filtered and the compressed
// stream are held at once; when either cannot be had nothing is written.
PngWriteResult writePng(std::FILE* stream, const PngPicture& picture,
                        ProgressCallback progress = nullptr);

} // namespace kelvarn::imaging
