#include "imaging/PngCodec.h"

#include "imaging/FileUtilities.h"
#include "imaging/HeapBlock.h"
#include "imaging/PixelLimit.h"
#include "imaging/PngEncoder.h"
#include "imaging/PngReader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace kelvarn::imaging {

namespace {

constexpr size_t kStreamBuffer = 1 << 16;

// True when the rest of the file could hold the announced picture's samples at deflate's best
// ratio. Streams without a size are given the benefit.
bool fileCanHoldSamples(std::FILE* file, uint64_t width, uint64_t height, uint64_t bitsPerPixel) {
    const int64_t size = regularFileSize(file);
    if (size < 0)
        return true;
    const long position = std::ftell(file);
    const uint64_t left =
        position >= 0 && size > position ? static_cast<uint64_t>(size - position) : 0;
    return dataCanHoldSamples(left * kDeflateBestRatio, width * height * bitsPerPixel / 8);
}

// One pointer per row, straight into the record's mapped pixels.
bool pointRows(HeapBlock& block, const ImageRecord& image) {
    const size_t count = static_cast<size_t>(image.height());
    if (!block.allocate(count * sizeof(png_bytep)))
        return false;
    auto* rows = static_cast<png_bytep*>(block.data());
    for (size_t i = 0; i < count; ++i)
        rows[i] = image.row(static_cast<int32_t>(i));
    return true;
}

} // namespace

bool PngCodec::recognises(const ContentHead& head) {
    static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return head.holds(0, kSignature, sizeof kSignature);
}

void PngCodec::close() {
    // libpng's structures point at the stream: they go first.
    m_png.destroy();
    closeFile();
    m_headerWidth = 0;
    m_headerHeight = 0;
    m_colourType = 0;
    m_bitDepth = 0;
    m_interlaceMethod = 0;
    m_filterMethod = 0;
    m_compressionMethod = 0;
    m_pixelFormat = 0;
    m_paletteCount = 0;
}

int PngCodec::open(platform::StreamPtr stream, ImageRecord& target, ProgressCallback progress) {
    close();
    m_refusal.clear();
    m_fileGamma = 0;
    m_ownReaderDecoded = false;
    m_file = std::move(stream);
    if (!m_file || std::fseek(m_file.get(), 0, SEEK_SET) != 0)
        return refuse("PNG: the file cannot be opened");
    useLargeBuffer(m_file.get());
    if (!m_png.createRead(m_file.get()))
        return refuse("PNG: libpng cannot start");
    m_mode = Mode::Reading;
    PngHeader header{};
    if (!pngshim::readInfo(m_png.png(), m_png.info(), &header))
        return refuse("PNG: %s", m_png.lastError());
    m_headerWidth = header.width;
    m_headerHeight = header.height;
    m_colourType = header.colourType;
    m_bitDepth = header.bitDepth;
    m_interlaceMethod = header.interlaceMethod;
    m_filterMethod = header.filterMethod;
    m_compressionMethod = header.compressionMethod;
    // 16-bit samples are not read.
    if (m_bitDepth > 8)
        return refuse("PNG: %d bits per sample", m_bitDepth);

    if (m_colourType == PNG_COLOR_TYPE_PALETTE) {
        m_bitsPerPixel = 8;
        m_pixelFormat = kFormatPalette;
        png_colorp palette = nullptr;
        int count = 0;
        if (!png_get_PLTE(m_png.png(), m_png.info(), &palette, &count))
            count = 0;
        m_paletteCount = count;
    } else if (m_colourType & PNG_COLOR_MASK_COLOR) {
        const bool alpha = (m_colourType & PNG_COLOR_MASK_ALPHA) != 0;
        m_bitsPerPixel = alpha ? 32 : 24;
        m_pixelFormat = alpha ? kFormatRgba : kFormatRgb;
        m_paletteCount = 0;
    } else {
        m_bitsPerPixel = 8;
        m_pixelFormat = kFormatGrey;
        m_paletteCount = 0;
    }
    // libpng has checked the sizes against its limits; the record's size is checked here,
    // before anything is allocated for it.
    if (header.width < 1 || header.height < 1 || header.width > 0x7FFFFFFF ||
        header.height > 0x7FFFFFFF)
        return refuse("PNG: %u x %u pixels", static_cast<unsigned>(header.width),
                      static_cast<unsigned>(header.height));
    m_width = static_cast<int32_t>(header.width);
    m_height = static_cast<int32_t>(header.height);
    if (checkedPixelBytes(m_width, m_height, m_bitsPerPixel / 8) == 0)
        return refuse("PNG: %d x %d pixels exceed the pixel limit", m_width, m_height);
    if (!fileCanHoldSamples(m_file.get(), header.width, header.height,
                            static_cast<uint64_t>(m_bitDepth) *
                                png_get_channels(m_png.png(), m_png.info())))
        return refuse("PNG: the file is too short for %d x %d pixels", m_width, m_height);
    m_progress = progress;
    m_target = &target;
    return 1;
}

int PngCodec::decodeOwn() {
    const PngReadLayout layout{m_headerWidth,     m_headerHeight, m_bitDepth,    m_colourType,
                               m_interlaceMethod, m_bitsPerPixel, m_paletteCount};
    switch (readPngOwn(m_file.get(), layout, *m_target)) {
    case PngReadOutcome::Declined:
        return -1;
    case PngReadOutcome::Failed:
        m_refusal.set("PNG: no pixel memory for %d x %d pixels", m_width, m_height);
        reportProgress(m_progress, kProgressReading, m_height - 1, m_height);
        close();
        return 0;
    case PngReadOutcome::Decoded:
        break;
    }
    // The files it takes carry neither gAMA nor sRGB. Progress as libpng's path reports it:
    // every row in every pass, then the last once more.
    m_fileGamma = kDefaultFileGamma;
    m_ownReaderDecoded = true;
    if (m_progress) {
        const int passes = m_interlaceMethod == 1 ? 7 : 1;
        for (int pass = 0; pass < passes; ++pass)
            for (int32_t y = 0; y < m_height; ++y)
                reportProgress(m_progress, kProgressReading, y, m_height);
        reportProgress(m_progress, kProgressReading, m_height - 1, m_height);
    }
    m_target->flush();
    close();
    return 1;
}

bool PngCodec::reopenLibpng() {
    PngHeader header{};
    return std::fseek(m_file.get(), 0, SEEK_SET) == 0 && m_png.createRead(m_file.get()) &&
           pngshim::readInfo(m_png.png(), m_png.info(), &header) && header.width == m_headerWidth &&
           header.height == m_headerHeight && header.bitDepth == m_bitDepth &&
           header.colourType == m_colourType && header.interlaceMethod == m_interlaceMethod;
}

int PngCodec::decode() {
    if (m_mode != Mode::Reading || !m_target)
        return refuse("PNG: decode without an accepted file");
    if (m_ownReader) {
        const int own = decodeOwn();
        if (own >= 0)
            return own;
        if (!reopenLibpng()) {
            m_refusal.set("PNG: the header reads differently the second time");
            reportProgress(m_progress, kProgressReading, m_height - 1, m_height);
            close();
            return 0;
        }
    }
    ImageRecord& target = *m_target;
    const int32_t lastRow = m_height - 1;
    bool ok = true;
    if (target.width() != m_width || target.height() != m_height ||
        target.bitsPerPixel() != m_bitsPerPixel || target.paletteCount() != m_paletteCount)
        ok = target.create(m_width, m_height, m_bitsPerPixel, m_paletteCount) == 1;
    if (!ok)
        m_refusal.set("PNG: no pixel memory for %d x %d pixels", m_width, m_height);

    if (ok && m_pixelFormat == kFormatPalette) {
        png_colorp palette = nullptr;
        int count = 0;
        if (!png_get_PLTE(m_png.png(), m_png.info(), &palette, &count))
            count = 0;
        ok = count <= 256 && count == m_paletteCount;
        if (!ok)
            m_refusal.set("PNG: palette of %d entries", count);
        for (int i = 0; ok && i < count; ++i) {
            uint8_t* entry = target.paletteEntries() + static_cast<size_t>(i) * 8;
            entry[0] = palette[i].red;
            entry[1] = palette[i].green;
            entry[2] = palette[i].blue;
        }
    }
    HeapBlock rows;
    if (ok && !pointRows(rows, target)) {
        ok = false;
        m_refusal.set("PNG: no memory for the row table");
    }

    if (ok) {
        int intent = 0;
        double gamma = 0;
        if (png_get_sRGB(m_png.png(), m_png.info(), &intent))
            m_fileGamma = kDefaultFileGamma;
        else if (png_get_gAMA(m_png.png(), m_png.info(), &gamma))
            m_fileGamma = gamma;
        else
            m_fileGamma = kDefaultFileGamma;
        const bool grey = m_pixelFormat == kFormatGrey;
        PngReadSetup setup{};
        setup.expandGrey = grey && m_bitDepth < 8;
        setup.stripAlpha = grey;
        setup.screenGamma = kScreenGamma;
        setup.fileGamma = m_fileGamma;
        ok = pngshim::setReadTransforms(m_png.png(), m_png.info(), &setup) == 1;
        // Rows as libpng delivers them must be exactly the record's rows.
        ok = ok && setup.rowBytes == target.rowBytes();
        PngRowLoop loop{static_cast<png_bytepp>(rows.data()), static_cast<png_uint_32>(m_height),
                        setup.passes, m_progress};
        ok = ok && pngshim::readRows(m_png.png(), &loop) == 1;
        if (!ok)
            m_refusal.set("PNG: %s",
                          *m_png.lastError() ? m_png.lastError() : "rows of unexpected size");
    }
    reportProgress(m_progress, kProgressReading, lastRow, m_height);
    if (ok)
        target.flush();
    close();
    return ok ? 1 : 0;
}

int PngCodec::openWrite(const char* path, const ImageRecord& source, int32_t bitsPerPixel,
                        int32_t paletteCount, ProgressCallback progress) {
    close();
    switch (bitsPerPixel) {
    case 8:
        if (paletteCount < 1 || paletteCount > 256)
            return 0;
        m_pixelFormat = kFormatPalette;
        break;
    case 24:
        m_pixelFormat = kFormatRgb;
        paletteCount = 0;
        break;
    case 32:
        m_pixelFormat = kFormatRgba;
        paletteCount = 0;
        break;
    default:
        return 0;
    }
    if (!path)
        return refuse();
    m_file = platform::openStream(path, "wb");
    if (!m_file)
        return refuse();
    std::setvbuf(m_file.get(), nullptr, _IOFBF, kStreamBuffer);
    m_paletteCount = paletteCount;
    m_bitsPerPixel = bitsPerPixel;
    m_progress = progress;
    m_path = path;
    m_source = &source;
    m_width = source.width();
    m_height = source.height();
    m_mode = Mode::Writing;
    // The file stays on disk, empty.
    if (m_width < 1 || m_height < 1 || !source.pixels())
        return refuse();
    return 1;
}

int PngCodec::encode() {
    if (m_mode != Mode::Writing || !m_source)
        return refuse();
    const int32_t lastRow = m_height - 1;
    bool ok = true;
    std::array<uint8_t, 3 * 256> palette{};

    // Bring the source to the requested layout when it differs.
    ImageRecord scratch;
    const ImageRecord* image = m_source;
    if (m_source->bitsPerPixel() != m_bitsPerPixel || m_source->paletteCount() != m_paletteCount) {
        ok = m_source->convertTo(scratch, m_bitsPerPixel, m_paletteCount) == 1;
        image = &scratch;
    }
    ok = ok && image->width() == m_width && image->height() == m_height;

    uint8_t colourType = kPngColourRgb;
    if (ok && m_bitsPerPixel == 8) {
        colourType = kPngColourPalette;
        for (int32_t i = 0; i < m_paletteCount; ++i) {
            const uint8_t* entry = image->paletteEntries() + static_cast<size_t>(i) * 8;
            std::copy(entry, entry + 3, palette.begin() + 3 * i);
        }
    } else if (ok && m_bitsPerPixel == 32) {
        colourType = kPngColourRgba;
        // A, R, G, B becomes R, G, B, A in place; without a conversion that is the caller's
        // record, which is left in that order.
        for (int32_t y = 0; y < m_height; ++y) {
            uint8_t* p = image->row(y);
            for (int32_t x = 0; x < m_width; ++x, p += 4) {
                const uint8_t alpha = p[0];
                p[0] = p[1];
                p[1] = p[2];
                p[2] = p[3];
                p[3] = alpha;
            }
            reportProgress(m_progress, kProgressWriting, y, m_height);
        }
    }

    if (ok) {
        const PngPicture picture{image->pixels(),
                                 image->rowBytes(),
                                 static_cast<uint32_t>(m_width),
                                 static_cast<uint32_t>(m_height),
                                 colourType,
                                 palette.data(),
                                 static_cast<uint32_t>(m_paletteCount)};
        ok = writePng(m_file.get(), picture, m_progress) == PngWriteResult::Written;
    }
    reportProgress(m_progress, kProgressWriting, lastRow, m_height);
    // A full disk may only show when the buffered tail is written.
    ok = ok && std::fflush(m_file.get()) == 0;
    ok = (std::fclose(m_file.release()) == 0) && ok;
    close();
    return ok ? 1 : 0;
}

} // namespace kelvarn::imaging
