#pragma once
// PNG files for the tests: every kind the reader meets, written through libpng itself; files
// put together chunk by chunk, for data libpng would not write; and a lister of the chunks of a
// PNG file.

#include "tests/support/FileBytes.h"

#include <png.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvarn::testing {

struct PngFileLayout {
    uint32_t width = 1;
    uint32_t height = 1;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    // Rows as libpng takes them: packed samples, top-down, each row's bytes back to back.
    Bytes rows;
    std::vector<png_color> palette;
    Bytes paletteAlpha;                            // tRNS of a palette file
    std::optional<png_color_16> transparentColour; // tRNS of a grey or RGB file
    std::optional<double> gamma;                   // gAMA
    bool srgb = false;
};

size_t packedRowBytes(const PngFileLayout& layout);
// True when libpng wrote the file.
bool writePngFile(const std::string& path, const PngFileLayout& layout);

// Big-endian 32-bit fields, as PNG stores every number.
uint32_t loadBe32(const uint8_t* p);
void putBe32(Bytes& out, uint32_t v);
// Appends a whole chunk to `out`: length, type, data and CRC.
void appendChunk(Bytes& out, const char* type, const Bytes& data);

struct PngChunk {
    std::string type;
    Bytes data;
};
// The chunks in file order; empty when the signature is wrong or a chunk runs past the end.
std::vector<PngChunk> listPngChunks(const Bytes& file);
// Recomputes the CRC of the chunk that starts at `offset` (its length field).
void fixChunkCrc(Bytes& file, size_t offset);
// Inserts a chunk right before the first IDAT.
void insertChunkBeforeIdat(Bytes& file, const std::string& type, const Bytes& data);

// A PNG file made chunk by chunk (IHDR with 8 bits per sample, IDAT, IEND), with `idat` as the
// compressed data as it stands.
Bytes pngFile(uint32_t width, uint32_t height, uint8_t colourType, const Bytes& idat);
// zlib stream of `raw`.
Bytes deflated(const Bytes& raw);
// A 24-bit RGB PNG holding the picture, each row with filter 0.
Bytes pngRgb(int width, int height, const Bytes& rgb);

} // namespace kelvarn::testing
