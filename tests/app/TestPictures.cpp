#include "tests/app/TestPictures.h"

#include "imaging/ImageRecord.h"
#include "imaging/LoaderChain.h"
#include "platform/files/Codepage.h"
#include "tests/support/FileBytes.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/PngFiles.h"

#include <gtest/gtest.h>

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
    ASSERT_TRUE(writeFile(path, pngRgb(p.width, p.height, p.rgb))) << path;
}

void writeBmp(const fs::path& path, const Picture& p) {
    ASSERT_TRUE(writeFile(path, bmpFile(p.width, p.height, p.rgb))) << path;
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
