#pragma once
// The own PNG reader beside libpng: for the common PNGs (see scanPngChunks) it gathers IDAT,
// inflates the whole zlib stream in one libdeflate call into a buffer of exactly the size the
// header announces, and undoes the row filters straight into the record's rows, giving the
// pixels the codec's libpng path gives. Whatever it cannot judge it declines, and the codec reads
// the file with libpng, whose warnings and errors then decide.

#include "imaging/HeapBlock.h"
#include "imaging/ImageRecord.h"
#include "imaging/PngChunks.h"
#include "imaging/PngFilter.h"
#include "imaging/PngRowFormat.h"

#include <cstdint>
#include <cstdio>
#include <memory>

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

// One pass of the filtered stream (the whole picture when not interlaced): its size in pixels
// and where its rows start.
struct PngPassLayout {
    Adam7Pass pass;
    uint32_t columns;
    uint32_t rows;
    size_t rowBytes; // filtered bytes of a row, without the filter-type byte
    size_t offset;
};

// The inflated, still filtered image data of a scanned file.
struct PngImageData {
    PngPassLayout passes[7];
    int passCount = 0;
    size_t bytes = 0;
    uint32_t width = 0;
    PngRowFormat format{0, 8};
    HeapBlock stream; // the inflated rows, filter bytes included
};

// The steps of readPngOwn after the chunks, apart so that the benchmark can time each. Inflate
// releases the scan's IDAT; false when the stream is not exactly the announced size or a row
// names an unknown filter. Unfiltering needs a record of the picture's size and layout; false
// when its scratch rows cannot be had.
bool inflatePngImage(PngChunkScan& scan, PngImageData& data);
bool unfilterPngImage(PngImageData& data, ImageRecord& target);

} // namespace kelvarn::imaging
