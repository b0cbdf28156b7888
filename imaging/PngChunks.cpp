#include "imaging/PngChunks.h"

#include "imaging/FileUtilities.h"
#include "imaging/HeapBlock.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>

namespace kelvarn::imaging {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// libpng refuses any other chunk longer than its chunk memory limit (set by PngState); IDAT may
// be longer, up to at least the unfiltered picture's size (see idatChunkLimit).
constexpr uint32_t kMaxChunkBytes = 8000000;
constexpr uint32_t kMaxPngLength = 0x7FFFFFFF;
constexpr uint8_t kPalette = 3;

constexpr uint32_t chunkName(const char (&name)[5]) {
    return uint32_t{static_cast<uint8_t>(name[0])} << 24 |
           uint32_t{static_cast<uint8_t>(name[1])} << 16 |
           uint32_t{static_cast<uint8_t>(name[2])} << 8 | static_cast<uint8_t>(name[3]);
}

uint32_t loadBe32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

bool readExact(std::FILE* stream, void* data, size_t size) {
    return size == 0 || std::fread(data, size, 1, stream) == 1;
}

int channelsOf(uint8_t colourType) {
    switch (colourType) {
    case 0:
    case 3:
        return 1;
    case 4:
        return 2;
    case 2:
        return 3;
    case 6:
        return 4;
    default:
        return 0;
    }
}

// The header combinations the reader takes: 16-bit samples are left to libpng.
bool takesHeader(const PngChunkScan& scan) {
    const bool lowDepth = scan.bitDepth == 1 || scan.bitDepth == 2 || scan.bitDepth == 4;
    const bool depthFits =
        scan.bitDepth == 8 || (lowDepth && (scan.colourType == 0 || scan.colourType == kPalette));
    return scan.width >= 1 && scan.width <= kMaxPngLength && scan.height >= 1 &&
           scan.height <= kMaxPngLength && channelsOf(scan.colourType) > 0 && depthFits &&
           scan.interlaceMethod <= 1;
}

// A lower bound of the longest IDAT chunk libpng takes: one filtered row of one byte per sample
// per row of the picture, or its chunk limit when that is larger.
uint32_t idatChunkLimit(const PngChunkScan& scan) {
    const uint64_t row = uint64_t{scan.width} * channelsOf(scan.colourType) + 1;
    const uint64_t rows = std::min<uint64_t>(uint64_t{scan.height} * row, kMaxPngLength);
    return static_cast<uint32_t>(std::max<uint64_t>(rows, kMaxChunkBytes));
}

// The IDAT buffer: as large as the file when its size is known (the payloads cannot be more),
// else grown as they come.
class IdatGatherer {
public:
    explicit IdatGatherer(int64_t fileSize) : m_fileSize(fileSize) {}

    uint8_t* reserve(PngChunkScan& scan, size_t more) {
        const size_t need = scan.idatBytes + more;
        // A chunk longer than the whole file is cut short: nothing is taken for it.
        if (need < more || (m_fileSize >= 0 && need > static_cast<uint64_t>(m_fileSize)))
            return nullptr;
        if (need > scan.idat.size()) {
            size_t capacity = m_fileSize >= 0 ? static_cast<size_t>(m_fileSize)
                                              : std::max(need, 2 * scan.idat.size());
            capacity = std::max(capacity, need);
            HeapBlock grown;
            if (!grown.allocate(capacity))
                return nullptr;
            if (scan.idatBytes > 0)
                std::memcpy(grown.data(), scan.idat.data(), scan.idatBytes);
            scan.idat.swap(grown);
        }
        return scan.idat.bytes() + scan.idatBytes;
    }

private:
    int64_t m_fileSize;
};

enum class Stage { Header, BeforeImage, Image, AfterImage };

// Judges one chunk other than IDAT and IEND by its place and contents; false to decline.
bool takeChunk(uint32_t name, const uint8_t* data, uint32_t length, Stage stage, PngChunkScan& scan,
               bool& haveTransparency) {
    const bool beforeImage = stage == Stage::BeforeImage;
    switch (name) {
    case chunkName("PLTE"):
        if (!beforeImage || scan.colourType != kPalette || scan.paletteCount > 0 ||
            haveTransparency || length == 0 || length % 3 != 0 ||
            length / 3 > (1u << scan.bitDepth))
            return false;
        std::memcpy(scan.palette.data(), data, length);
        scan.paletteCount = length / 3;
        return true;
    case chunkName("tRNS"):
        // No transform of the codec's reads palette transparency, and grey's is stripped with
        // the alpha it expands to; a wrong tRNS only draws libpng's warning.
        if (!beforeImage || haveTransparency)
            return false;
        haveTransparency = true;
        if (scan.colourType == kPalette)
            return scan.paletteCount > 0 && length >= 1 && length <= scan.paletteCount;
        return scan.colourType == 0 && length == 2;
    case chunkName("pHYs"):
        return beforeImage && length == 9;
    case chunkName("tIME"):
        return length == 7;
    case chunkName("tEXt"):
    case chunkName("zTXt"):
    case chunkName("iTXt"):
        // libpng skips them unread (PngState), whatever they hold.
        return true;
    default:
        return false;
    }
}

bool readHeader(const uint8_t* data, uint32_t length, PngChunkScan& scan) {
    if (length != 13)
        return false;
    scan.width = loadBe32(data);
    scan.height = loadBe32(data + 4);
    scan.bitDepth = data[8];
    scan.colourType = data[9];
    scan.interlaceMethod = data[12];
    // Compression and filter method 0 are the only ones.
    return data[10] == 0 && data[11] == 0 && takesHeader(scan);
}

} // namespace

bool scanPngChunks(std::FILE* stream, PngChunkScan& scan) {
    uint8_t signature[sizeof kSignature];
    if (!stream || std::fseek(stream, 0, SEEK_SET) != 0 ||
        !readExact(stream, signature, sizeof signature) ||
        std::memcmp(signature, kSignature, sizeof kSignature) != 0)
        return false;
    IdatGatherer gatherer(regularFileSize(stream));
    HeapBlock chunkData;
    Stage stage = Stage::Header;
    bool haveTransparency = false;
    for (;;) {
        uint8_t head[8];
        if (!readExact(stream, head, sizeof head))
            return false;
        const uint32_t length = loadBe32(head);
        const uint32_t name = loadBe32(head + 4);
        const bool idat = name == chunkName("IDAT");
        if (idat ? stage == Stage::Header || stage == Stage::AfterImage ||
                       length > idatChunkLimit(scan)
                 : length > kMaxChunkBytes)
            return false;

        uint8_t* data = nullptr;
        if (idat) {
            data = gatherer.reserve(scan, length);
        } else if (length > 0) {
            if (chunkData.size() < length && !chunkData.allocate(length))
                return false;
            data = static_cast<uint8_t*>(chunkData.data());
        }
        uint8_t crcBytes[4];
        if ((length > 0 && !data) || !readExact(stream, data, length) ||
            !readExact(stream, crcBytes, sizeof crcBytes))
            return false;
        uint32_t crc = libdeflate_crc32(0, head + 4, 4);
        if (length > 0)
            crc = libdeflate_crc32(crc, data, length);
        if (crc != loadBe32(crcBytes))
            return false;

        if (stage == Stage::Header) {
            if (name != chunkName("IHDR") || !readHeader(data, length, scan))
                return false;
            stage = Stage::BeforeImage;
        } else if (idat) {
            if (stage == Stage::BeforeImage && scan.colourType == kPalette &&
                scan.paletteCount == 0)
                return false;
            scan.idatBytes += length;
            stage = Stage::Image;
        } else if (name == chunkName("IEND")) {
            return stage != Stage::BeforeImage && length == 0;
        } else {
            if (stage == Stage::Image)
                stage = Stage::AfterImage;
            if (!takeChunk(name, data, length, stage, scan, haveTransparency))
                return false;
        }
    }
}

} // namespace kelvarn::imaging
