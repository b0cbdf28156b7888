#pragma once
// The own PNG reader beside libpng: for the common PNGs (see scanPngChunks) it gathers IDAT,
// inflates the whole zlib stream in one libdeflate call into a buffer of exactly the size the
// header announces, and undoes the row filters straight into the record's rows, giving the
// pixels the codec's libpng path gives. Whatever it cannot judge it declines, and the codec reads
// the file with libpng, whose warnings and errors then decide.

#include "imaging/ImageRecord.h"

#include <cstdint>
#include <cstdio>

namespace kelvarn::imaging {

// What the codec's libpng path has read of the file and would create the record with.
struct PngReadLayout {
    uint32_t width;
    uint32_t height;
    int bitDepth;
    int colourType;
    int interlaceMethod;
    int32_t bitsPerPixel; // of the record: 8, 24 or 32
    int32_t paletteCount;
};

enum class PngReadOutcome {
    Decoded,  // the record holds the picture
    Declined, // nothing was decided and the record is untouched: the file goes to libpng
    Failed,   // the record could not be created, as it could not for libpng either
};

// Reads `stream` from its start.
PngReadOutcome readPngOwn(std::FILE* stream, const PngReadLayout& layout, ImageRecord& target);

} // namespace kelvarn::imaging
