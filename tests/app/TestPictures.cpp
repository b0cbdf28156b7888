#include "tests/app/TestPictures.h"

#include "imaging/ImageRecord.h"
#include "imaging/LoaderChain.h"
#include "platform/files/Codepage.h"

#include <gtest/gtest.h>
#include <png.h>

#include <fstream>
#include <string>

namespace kelvarn::testing {

namespace fs = std::filesystem;

Picture pattern(int width, int height, int seed) {
    Picture p{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            p.rgb.push_back(static_cast<uint8_t>(seed * 31 + x * 40 + y * 3));
            p.rgb.push_back(static_cast<uint8_t>(seed * 17 + y * 50 + x));
            p.rgb.push_back(static_cast<uint8_t>(255 - x * 20 - y * 20 - seed));
        }
    return p;
}

void writePng(const fs::path& path, const Picture& p) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(p.width);
    image.height = static_cast<png_uint_32>(p.height);
    image.format = PNG_FORMAT_RGB;
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, p.rgb.data(), 0, nullptr)) << path;
}

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

} // namespace

void writeBmp(const fs::path& path, const Picture& p) {
    const uint32_t stride = (static_cast<uint32_t>(p.width) * 3 + 3) & ~3u;
    const uint32_t size = 54 + stride * static_cast<uint32_t>(p.height);
    std::vector<uint8_t> out = {'B', 'M'};
    put32(out, size);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(p.width));
    put32(out, static_cast<uint32_t>(p.height));
    put32(out, 1 | (24 << 16)); // planes, bits per pixel
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    for (int y = p.height - 1; y >= 0; --y) {
        const uint8_t* row = p.rgb.data() + static_cast<size_t>(y) * p.width * 3;
        for (int x = 0; x < p.width; ++x) {
            out.push_back(row[x * 3 + 2]);
            out.push_back(row[x * 3 + 1]);
            out.push_back(row[x * 3]);
        }
        out.resize(out.size() + (stride - static_cast<uint32_t>(p.width) * 3), 0);
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

std::optional<Picture> decode(const fs::path& path) {
    kelvarn::imaging::ImageRecord image;
    const std::string gb = kelvarn::platform::utf8ToGb(path.string());
    if (kelvarn::imaging::LoadImageFile(gb.c_str(), image) != kelvarn::imaging::kLoadOk ||
        image.bitsPerPixel() != 24)
        return std::nullopt;
    Picture p{image.width(), image.height(), {}};
    for (int y = 0; y < image.height(); ++y)
        p.rgb.insert(p.rgb.end(), image.row(y), image.row(y) + image.width() * 3);
    return p;
}

} // namespace kelvarn::testing
