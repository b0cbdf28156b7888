// Reads PNG files twice, by the codec with its own reader and by libpng alone: the results must
// agree, the own reader must never take a file libpng refuses, and what it takes must give
// libpng's picture byte for byte.
//
// An input that starts with the PNG signature is read as it is and again with every chunk's CRC
// made right (mutations rarely keep a CRC, and a wrong one sends every file to libpng). Any
// other input builds a file: a kind, width, height and flag byte, then the filtered rows
// (filter-type bytes included), repeated when the input runs short, which are deflated here so
// that the unfiltering sees every filter on every layout.
#include "fuzz/FuzzInput.h"
#include "imaging/PngCodec.h"
#include "tests/support/PngFiles.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using kelvarn::testing::appendChunk;
using kelvarn::testing::Bytes;
using kelvarn::testing::fixChunkCrc;
using kelvarn::testing::loadBe32;
using kelvarn::testing::putBe32;

// As in the reader's own target: a few compressed bytes can claim a large picture.
constexpr uint64_t kMaxFuzzPixelBytes = uint64_t{1} << 24;
constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct Reading {
    int result = 0;
    bool own = false;
};

Reading readWith(const Bytes& file, bool ownReader, kelvarn::imaging::ImageRecord& target) {
    using namespace kelvarn;
    imaging::PngCodec codec;
    codec.setOwnReader(ownReader);
    Reading reading;
    if (!codec.open(fuzz::streamOf(file.data(), file.size()), target))
        return reading;
    if (imaging::pixelBytes(static_cast<int32_t>(codec.headerWidth()),
                            static_cast<int32_t>(codec.headerHeight()),
                            codec.bitsPerPixel()) > kMaxFuzzPixelBytes)
        return reading;
    reading.result = codec.decode();
    reading.own = codec.ownReaderDecoded();
    return reading;
}

bool samePicture(const kelvarn::imaging::ImageRecord& a, const kelvarn::imaging::ImageRecord& b) {
    if (a.width() != b.width() || a.height() != b.height() ||
        a.bitsPerPixel() != b.bitsPerPixel() || a.paletteCount() != b.paletteCount())
        return false;
    if (a.pixels() && std::memcmp(a.pixels(), b.pixels(), a.rowBytes() * a.height()) != 0)
        return false;
    for (int32_t i = 0; i < a.paletteCount(); ++i)
        if (std::memcmp(a.paletteEntries() + 8 * i, b.paletteEntries() + 8 * i, 3) != 0)
            return false;
    return true;
}

void compareReaders(const Bytes& file) {
    kelvarn::imaging::ImageRecord own;
    kelvarn::imaging::ImageRecord reference;
    const Reading ours = readWith(file, true, own);
    const Reading libpng = readWith(file, false, reference);
    if (ours.own && (libpng.result != 1 || !samePicture(own, reference)))
        std::abort();
    if (ours.result != libpng.result)
        std::abort();
}

// The file with the CRC of every whole chunk recomputed; false when nothing changed.
bool withRightCrcs(Bytes& file) {
    const Bytes before = file;
    for (size_t at = 8; at + 12 <= file.size();) {
        const uint32_t length = loadBe32(&file[at]);
        if (length > file.size() - at - 12)
            break;
        fixChunkCrc(file, at);
        at += 12 + length;
    }
    return file != before;
}

struct Kind {
    uint8_t colourType;
    uint8_t bitDepth;
    uint8_t channels;
};
constexpr Kind kKinds[] = {{0, 1, 1}, {0, 2, 1}, {0, 4, 1}, {0, 8, 1}, {4, 8, 2}, {2, 8, 3},
                           {6, 8, 4}, {3, 1, 1}, {3, 2, 1}, {3, 4, 1}, {3, 8, 1}, {2, 16, 3}};
constexpr int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                               {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

// Flags: 1 Adam7, 2 tRNS, 4 IDAT in 7-byte chunks, 8 a text chunk after IDAT, 16 one byte
// short, 32 one byte over, 64 filter-type bytes as they come (else taken modulo 5), 128 a
// palette of half the indexes.
Bytes builtFile(const uint8_t* data, size_t size) {
    const Kind& kind = kKinds[data[0] % (sizeof kKinds / sizeof kKinds[0])];
    const uint32_t width = data[1] % 64 + 1;
    const uint32_t height = data[2] % 64 + 1;
    const uint8_t flags = data[3];
    const bool adam7 = flags & 1;
    data += 4;
    size -= 4;

    Bytes raw;
    size_t next = 0;
    auto take = [&] { return size == 0 ? uint8_t{0} : data[next++ % size]; };
    for (int pass = 0; pass < (adam7 ? 7 : 1); ++pass) {
        const int* p = adam7 ? kPasses[pass] : kPasses[6];
        const uint32_t startX = adam7 ? p[0] : 0, stepX = adam7 ? p[2] : 1;
        const uint32_t startY = adam7 ? p[1] : 0, stepY = adam7 ? p[3] : 1;
        const uint32_t columns = width > startX ? (width - startX + stepX - 1) / stepX : 0;
        const uint32_t rows = height > startY ? (height - startY + stepY - 1) / stepY : 0;
        if (columns == 0)
            continue;
        const size_t rowBytes = (size_t{columns} * kind.channels * kind.bitDepth + 7) / 8;
        for (uint32_t r = 0; r < rows; ++r) {
            const uint8_t type = take();
            raw.push_back(flags & 64 ? type : type % 5);
            for (size_t i = 0; i < rowBytes; ++i)
                raw.push_back(take());
        }
    }
    if (flags & 16)
        raw.pop_back();
    if (flags & 32)
        raw.push_back(take());

    Bytes file(kSignature, kSignature + 8);
    Bytes header;
    putBe32(header, width);
    putBe32(header, height);
    header.insert(header.end(), {kind.bitDepth, kind.colourType, 0, 0, uint8_t{adam7}});
    appendChunk(file, "IHDR", header);
    if (kind.colourType == 3) {
        const uint32_t count = (1u << kind.bitDepth) / (flags & 128 ? 2 : 1);
        Bytes palette;
        for (uint32_t i = 0; i < 3 * count; ++i)
            palette.push_back(take());
        appendChunk(file, "PLTE", palette);
        if (flags & 2)
            appendChunk(file, "tRNS", {take(), take()});
    } else if (flags & 2) {
        appendChunk(file, "tRNS", {0, take()});
    }
    uLongf packedSize = compressBound(raw.size());
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), raw.size(), 6) != Z_OK)
        return {};
    packed.resize(packedSize);
    const size_t piece = flags & 4 ? 7 : packed.size();
    for (size_t at = 0; at < packed.size(); at += piece)
        appendChunk(
            file, "IDAT",
            Bytes(packed.begin() + at, packed.begin() + std::min(packed.size(), at + piece)));
    if (flags & 8)
        appendChunk(file, "tEXt", {'a', 0, 'b'});
    appendChunk(file, "IEND", {});
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= 8 && std::memcmp(data, kSignature, 8) == 0) {
        Bytes file(data, data + size);
        compareReaders(file);
        if (withRightCrcs(file))
            compareReaders(file);
    } else if (size >= 4) {
        compareReaders(builtFile(data, size));
    }
    return 0;
}
