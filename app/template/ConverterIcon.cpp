#include "app/template/ConverterIcon.h"

#include "ui/template/ByteWriter.h"

#include <array>
#include <cstdlib>

namespace kelvarn::app {
namespace {

constexpr int kSize = 32;
constexpr int kClear = -1;

// The 16 colours (0x00RRGGBB here; the file stores them blue, green, red, 0).
enum Colour : int {
    Black,
    FrameDark,
    Frame,
    FrameLight,
    SkyLight,
    Sky,
    Sun,
    HillDark,
    Hill,
    HillLight,
    White,
    ArrowWarm,
    ArrowCool,
    Shadow,
    Mountain,
    Snow,
};
constexpr std::array<uint32_t, 16> kPalette = {
    0x000000, 0x6B3A1E, 0xB87A34, 0xE8C070, 0xB8E2FA, 0x5AA8E8, 0xFFD830, 0x2E7D32,
    0x5DB347, 0xA5D86A, 0xFFFFFF, 0xE0502A, 0x1F5FB8, 0x505050, 0x7A8CA8, 0xE6EEF6,
};

// A picture of palette indexes, kClear where the icon is transparent. Row 0 is the top.
class Canvas {
public:
    Canvas() { m_pixels.fill(kClear); }

    void set(int x, int y, int c) {
        if (x >= 0 && x < kSize && y >= 0 && y < kSize)
            m_pixels[y * kSize + x] = c;
    }
    int at(int x, int y) const { return m_pixels[y * kSize + x]; }
    void fill(int x0, int y0, int x1, int y1, int c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                set(x, y, c);
    }
    void disc(int cx, int cy, int r, int c) {
        for (int y = cy - r; y <= cy + r; ++y)
            for (int x = cx - r; x <= cx + r; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r + r / 2)
                    set(x, y, c);
    }

private:
    std::array<int, kSize * kSize> m_pixels;
};

// A framed landscape (sky, sun, a snow-capped mountain, green hills) with a round badge in the
// lower right corner holding two opposed arrows: pictures converted from one type to another.
Canvas drawIcon() {
    Canvas c;
    // Drop shadow, then the frame: dark outline, wood, a light bevel on the top and left.
    c.fill(3, 4, 29, 27, Shadow);
    c.fill(1, 2, 27, 25, FrameDark);
    c.fill(2, 3, 26, 24, Frame);
    c.fill(2, 3, 26, 3, FrameLight);
    c.fill(2, 3, 2, 24, FrameLight);
    c.fill(4, 5, 24, 22, FrameDark);

    // The picture: sky in two bands, the sun, a mountain, two hills.
    c.fill(5, 6, 23, 21, Sky);
    c.fill(5, 6, 23, 10, SkyLight);
    c.disc(19, 10, 2, Sun);
    for (int y = 11; y <= 21; ++y) {
        int half = y - 11;
        for (int x = 11 - half; x <= 11 + half; ++x)
            if (x >= 5 && x <= 23)
                c.set(x, y, y <= 13 ? Snow : Mountain);
    }
    for (int x = 5; x <= 23; ++x) {
        // Two rounded hills: the far one lighter, the near one darker.
        int far = 17 - (8 - std::abs(x - 18)) / 3;
        int near = 19 - (10 - std::abs(x - 8)) / 4;
        for (int y = far; y <= 21; ++y)
            c.set(x, y, HillLight);
        for (int y = near; y <= 21; ++y)
            c.set(x, y, y == near ? Hill : HillDark);
    }

    // The badge: a white disc with a dark rim, overlapping the frame's corner.
    c.disc(23, 23, 8, FrameDark);
    c.disc(23, 23, 7, White);
    // Upper arrow to the right (warm), lower arrow to the left (cool).
    c.fill(17, 19, 25, 20, ArrowWarm);
    for (int i = 0; i < 3; ++i)
        c.fill(25 + i, 17 + i, 25 + i, 22 - i, ArrowWarm);
    c.fill(21, 25, 29, 26, ArrowCool);
    for (int i = 0; i < 3; ++i)
        c.fill(21 - i, 23 + i, 21 - i, 28 - i, ArrowCool);
    return c;
}

} // namespace

std::vector<uint32_t> converterIconPixels() {
    const Canvas canvas = drawIcon();
    std::vector<uint32_t> pixels;
    pixels.reserve(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int c = canvas.at(x, y);
            pixels.push_back(c == kClear ? 0u : 0xFF000000u | kPalette[static_cast<size_t>(c)]);
        }
    return pixels;
}

std::vector<uint8_t> buildConverterIcon() {
    const Canvas canvas = drawIcon();
    constexpr uint32_t kXorSize = kSize * kSize / 2; // 4 bits a pixel, rows of 16 bytes
    constexpr uint32_t kAndSize = kSize * 4;         // 1 bit a pixel, rows of 4 bytes
    constexpr uint32_t kImageSize = 40 + 16 * 4 + kXorSize + kAndSize;

    ui::ByteWriter w;
    // Icon directory: reserved, type 1 (icon), one image.
    w.u16(0);
    w.u16(1);
    w.u16(1);
    // Its entry: 32x32, 16 colours, 1 plane, 4 bits a pixel, size and offset of the image.
    w.bytes(std::array<uint8_t, 4>{kSize, kSize, 16, 0});
    w.u16(1);
    w.u16(4);
    w.u32(kImageSize);
    w.u32(22);
    // The image: a bitmap info header whose height counts the colour and the mask halves.
    w.u32(40);
    w.i32(kSize);
    w.i32(2 * kSize);
    w.u16(1);
    w.u16(4);
    w.u32(0);
    w.u32(kXorSize + kAndSize);
    w.u32(0);
    w.u32(0);
    w.u32(16);
    w.u32(0);
    for (uint32_t rgb : kPalette)
        w.bytes(std::array<uint8_t, 4>{static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8),
                                       static_cast<uint8_t>(rgb >> 16), 0});
    // Colour rows bottom-up, two pixels a byte with the left one in the high nibble;
    // transparent pixels are black there and set in the mask.
    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; x += 2) {
            int left = canvas.at(x, y) == kClear ? 0 : canvas.at(x, y);
            int right = canvas.at(x + 1, y) == kClear ? 0 : canvas.at(x + 1, y);
            w.bytes(std::array<uint8_t, 1>{static_cast<uint8_t>(left << 4 | right)});
        }
    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; x += 8) {
            uint8_t bits = 0;
            for (int i = 0; i < 8; ++i)
                if (canvas.at(x + i, y) == kClear)
                    bits |= static_cast<uint8_t>(0x80 >> i);
            w.bytes(std::array<uint8_t, 1>{bits});
        }
    return w.take();
}

} // namespace kelvarn::app
