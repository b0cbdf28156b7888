#include "imaging/TiffDecoder.h"

#include "imaging/FileUtilities.h"
#include "imaging/MappedPixelBuffer.h"
#include "imaging/PixelLimit.h"
#include "platform/files/Path.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include <tiffio.h>

namespace kelvarn::imaging {

namespace {

void ignoreMessage(const char*, const char*, va_list) {}

// libtiff's errors for one file go to its decoder's buffer (the module, often the path, is left
// out), and no further.
int keepError(TIFF*, void* buffer, const char*, const char* format, va_list args) {
    std::vsnprintf(static_cast<char*>(buffer), Refusal::kCapacity, format, args);
    return 1;
}

// libtiff never prints: the errors of a file the decoder opens go to the decoder's refusal, and
// whatever reaches the global handlers is dropped.
void silenceLibtiff() {
    static const bool silenced = [] {
        TIFFSetErrorHandler(ignoreMessage);
        TIFFSetWarningHandler(ignoreMessage);
        return true;
    }();
    (void)silenced;
}

// The most bytes one byte of strip data can become under the schemes whose ratio is bounded:
// deflate's 258-byte match in two bits, PackBits' 128-byte run in two bytes, and an LZW code of
// at most 12 bits standing for fewer than 4096 bytes. Fax codes, among others, have no useful
// bound (a blank row is a handful of bits): 0.
uint64_t bestRatio(uint16_t compression) {
    switch (compression) {
    case COMPRESSION_NONE:
        return 1;
    case COMPRESSION_PACKBITS:
        return 64;
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
        return kDeflateBestRatio;
    case COMPRESSION_LZW:
        return 2731;
    default:
        return 0;
    }
}

// The bytes the picture's samples take as the file stores them, before compression: rows of
// samples padded to whole bytes, one set of rows per plane when the planes are separate, and
// YCbCr chroma once per subsampling block (each block: its luma samples, then Cb and Cr).
uint64_t storedSampleBytes(TIFF* tif, uint64_t width, uint64_t height) {
    uint16_t bitsPerSample = 1;
    uint16_t samplesPerPixel = 1;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t photometric = PHOTOMETRIC_MINISWHITE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    const uint64_t bits = bitsPerSample;
    const auto rowBytes = [bits](uint64_t samples) { return (samples * bits + 7) / 8; };

    uint16_t subX = 1;
    uint16_t subY = 1;
    if (photometric == PHOTOMETRIC_YCBCR && samplesPerPixel == 3)
        TIFFGetFieldDefaulted(tif, TIFFTAG_YCBCRSUBSAMPLING, &subX, &subY);
    subX = std::max<uint16_t>(subX, 1);
    subY = std::max<uint16_t>(subY, 1);
    const uint64_t blocksAcross = (width + subX - 1) / subX;
    const uint64_t blocksDown = (height + subY - 1) / subY;

    if (planar == PLANARCONFIG_SEPARATE) {
        if (subX == 1 && subY == 1)
            return samplesPerPixel * rowBytes(width) * height;
        // A full-size luma plane and two chroma planes of one sample per block.
        return rowBytes(width) * height + 2 * rowBytes(blocksAcross) * blocksDown;
    }
    if (subX == 1 && subY == 1)
        return rowBytes(width * samplesPerPixel) * height;
    return rowBytes(blocksAcross * (uint64_t{subX} * subY + 2)) * blocksDown;
}

// False when the strips (or tiles) of the picture, each cut at the end of the file and read at
// its scheme's best ratio, cannot give the picture's samples: the file is incomplete or
// announces a picture far larger than its data, and fails before the pixel memory of that
// picture is taken. Strips may share data, so each is counted on its own.
bool stripsCanHoldPicture(TIFF* tif, uint64_t width, uint64_t height) {
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    const uint64_t ratio = bestRatio(compression);
    const int64_t size = ratio == 0 ? -1 : regularFileSize(TIFFFileno(tif));
    if (size < 0)
        return true;
    const auto fileSize = static_cast<uint64_t>(size);
    // The caller has checked the pixel limit, so width x height is below 2^31.
    const uint64_t needed = storedSampleBytes(tif, width, height);
    const uint32_t striles = TIFFIsTiled(tif) ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    uint64_t reachable = 0;
    for (uint32_t i = 0; i < striles && !dataCanHoldSamples(reachable, needed); ++i) {
        int error = 0;
        const uint64_t offset = TIFFGetStrileOffsetWithErr(tif, i, &error);
        const uint64_t count = error ? 0 : TIFFGetStrileByteCountWithErr(tif, i, &error);
        if (error || offset >= fileSize)
            continue;
        reachable += std::min(count, fileSize - offset) * ratio;
    }
    return dataCanHoldSamples(reachable, needed);
}

} // namespace

void TiffDecoder::HandleCloser::operator()(void* tif) const {
    if (tif)
        TIFFClose(static_cast<TIFF*>(tif));
}

bool TiffDecoder::recognises(const ContentHead& head) {
    // Byte order, then 42 (classic) or 43 (big) in that order: libtiff opens nothing else.
    static constexpr uint8_t kHeaders[4][4] = {
        {'I', 'I', 42, 0}, {'M', 'M', 0, 42}, {'I', 'I', 43, 0}, {'M', 'M', 0, 43}};
    for (const auto& header : kHeaders)
        if (head.holds(0, header, sizeof header))
            return true;
    return false;
}

int TiffDecoder::refuse(const char* reason, bool preferLibrary) {
    if (preferLibrary && m_libraryError[0])
        m_refusal.set("TIFF: %s", m_libraryError);
    else
        m_refusal.set("TIFF: %s", reason);
    close();
    return 0;
}

int TiffDecoder::open(const char* path, ImageRecord& target, ProgressCallback progress) {
    close();
    m_refusal.clear();
    m_libraryError[0] = '\0';
    if (!path)
        return refuse("no path");
    silenceLibtiff();

    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return refuse("no memory for libtiff's options");
    // libtiff sizes some buffers from header fields (strips, tiles, tag arrays); cap each one
    // at the pixel memory a picture may have at all.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(pixelByteLimit()));
    TIFFOpenOptionsSetErrorHandlerExtR(options, keepError, m_libraryError);
    TIFF* tif = TIFFOpenExt(platform::toNativePath(path).c_str(), "r", options);
    TIFFOpenOptionsFree(options);
    if (!tif)
        return refuse("libtiff cannot open the file", true);
    m_tiff.reset(tif);

    uint32_t width = 0;
    uint32_t height = 0;
    if (TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) != 1 || width == 0)
        return refuse("no image width");
    if (TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height) != 1 || height == 0)
        return refuse("no image length");
    m_width = width;
    m_height = height;
    m_progress = progress;
    m_target = &target;
    return 1;
}

int TiffDecoder::decode() {
    if (!m_tiff || !m_target)
        return refuse("decode without an accepted file");
    const auto fail = [this](const char* reason, bool preferLibrary = false) {
        reportProgress(m_progress, kProgressReading, static_cast<int32_t>(m_height) - 1,
                       static_cast<int32_t>(m_height));
        return refuse(reason, preferLibrary);
    };
    // Both the target (3 bytes a pixel) and the RGBA raster (4) must stay within the limit.
    const uint64_t rasterBytes = checkedPixelBytes(m_width, m_height, 4);
    if (rasterBytes == 0)
        return fail("the picture exceeds the pixel limit");
    if (!stripsCanHoldPicture(static_cast<TIFF*>(m_tiff.get()), m_width, m_height))
        return fail("the strips are too short for the picture");
    const auto width = static_cast<int32_t>(m_width);
    const auto height = static_cast<int32_t>(m_height);
    ImageRecord& target = *m_target;
    if (target.width() != width || target.height() != height || target.bitsPerPixel() != 24 ||
        target.paletteCount() != 0) {
        if (!target.create(width, height, 24, 0))
            return fail("no pixel memory for the picture");
    }

    MappedPixelBuffer raster;
    if (!raster.allocate(static_cast<size_t>(rasterBytes)))
        return fail("no memory for the RGBA raster");
    // Asking for the top-left orientation gives the rows top row first, which is what reading
    // the raster bottom-up and then turning it upside down would give, without the extra pass.
    // Stopping on error: otherwise a strip that cannot be read leaves its rows blank and the
    // damaged file passes as converted.
    auto* words = reinterpret_cast<uint32_t*>(raster.data());
    if (!TIFFReadRGBAImageOriented(static_cast<TIFF*>(m_tiff.get()), m_width, m_height, words,
                                   ORIENTATION_TOPLEFT, 1))
        return fail("the image cannot be read", true);

    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* in = words + static_cast<size_t>(y) * m_width;
        uint8_t* out = target.row(y);
        for (int32_t x = 0; x < width; ++x, out += 3) {
            const uint32_t word = in[x]; // the alpha byte is dropped
            out[0] = static_cast<uint8_t>(TIFFGetR(word));
            out[1] = static_cast<uint8_t>(TIFFGetG(word));
            out[2] = static_cast<uint8_t>(TIFFGetB(word));
        }
        reportProgress(m_progress, kProgressReading, y, height);
    }
    reportProgress(m_progress, kProgressReading, height - 1, height);
    close();
    return 1;
}

int TiffDecoder::close() {
    m_tiff.reset();
    m_progress = nullptr;
    m_target = nullptr;
    m_width = 0;
    m_height = 0;
    return 1;
}

} // namespace kelvarn::imaging
