#include "tests/support/PngFiles.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <zlib.h>

namespace kelvarn::testing {

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

uint32_t loadBe32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void putBe32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void appendChunk(Bytes& out, const char* type, const Bytes& data) {
    putBe32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBe32(out, static_cast<uint32_t>(crc32(0, out.data() + start, out.size() - start)));
}

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

std::vector<PngChunk> listPngChunks(const Bytes& file) {
    static const uint8_t signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    if (file.size() < 8 || std::memcmp(file.data(), signature, 8) != 0)
        return {};
    std::vector<PngChunk> chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint32_t length = loadBe32(&file[at]);
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

void fixChunkCrc(Bytes& file, size_t offset) {
    const uint32_t length = loadBe32(&file[offset]);
    const uLong crc = crc32(crc32(0, nullptr, 0), &file[offset + 4], length + 4);
    for (int i = 0; i < 4; ++i)
        file[offset + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
}

void insertChunkBeforeIdat(Bytes& file, const std::string& type, const Bytes& data) {
    size_t at = 8;
    while (at + 8 <= file.size() && std::memcmp(&file[at + 4], "IDAT", 4) != 0) {
        at += 12 + loadBe32(&file[at]);
    }
    Bytes chunk;
    appendChunk(chunk, type.c_str(), data);
    file.insert(file.begin() + static_cast<long>(at), chunk.begin(), chunk.end());
}

Bytes deflated(const Bytes& raw) {
    uLongf size = compressBound(raw.size());
    Bytes out(size);
    if (compress2(out.data(), &size, raw.data(), raw.size(), 9) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

Bytes pngFile(uint32_t width, uint32_t height, uint8_t colourType, const Bytes& idat) {
    Bytes out = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    Bytes header;
    putBe32(header, width);
    putBe32(header, height);
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    appendChunk(out, "IHDR", header);
    appendChunk(out, "IDAT", idat);
    appendChunk(out, "IEND", {});
    return out;
}

Bytes pngRgb(int width, int height, const Bytes& rgb) {
    Bytes raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = rgb.begin() + static_cast<ptrdiff_t>(y) * width * 3;
        raw.insert(raw.end(), row, row + width * 3);
    }
    return pngFile(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 2, deflated(raw));
}

} // namespace kelvarn::testing
