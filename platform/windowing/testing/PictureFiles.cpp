#include "platform/windowing/testing/PictureFiles.h"

#include <QBuffer>
#include <QImage>

#include <algorithm>

namespace kelvarn::platform::testing {
namespace {

QRgb toQRgb(std::uint32_t abgr) {
    return qRgba(int(abgr & 0xFF), int((abgr >> 8) & 0xFF), int((abgr >> 16) & 0xFF),
                 int(abgr >> 24));
}

// GIF with a 4-entry palette and LZW codes of 3 bits: a clear code before every second pixel
// keeps the code table from growing to 4 bits.
std::vector<std::uint8_t> gifFile(int width, int height, const std::vector<std::uint32_t>& pixels) {
    std::vector<std::uint32_t> palette;
    std::vector<int> indexes;
    for (const std::uint32_t p : pixels) {
        const std::uint32_t rgb = p & 0xFFFFFF;
        auto it = std::find(palette.begin(), palette.end(), rgb);
        if (it == palette.end()) {
            if (palette.size() == 4)
                return {};
            palette.push_back(rgb);
            it = palette.end() - 1;
        }
        indexes.push_back(int(it - palette.begin()));
    }
    palette.resize(4, 0);
    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto word = [&](int v) {
        out.push_back(std::uint8_t(v & 0xFF));
        out.push_back(std::uint8_t(v >> 8));
    };
    word(width);
    word(height);
    out.insert(out.end(), {0x81, 0, 0}); // global table of 4 entries
    for (const std::uint32_t c : palette)
        out.insert(out.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
    out.push_back(0x2C);
    word(0);
    word(0);
    word(width);
    word(height);
    out.push_back(0);
    out.push_back(2); // minimum code size
    std::vector<std::uint8_t> data;
    std::uint32_t bits = 0;
    int count = 0;
    auto code = [&](int c) {
        bits |= std::uint32_t(c) << count;
        count += 3;
        while (count >= 8) {
            data.push_back(std::uint8_t(bits));
            bits >>= 8;
            count -= 8;
        }
    };
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        if (i % 2 == 0)
            code(4);
        code(indexes[i]);
    }
    code(5);
    if (count > 0)
        data.push_back(std::uint8_t(bits));
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - i);
        out.push_back(std::uint8_t(n));
        out.insert(out.end(), data.begin() + std::ptrdiff_t(i),
                   data.begin() + std::ptrdiff_t(i + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

} // namespace

std::vector<std::uint8_t> pictureFile(std::string_view format, int width, int height,
                                      const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != std::size_t(width) * std::size_t(height))
        return {};
    if (format == "GIF")
        return gifFile(width, height, pixels);
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           toQRgb(pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]));
    if (format == "BMP" || format == "JPG")
        image = image.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QByteArray name(format.data(), qsizetype(format.size()));
    if (!image.save(&buffer, name.constData(), format == "JPG" ? 100 : -1))
        return {};
    return {bytes.begin(), bytes.end()};
}

} // namespace kelvarn::platform::testing
