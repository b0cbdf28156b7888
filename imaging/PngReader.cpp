#include "imaging/PngReader.h"

#include "imaging/PngChunks.h"
#include "imaging/PngFilter.h"
#include "imaging/PngRowFormat.h"
#include "imaging/PngUnfilter.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace kelvarn::imaging {

namespace {

struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// One pass of the filtered stream: its size in pixels and where its rows start.
struct PassLayout {
    Adam7Pass pass;
    uint32_t columns;
    uint32_t rows;
    size_t rowBytes; // filtered bytes of a row, without the filter-type byte
    size_t offset;
};

struct StreamLayout {
    PassLayout passes[7];
    int count = 0;
    size_t bytes = 0; // the whole inflated stream; 0 when it would not fit in memory
};

StreamLayout layOut(const PngChunkScan& scan, uint32_t bitsPerFilePixel) {
    StreamLayout layout;
    constexpr Adam7Pass kWhole{0, 0, 1, 1};
    const int passes = scan.interlaceMethod == 1 ? 7 : 1;
    // Widths and heights are below 2^31 and pixels at most 32 bits, so no term wraps 64 bits;
    // the sum is checked against what memory could hold.
    uint64_t total = 0;
    for (int i = 0; i < passes; ++i) {
        const Adam7Pass& pass = passes == 7 ? kAdam7Passes[i] : kWhole;
        const uint32_t columns = passColumns(pass, scan.width);
        const uint32_t rows = passRows(pass, scan.height);
        if (columns == 0 || rows == 0)
            continue;
        const uint64_t rowBytes = (uint64_t{columns} * bitsPerFilePixel + 7) / 8;
        layout.passes[layout.count++] = {pass, columns, rows, static_cast<size_t>(rowBytes),
                                         static_cast<size_t>(total)};
        total += rows * (rowBytes + 1);
        if (total > std::numeric_limits<size_t>::max() / 4)
            return layout;
    }
    layout.bytes = static_cast<size_t>(total);
    return layout;
}

bool filterTypesKnown(const StreamLayout& layout, const uint8_t* stream) {
    for (int p = 0; p < layout.count; ++p) {
        const PassLayout& pass = layout.passes[p];
        const uint8_t* row = stream + pass.offset;
        for (uint32_t r = 0; r < pass.rows; ++r, row += pass.rowBytes + 1)
            if (*row > kPngFilterPaeth)
                return false;
    }
    return true;
}

template <size_t Bpp>
void scatterFixed(const uint8_t* pixels, uint32_t columns, uint32_t step, uint8_t* out) {
    for (uint32_t k = 0; k < columns; ++k, pixels += Bpp, out += step * Bpp)
        std::memcpy(out, pixels, Bpp);
}

// Puts the pixels of an Adam7 pass row at every `step`-th pixel of a record row.
void scatter(const uint8_t* pixels, uint32_t columns, size_t bpp, uint32_t step, uint8_t* out) {
    if (bpp == 1)
        scatterFixed<1>(pixels, columns, step, out);
    else if (bpp == 3)
        scatterFixed<3>(pixels, columns, step, out);
    else
        scatterFixed<4>(pixels, columns, step, out);
}

// Undoes the filters of the inflated stream and writes the picture into `target`. Rows that
// need no conversion are undone straight into the record; the others in place in the stream,
// then converted into the record's row (or, for the first six Adam7 passes, scattered into
// it).
void writePicture(const StreamLayout& layout, uint8_t* stream, const PngRowFormat& format,
                  const uint8_t* zeroRow, uint8_t* scratch, ImageRecord& target) {
    const size_t filePixel = format.filterDistance();
    const size_t recordPixel = format.recordBytesPerPixel();
    for (int p = 0; p < layout.count; ++p) {
        const PassLayout& pass = layout.passes[p];
        const bool wholeRows = pass.pass.stepX == 1;
        const bool direct = wholeRows && format.isCopy();
        const uint8_t* previous = zeroRow;
        uint8_t* row = stream + pass.offset;
        for (uint32_t r = 0; r < pass.rows; ++r, row += pass.rowBytes + 1) {
            const int32_t y = static_cast<int32_t>(pass.pass.startY + r * pass.pass.stepY);
            uint8_t* const filtered = row + 1;
            if (direct) {
                // The row above in this pass is already in the record.
                unfilterRow(row[0], filtered, previous, target.row(y), pass.rowBytes, filePixel);
                previous = target.row(y);
                continue;
            }
            unfilterRow(row[0], filtered, previous, filtered, pass.rowBytes, filePixel);
            previous = filtered;
            if (wholeRows) {
                format.convert(filtered, pass.columns, target.row(y));
                continue;
            }
            const uint8_t* pixels = filtered;
            if (!format.isCopy()) {
                format.convert(filtered, pass.columns, scratch);
                pixels = scratch;
            }
            scatter(pixels, pass.columns, recordPixel, pass.pass.stepX,
                    target.row(y) + pass.pass.startX * recordPixel);
        }
    }
}

bool matchesLayout(const PngChunkScan& scan, const PngReadLayout& layout) {
    return scan.width == layout.width && scan.height == layout.height &&
           scan.bitDepth == layout.bitDepth && scan.colourType == layout.colourType &&
           scan.interlaceMethod == layout.interlaceMethod &&
           static_cast<int32_t>(scan.paletteCount) == layout.paletteCount;
}

} // namespace

PngReadOutcome readPngOwn(std::FILE* stream, const PngReadLayout& layout, ImageRecord& target) {
    PngChunkScan scan;
    if (!scanPngChunks(stream, scan) || !matchesLayout(scan, layout))
        return PngReadOutcome::Declined;
    const PngRowFormat format(scan.colourType, scan.bitDepth);
    if (format.recordBytesPerPixel() * 8 != static_cast<size_t>(layout.bitsPerPixel))
        return PngReadOutcome::Declined;
    const StreamLayout streamLayout = layOut(scan, format.bitsPerFilePixel());
    if (streamLayout.bytes == 0)
        return PngReadOutcome::Declined;

    // The exact size: a stream that gives fewer or more bytes, or leaves input over, is
    // libpng's to judge.
    std::unique_ptr<uint8_t[]> inflated(new (std::nothrow) uint8_t[streamLayout.bytes]);
    const std::unique_ptr<libdeflate_decompressor, DecompressorFree> decompressor(
        libdeflate_alloc_decompressor());
    if (!inflated || !decompressor)
        return PngReadOutcome::Declined;
    size_t consumed = 0;
    if (libdeflate_zlib_decompress_ex(decompressor.get(), scan.idat.get(), scan.idatBytes,
                                      inflated.get(), streamLayout.bytes, &consumed,
                                      nullptr) != LIBDEFLATE_SUCCESS ||
        consumed != scan.idatBytes || !filterTypesKnown(streamLayout, inflated.get()))
        return PngReadOutcome::Declined;
    // The compressed data goes before the pixel memory comes.
    scan.idat.reset();

    const size_t widestRow = (size_t{scan.width} * format.bitsPerFilePixel() + 7) / 8;
    std::unique_ptr<uint8_t[]> rows(new (std::nothrow) uint8_t[widestRow + size_t{scan.width} * 4]);
    if (!rows)
        return PngReadOutcome::Declined;
    std::memset(rows.get(), 0, widestRow);

    const auto width = static_cast<int32_t>(scan.width);
    const auto height = static_cast<int32_t>(scan.height);
    if (target.width() != width || target.height() != height ||
        target.bitsPerPixel() != layout.bitsPerPixel ||
        target.paletteCount() != layout.paletteCount) {
        if (target.create(width, height, layout.bitsPerPixel, layout.paletteCount) != 1)
            return PngReadOutcome::Failed;
    }
    for (uint32_t i = 0; i < scan.paletteCount; ++i)
        std::memcpy(target.paletteEntries() + i * PaletteTable::kEntryBytes,
                    scan.palette.data() + 3 * i, 3);
    writePicture(streamLayout, inflated.get(), format, rows.get(), rows.get() + widestRow, target);
    return PngReadOutcome::Decoded;
}

} // namespace kelvarn::imaging
