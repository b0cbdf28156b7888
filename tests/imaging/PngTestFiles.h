#pragma once
// PNG files of every kind the reader meets, written by the tests through libpng itself, and a
// lister of the chunks of a PNG file.

#include <png.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvarn::imaging::test {

struct PngFileLayout {
    uint32_t width = 1;
    uint32_t height = 1;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    // Rows as libpng takes them: packed samples, top-down, each row's bytes back to back.
    std::vector<uint8_t> rows;
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;             // tRNS of a palette file
    std::optional<png_color_16> transparentColour; // tRNS of a grey or RGB file
    std::optional<double> gamma;                   // gAMA
    bool srgb = false;
};

size_t packedRowBytes(const PngFileLayout& layout);
// True when libpng wrote the file.
bool writePngFile(const std::string& path, const PngFileLayout& layout);

struct PngChunk {
    std::string type;
    std::vector<uint8_t> data;
};
// The chunks in file order; empty when the signature is wrong or a chunk runs past the end.
std::vector<PngChunk> listPngChunks(const std::vector<uint8_t>& file);
// Recomputes the CRC of the chunk that starts at `offset` (its length field).
void fixChunkCrc(std::vector<uint8_t>& file, size_t offset);
// Inserts a chunk right before the first IDAT.
void insertChunkBeforeIdat(std::vector<uint8_t>& file, const std::string& type,
                           const std::vector<uint8_t>& data);

} // namespace kelvarn::imaging::test
