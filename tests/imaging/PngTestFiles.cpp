#include "tests/imaging/PngTestFiles.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <zlib.h>

namespace kelvarn::imaging::test {

namespace {

[[noreturn]] void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void onWarning(png_structp, png_const_charp) {}

void writeBody(png_structp png, png_infop info, const PngFileLayout* layout) {
    png_set_IHDR(png, info, layout->width, layout->height, layout->bitDepth, layout->colourType,
                 layout->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!layout->palette.empty())
        png_set_PLTE(png, info, layout->palette.data(), static_cast<int>(layout->palette.size()));
    if (!layout->paletteAlpha.empty())
        png_set_tRNS(png, info, layout->paletteAlpha.data(),
                     static_cast<int>(layout->paletteAlpha.size()), nullptr);
    if (layout->transparentColour) {
        png_color_16 colour = *layout->transparentColour;
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    if (layout->gamma)
        png_set_gAMA(png, info, *layout->gamma);
    if (layout->srgb)
        png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    const size_t rowBytes = packedRowBytes(*layout);
    for (int pass = 0; pass < passes; ++pass)
        for (uint32_t y = 0; y < layout->height; ++y)
            png_write_row(png, layout->rows.data() + rowBytes * y);
    png_write_end(png, info);
}

// Only trivially destructible values in this frame: libpng's error jumps back here.
int writeGuarded(png_structp png, png_infop info, const PngFileLayout* layout) {
    if (setjmp(png_jmpbuf(png)))
        return 0;
    writeBody(png, info, layout);
    return 1;
}

} // namespace

size_t packedRowBytes(const PngFileLayout& layout) {
    int channels = 1;
    if (layout.colourType == PNG_COLOR_TYPE_RGB)
        channels = 3;
    else if (layout.colourType == PNG_COLOR_TYPE_RGB_ALPHA)
        channels = 4;
    else if (layout.colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        channels = 2;
    return (static_cast<size_t>(layout.width) * channels * layout.bitDepth + 7) / 8;
}

bool writePngFile(const std::string& path, const PngFileLayout& layout) {
    if (layout.rows.size() != packedRowBytes(layout) * layout.height)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = info != nullptr;
    if (ok) {
        png_init_io(png, file);
        ok = writeGuarded(png, info, &layout) == 1;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

std::vector<PngChunk> listPngChunks(const std::vector<uint8_t>& file) {
    static const uint8_t signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    if (file.size() < 8 || std::memcmp(file.data(), signature, 8) != 0)
        return {};
    std::vector<PngChunk> chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint32_t length = (uint32_t{file[at]} << 24) | (uint32_t{file[at + 1]} << 16) |
                                (uint32_t{file[at + 2]} << 8) | file[at + 3];
        if (length > file.size() - at - 12)
            return {};
        PngChunk chunk;
        chunk.type.assign(reinterpret_cast<const char*>(&file[at + 4]), 4);
        chunk.data.assign(file.begin() + static_cast<long>(at + 8),
                          file.begin() + static_cast<long>(at + 8 + length));
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    return at == file.size() ? chunks : std::vector<PngChunk>{};
}

void fixChunkCrc(std::vector<uint8_t>& file, size_t offset) {
    const uint32_t length = (uint32_t{file[offset]} << 24) | (uint32_t{file[offset + 1]} << 16) |
                            (uint32_t{file[offset + 2]} << 8) | file[offset + 3];
    const uLong crc = crc32(crc32(0, nullptr, 0), &file[offset + 4], length + 4);
    for (int i = 0; i < 4; ++i)
        file[offset + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
}

void insertChunkBeforeIdat(std::vector<uint8_t>& file, const std::string& type,
                           const std::vector<uint8_t>& data) {
    size_t at = 8;
    while (at + 8 <= file.size() && std::memcmp(&file[at + 4], "IDAT", 4) != 0) {
        const uint32_t length = (uint32_t{file[at]} << 24) | (uint32_t{file[at + 1]} << 16) |
                                (uint32_t{file[at + 2]} << 8) | file[at + 3];
        at += 12 + length;
    }
    std::vector<uint8_t> chunk(12 + data.size(), 0);
    const auto length = static_cast<uint32_t>(data.size());
    for (int i = 0; i < 4; ++i)
        chunk[i] = static_cast<uint8_t>(length >> (24 - 8 * i));
    std::memcpy(&chunk[4], type.data(), 4);
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    fixChunkCrc(chunk, 0);
    file.insert(file.begin() + static_cast<long>(at), chunk.begin(), chunk.end());
}

} // namespace kelvarn::imaging::test
