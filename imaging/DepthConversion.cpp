// Conversion of every pixel depth to 24 bits (R, G, B).
#include "imaging/ImageRecord.h"

#include <array>
#include <cstring>

namespace kelvarn::imaging {

namespace {

void expandIndexed(const uint8_t* source, uint8_t* target, size_t count, const uint8_t* palette,
                   int32_t paletteCount) {
    // Indexes outside the palette read as black instead of beyond the table.
    std::array<uint8_t, 256 * 3> colours{};
    const int32_t used = paletteCount < 256 ? paletteCount : 256;
    for (int32_t i = 0; i < used; ++i)
        std::memcpy(&colours[static_cast<size_t>(i) * 3], palette + i * PaletteTable::kEntryBytes,
                    3);
    for (size_t i = 0; i < count; ++i, target += 3)
        std::memcpy(target, &colours[static_cast<size_t>(source[i]) * 3], 3);
}

void expandGrey(const uint8_t* source, uint8_t* target, size_t count) {
    for (size_t i = 0; i < count; ++i, target += 3)
        target[0] = target[1] = target[2] = source[i];
}

// 5 bits per channel at bits 15-11, 10-6 and 5-1; the low three bits stay 0.
void expandWords(const uint8_t* source, uint8_t* target, size_t count) {
    for (size_t i = 0; i < count; ++i, source += 2, target += 3) {
        const uint32_t word = source[0] | (static_cast<uint32_t>(source[1]) << 8);
        target[0] = static_cast<uint8_t>((word >> 8) & 0xF8);
        target[1] = static_cast<uint8_t>((word >> 3) & 0xF8);
        target[2] = static_cast<uint8_t>((word << 2) & 0xF8);
    }
}

// A, R, G, B: alpha is dropped, not blended.
void dropAlpha(const uint8_t* source, uint8_t* target, size_t count) {
    for (size_t i = 0; i < count; ++i, source += 4, target += 3) {
        target[0] = source[1];
        target[1] = source[2];
        target[2] = source[3];
    }
}

} // namespace

int ImageRecord::convertTo(ImageRecord& target, int32_t bitsPerPixel, int32_t paletteCount) const {
    if (&target == this || !m_pixels || bitsPerPixel != 24 || paletteCount != 0)
        return 0;
    if (m_bitsPerPixel != 8 && m_bitsPerPixel != 16 && m_bitsPerPixel != 24 && m_bitsPerPixel != 32)
        return 0;
    if (!target.create(m_width, m_height, 24, 0))
        return 0;
    const size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    uint8_t* out = target.pixels();
    switch (m_bitsPerPixel) {
    case 8:
        if (m_paletteCount > 0)
            expandIndexed(m_pixels, out, count, paletteEntries(), m_paletteCount);
        else
            expandGrey(m_pixels, out, count);
        break;
    case 16:
        expandWords(m_pixels, out, count);
        break;
    case 24:
        std::memcpy(out, m_pixels, count * 3);
        break;
    case 32:
        dropAlpha(m_pixels, out, count);
        break;
    }
    target.flush();
    return 1;
}

} // namespace kelvarn::imaging
