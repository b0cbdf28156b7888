#pragma once
// PNG files. The reader (libpng) accepts 1, 2, 4 or 8 bits per sample (grey, palette, RGB, RGBA;
// grey with alpha loses its alpha) and fills the record's mapped rows directly. Decode first
// offers the file to the own reader (PngReader), which gives the same pixels for the common
// files at a fraction of the cost and declines the rest to libpng. The writer
// (PngEncoder) writes 8-bit palette, RGB or RGBA files, always Adam7-interlaced, with only IHDR,
// PLTE (palette files), IDAT and IEND.

#include "imaging/ContentHead.h"
#include "imaging/FileCodec.h"
#include "imaging/PngState.h"

#include <cstdint>

namespace kelvarn::imaging {

// Threads: a codec object belongs to one thread at a time; distinct codecs share nothing and
// may run on any threads at once.
class PngCodec : public FileCodec<PngCodec> {
public:
    // Pixel formats of the record side.
    static constexpr int32_t kFormatGrey = 31;
    static constexpr int32_t kFormatRgb = 33;
    static constexpr int32_t kFormatRgba = 34;
    static constexpr int32_t kFormatPalette = 38;
    // The screen gamma of decoding and the file gamma assumed without a gAMA chunk (sRGB).
    static constexpr double kScreenGamma = 2.2;
    static constexpr double kDefaultFileGamma = 0.45455;

    PngCodec() = default;
    ~PngCodec() { close(); }

    // Whether the file starts with the PNG signature: the loader chain offers it no other.
    static bool recognises(const ContentHead& head);

    // 1 when the file is a PNG this reader accepts (its header read); else 0, all closed.
    using FileCodec::open;
    // The same over a stream that is already open for reading.
    int open(platform::StreamPtr stream, ImageRecord& target, ProgressCallback progress = nullptr);
    // 1 when the target holds the picture. Closes either way; a failed decode may leave the
    // target partly filled.
    int decode();

    // Depth 8 (with 1 to 256 palette entries), 24 or 32. Creates (or empties) `path`. At depth
    // 32 an A, R, G, B source of that depth is turned into R, G, B, A in place by encode.
    int openWrite(const char* path, const ImageRecord& source, int32_t bitsPerPixel,
                  int32_t paletteCount, ProgressCallback progress = nullptr);
    // 1 when the whole file was written. Closes either way; a failed write leaves the file.
    int encode();

    void close();

    // Whether decode offers files to the own reader first (the default). Off, every file is read
    // by libpng alone: the reference the own reader is compared with.
    void setOwnReader(bool enabled) { m_ownReader = enabled; }
    // True when the last decode's picture came from the own reader (kept until the next open).
    bool ownReaderDecoded() const { return m_ownReaderDecoded; }

    // The header as read by open (cleared by close), and the file gamma the last decode used
    // (kept until the next open).
    uint32_t headerWidth() const { return m_headerWidth; }
    uint32_t headerHeight() const { return m_headerHeight; }
    int colourType() const { return m_colourType; }
    int bitDepth() const { return m_bitDepth; }
    int interlaceMethod() const { return m_interlaceMethod; }
    int32_t pixelFormat() const { return m_pixelFormat; }
    int32_t bitsPerPixel() const { return m_bitsPerPixel; }
    double fileGamma() const { return m_fileGamma; }

private:
    uint32_t m_headerWidth = 0;
    uint32_t m_headerHeight = 0;
    int m_colourType = 0;
    int m_bitDepth = 0;
    int m_interlaceMethod = 0;
    int m_filterMethod = 0;
    int m_compressionMethod = 0;
    PngState m_png;
    int32_t m_pixelFormat = 0;
    int32_t m_paletteCount = 0;
    double m_fileGamma = 0;
    bool m_ownReader = true;
    bool m_ownReaderDecoded = false;

    // The own reader's attempt; 1 or 0 when it decided, -1 when the file goes to libpng.
    int decodeOwn();
    // libpng read the header at open; after the own reader declined it reads the file again.
    bool reopenLibpng();
};

} // namespace kelvarn::imaging
