// Writes a picture made from the input with the PNG writer and reads the file back with libpng:
// the pixels must come back unchanged, whatever the size, colour type, palette or level.
//
// Input: colour kind, width and height (16 bits each, taken modulo 300 plus 1), palette count
// minus 1, deflate level, then the palette's red, green, blue bytes and the pixel bytes, both
// repeated when the input runs short.
#include "imaging/PngEncoder.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr size_t kHeaderBytes = 7;
constexpr uint32_t kMaxSide = 300;

// The bytes of `data` from `offset` on, repeated to fill `count` bytes (zeros when none).
std::vector<uint8_t> cycled(const uint8_t* data, size_t size, size_t offset, size_t count) {
    std::vector<uint8_t> out(count, 0);
    if (offset < size)
        for (size_t i = 0; i < count; ++i)
            out[i] = data[offset + i % (size - offset)];
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kelvarn::imaging;
    if (size < kHeaderBytes)
        return 0;
    static const uint8_t kTypes[] = {kPngColourPalette, kPngColourRgb, kPngColourRgba};
    const uint8_t colourType = kTypes[data[0] % 3];
    const uint32_t bpp = colourType == kPngColourPalette ? 1 : colourType == kPngColourRgb ? 3 : 4;
    const uint32_t width = (data[1] | data[2] << 8) % kMaxSide + 1;
    const uint32_t height = (data[3] | data[4] << 8) % kMaxSide + 1;
    const uint32_t paletteCount = colourType == kPngColourPalette ? data[5] + 1u : 0;
    const int level = data[6] % 13;

    const std::vector<uint8_t> palette = cycled(data, size, kHeaderBytes, 3 * paletteCount);
    std::vector<uint8_t> pixels =
        cycled(data, size, kHeaderBytes + palette.size(), size_t{width} * height * bpp);
    if (paletteCount > 0)
        for (uint8_t& index : pixels)
            index = static_cast<uint8_t>(index % paletteCount);

    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), std::fclose);
    if (!file)
        return 0;
    const PngPicture picture{pixels.data(), size_t{width} * bpp, width,        height,
                             colourType,    palette.data(),      paletteCount, level};
    if (writePng(file.get(), picture) != PngWriteResult::Written)
        std::abort();
    const long length = std::ftell(file.get());
    std::vector<uint8_t> png(static_cast<size_t>(length));
    std::rewind(file.get());
    if (length <= 0 || std::fread(png.data(), png.size(), 1, file.get()) != 1)
        std::abort();

    // What the file must hold: palette colours, or the samples as they are.
    std::vector<uint8_t> expected;
    if (paletteCount > 0)
        for (uint8_t index : pixels)
            expected.insert(expected.end(), &palette[index * 3u], &palette[index * 3u] + 3);
    else
        expected = pixels;

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        std::abort();
    image.format = colourType == kPngColourRgba ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    std::vector<uint8_t> back(PNG_IMAGE_SIZE(image));
    const bool read = png_image_finish_read(&image, nullptr, back.data(), 0, nullptr) != 0;
    png_image_free(&image);
    if (!read || image.width != width || image.height != height || back != expected)
        std::abort();
    return 0;
}
