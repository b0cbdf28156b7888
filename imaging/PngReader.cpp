#include "imaging/PngReader.h"

#include "imaging/PngUnfilter.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

namespace kelvarn::imaging {

namespace {

struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// Lays the stream out; false when it would not fit in memory at all.
bool layOut(const PngChunkScan& scan, PngImageData& data) {
    constexpr Adam7Pass kWhole{0, 0, 1, 1};
    const int passes = scan.interlaceMethod == 1 ? 7 : 1;
    const uint32_t bitsPerFilePixel = data.format.bitsPerFilePixel();
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
        data.passes[data.passCount++] = {pass, columns, rows, static_cast<size_t>(rowBytes),
                                         static_cast<size_t>(total)};
        total += rows * (rowBytes + 1);
        if (total > std::numeric_limits<size_t>::max() / 4)
            return false;
    }
    data.bytes = static_cast<size_t>(total);
    return total > 0;
}

bool filterTypesKnown(const PngImageData& data) {
    for (int p = 0; p < data.passCount; ++p) {
        const PngPassLayout& pass = data.passes[p];
        const uint8_t* row = data.stream.bytes() + pass.offset;
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
void writePicture(const PngImageData& data, const uint8_t* zeroRow, uint8_t* scratch,
                  ImageRecord& target) {
    const PngRowFormat& format = data.format;
    const size_t filePixel = format.filterDistance();
    const size_t recordPixel = format.recordBytesPerPixel();
    for (int p = 0; p < data.passCount; ++p) {
        const PngPassLayout& pass = data.passes[p];
        const bool wholeRows = pass.pass.stepX == 1;
        const bool direct = wholeRows && format.isCopy();
        const size_t stride = pass.rowBytes + 1;
        const uint8_t* previous = zeroRow;
        uint8_t* row = data.stream.bytes() + pass.offset;
        // Where a row's raw bytes go: the record's row (the row above in this pass is then
        // already there), or back into the stream, to be converted from there.
        auto destination = [&](uint32_t r, uint8_t* filtered) {
            return direct ? target.row(static_cast<int32_t>(pass.pass.startY + r * pass.pass.stepY))
                          : filtered;
        };
        auto place = [&](uint32_t r, const uint8_t* raw) {
            if (direct)
                return;
            uint8_t* const out =
                target.row(static_cast<int32_t>(pass.pass.startY + r * pass.pass.stepY));
            if (wholeRows) {
                format.convert(raw, pass.columns, out);
                return;
            }
            const uint8_t* pixels = raw;
            if (!format.isCopy()) {
                format.convert(raw, pass.columns, scratch);
                pixels = scratch;
            }
            scatter(pixels, pass.columns, recordPixel, pass.pass.stepX,
                    out + pass.pass.startX * recordPixel);
        };
        uint32_t r = 0;
        for (; r + 1 < pass.rows; r += 2, row += 2 * stride) {
            uint8_t* const next = row + stride;
            const uint8_t types[2] = {row[0], next[0]};
            uint8_t* const out1 = destination(r, row + 1);
            uint8_t* const out2 = destination(r + 1, next + 1);
            unfilterRowPair(types, row + 1, next + 1, previous, out1, out2, pass.rowBytes,
                            filePixel);
            place(r, out1);
            place(r + 1, out2);
            previous = out2;
        }
        if (r < pass.rows) {
            uint8_t* const out = destination(r, row + 1);
            unfilterRow(row[0], row + 1, previous, out, pass.rowBytes, filePixel);
            place(r, out);
        }
    }
}

// Creates `record` (when there is one to create) on a thread of its own, and sets `made` once
// join() returns; where no thread can be had, right here.
class PixelFileMaker {
public:
    PixelFileMaker(ImageRecord* record, int32_t width, int32_t height, const PngReadLayout& layout,
                   bool& made) {
        if (!record)
            return;
        auto make = [=, &made] {
            made = record->create(width, height, layout.bitsPerPixel, layout.paletteCount) == 1;
        };
        try {
            m_thread = std::thread(make);
        } catch (const std::system_error&) {
            make();
        }
    }
    PixelFileMaker(const PixelFileMaker&) = delete;
    PixelFileMaker& operator=(const PixelFileMaker&) = delete;
    ~PixelFileMaker() { join(); }

    void join() {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::thread m_thread;
};

bool matchesLayout(const PngChunkScan& scan, const PngReadLayout& layout) {
    return scan.width == layout.width && scan.height == layout.height &&
           scan.bitDepth == layout.bitDepth && scan.colourType == layout.colourType &&
           scan.interlaceMethod == layout.interlaceMethod &&
           static_cast<int32_t>(scan.paletteCount) == layout.paletteCount;
}

} // namespace

bool inflatePngImage(PngChunkScan& scan, PngImageData& data) {
    data.width = scan.width;
    data.format = PngRowFormat(scan.colourType, scan.bitDepth);
    if (!layOut(scan, data))
        return false;
    // The exact size: a stream that gives fewer or more bytes, or leaves input over, is
    // libpng's to judge.
    const bool allocated = data.stream.allocate(data.bytes);
    const std::unique_ptr<libdeflate_decompressor, DecompressorFree> decompressor(
        libdeflate_alloc_decompressor());
    if (!allocated || !decompressor)
        return false;
    size_t consumed = 0;
    const bool whole =
        libdeflate_zlib_decompress_ex(decompressor.get(), scan.idat.bytes(), scan.idatBytes,
                                      data.stream.bytes(), data.bytes, &consumed,
                                      nullptr) == LIBDEFLATE_SUCCESS &&
        consumed == scan.idatBytes;
    // The compressed data goes before the pixel memory comes.
    scan.idat.release();
    return whole && filterTypesKnown(data);
}

bool unfilterPngImage(PngImageData& data, ImageRecord& target) {
    const size_t widestRow = (size_t{data.width} * data.format.bitsPerFilePixel() + 7) / 8;
    const std::unique_ptr<uint8_t[]> rows(new (std::nothrow)
                                              uint8_t[widestRow + size_t{data.width} * 4]);
    if (!rows)
        return false;
    std::memset(rows.get(), 0, widestRow);
    writePicture(data, rows.get(), rows.get() + widestRow, target);
    return true;
}

PngReadOutcome readPngOwn(std::FILE* stream, const PngReadLayout& layout, ImageRecord& target) {
    PngChunkScan scan;
    if (!scanPngChunks(stream, scan) || !matchesLayout(scan, layout) ||
        PngRowFormat(scan.colourType, scan.bitDepth).recordBytesPerPixel() * 8 !=
            static_cast<size_t>(layout.bitsPerPixel))
        return PngReadOutcome::Declined;

    const auto width = static_cast<int32_t>(scan.width);
    const auto height = static_cast<int32_t>(scan.height);
    const bool fits = target.width() == width && target.height() == height &&
                      target.bitsPerPixel() == layout.bitsPerPixel &&
                      target.paletteCount() == layout.paletteCount;
    // A new pixel file is made, and faulted in, on a second thread while this one inflates:
    // where a disk's file system backs the temporary folder that costs about as much as the
    // inflate. It takes the target's place only once the stream is known to be good, so a
    // declined file leaves the target as it was.
    ImageRecord fresh;
    bool made = false;
    PixelFileMaker maker(fits ? nullptr : &fresh, width, height, layout, made);
    PngImageData data;
    const bool inflated = inflatePngImage(scan, data);
    maker.join();
    if (!inflated)
        return PngReadOutcome::Declined;
    if (!fits) {
        if (!made) {
            target.release();
            return PngReadOutcome::Failed;
        }
        target.swap(fresh);
    }
    for (uint32_t i = 0; i < scan.paletteCount; ++i)
        std::memcpy(target.paletteEntries() + i * PaletteTable::kEntryBytes,
                    scan.palette.data() + 3 * i, 3);
    // Scratch rows are a few kilobytes; without them the libpng path could not run either.
    return unfilterPngImage(data, target) ? PngReadOutcome::Decoded : PngReadOutcome::Failed;
}

} // namespace kelvarn::imaging
