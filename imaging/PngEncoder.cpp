#include "imaging/PngEncoder.h"

#include "imaging/HeapBlock.h"
#include "imaging/PngFilter.h"

#include <libdeflate.h>

#include <algorithm>
#include <memory>

namespace kelvarn::imaging {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Image data is cut into chunks of this size; readers that hold a whole chunk stay small.
constexpr size_t kIdatChunkBytes = 1 << 16;
constexpr uint8_t kInterlaceAdam7 = 1;

// PNG's fields are big-endian.
void storeBe32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

bool writeBytes(std::FILE* stream, const void* data, size_t size) {
    return size == 0 || std::fwrite(data, size, 1, stream) == 1;
}

// Length, type, data and the CRC of type and data.
bool writeChunk(std::FILE* stream, const char (&type)[5], const uint8_t* data, size_t size) {
    uint8_t head[8];
    storeBe32(head, static_cast<uint32_t>(size));
    std::copy(type, type + 4, head + 4);
    uint32_t crc = libdeflate_crc32(0, head + 4, 4);
    if (size > 0)
        crc = libdeflate_crc32(crc, data, size);
    uint8_t tail[4];
    storeBe32(tail, crc);
    return writeBytes(stream, head, sizeof head) && writeBytes(stream, data, size) &&
           writeBytes(stream, tail, sizeof tail);
}

uint32_t bytesPerPixel(uint8_t colourType) {
    switch (colourType) {
    case kPngColourPalette:
        return 1;
    case kPngColourRgb:
        return 3;
    case kPngColourRgba:
        return 4;
    default:
        return 0;
    }
}

struct CompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

} // namespace

PngWriteResult writePng(std::FILE* stream, const PngPicture& picture, ProgressCallback progress) {
    const uint32_t bpp = bytesPerPixel(picture.colourType);
    const bool palette = picture.colourType == kPngColourPalette;
    // PNG sizes are 31-bit.
    if (!stream || !picture.pixels || bpp == 0 || picture.width < 1 || picture.height < 1 ||
        picture.width > 0x7FFFFFFF || picture.height > 0x7FFFFFFF ||
        picture.rowBytes < static_cast<size_t>(picture.width) * bpp ||
        (palette && (!picture.palette || picture.paletteCount < 1 || picture.paletteCount > 256)))
        return PngWriteResult::BadPicture;

    const size_t streamBytes = interlacedStreamBytes(picture.width, picture.height, bpp);
    HeapBlock filtered;
    if (streamBytes == 0 || !filtered.allocate(streamBytes))
        return PngWriteResult::NoMemory;
    // Palette indexes have no numeric neighbourhood: filters would only scatter them.
    const FilterSource source{picture.pixels, picture.rowBytes, picture.width, picture.height, bpp};
    if (!filterInterlaced(source, palette ? FilterRule::None : FilterRule::MinimumSumAbs,
                          static_cast<uint8_t*>(filtered.data()), progress))
        return PngWriteResult::NoMemory;

    const std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(
        libdeflate_alloc_compressor(picture.deflateLevel));
    if (!compressor)
        return PngWriteResult::NoMemory;
    HeapBlock compressed;
    const size_t bound = libdeflate_zlib_compress_bound(compressor.get(), streamBytes);
    if (!compressed.allocate(bound))
        return PngWriteResult::NoMemory;
    const size_t packed = libdeflate_zlib_compress(compressor.get(), filtered.data(), streamBytes,
                                                   compressed.data(), bound);
    if (packed == 0)
        return PngWriteResult::NoMemory;
    filtered.release();

    uint8_t header[13];
    storeBe32(header, picture.width);
    storeBe32(header + 4, picture.height);
    header[8] = 8; // bits per sample
    header[9] = picture.colourType;
    header[10] = 0; // deflate
    header[11] = 0; // adaptive filtering
    header[12] = kInterlaceAdam7;
    bool ok = writeBytes(stream, kSignature, sizeof kSignature) &&
              writeChunk(stream, "IHDR", header, sizeof header);
    if (ok && palette)
        ok = writeChunk(stream, "PLTE", picture.palette, size_t{3} * picture.paletteCount);
    const auto* data = static_cast<const uint8_t*>(compressed.data());
    for (size_t at = 0; ok && at < packed; at += kIdatChunkBytes)
        ok = writeChunk(stream, "IDAT", data + at, std::min(kIdatChunkBytes, packed - at));
    ok = ok && writeChunk(stream, "IEND", nullptr, 0);
    return ok ? PngWriteResult::Written : PngWriteResult::WriteFailed;
}

} // namespace kelvarn::imaging
