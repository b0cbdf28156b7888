#include "imaging/PngRowFormat.h"

#include <bit>
#include <cstring>

namespace kelvarn::imaging {

namespace {

// Samples of 1, 2 or 4 bits, leftmost in the high bits; `scale` widens a sample to 8 bits
// (255, 85 or 17), 1 keeps it as an index.
void unpack(const uint8_t* in, uint32_t columns, uint8_t depth, uint8_t scale, uint8_t* out) {
    const unsigned mask = (1u << depth) - 1;
    const unsigned perByte = 8u / depth;
    uint32_t x = 0;
    for (; x + perByte <= columns; ++in)
        for (unsigned k = 0; k < perByte; ++k, ++x)
            out[x] = static_cast<uint8_t>(((*in >> (8 - depth * (k + 1))) & mask) * scale);
    for (unsigned k = 0; x < columns; ++k, ++x)
        out[x] = static_cast<uint8_t>(((*in >> (8 - depth * (k + 1))) & mask) * scale);
}

} // namespace

PngRowFormat::PngRowFormat(uint8_t colourType, uint8_t bitDepth) : m_bitDepth(bitDepth) {
    switch (colourType) {
    case 2:
        m_bitsPerFilePixel = 24;
        m_recordBytesPerPixel = 3;
        break;
    case 4:
        m_kind = Kind::DropAlpha;
        m_bitsPerFilePixel = 16;
        break;
    case 6:
        m_kind = Kind::AlphaFirst;
        m_bitsPerFilePixel = 32;
        m_recordBytesPerPixel = 4;
        break;
    default: // grey (0) and palette (3), one sample a pixel
        m_bitsPerFilePixel = bitDepth;
        if (bitDepth < 8)
            m_kind = colourType == 3 ? Kind::UnpackIndexes : Kind::WidenGrey;
        break;
    }
}

void PngRowFormat::convert(const uint8_t* in, uint32_t columns, uint8_t* out) const {
    switch (m_kind) {
    case Kind::Copy:
        std::memcpy(out, in, columns * m_recordBytesPerPixel);
        break;
    case Kind::WidenGrey:
        unpack(in, columns, m_bitDepth, static_cast<uint8_t>(255 / ((1u << m_bitDepth) - 1)), out);
        break;
    case Kind::UnpackIndexes:
        unpack(in, columns, m_bitDepth, 1, out);
        break;
    case Kind::DropAlpha:
        for (uint32_t x = 0; x < columns; ++x)
            out[x] = in[2 * x];
        break;
    case Kind::AlphaFirst:
        // R, G, B, A read as a little-endian word, turned by a byte: A, R, G, B.
        static_assert(std::endian::native == std::endian::little);
        for (uint32_t x = 0; x < columns; ++x) {
            uint32_t v;
            std::memcpy(&v, in + 4 * x, 4);
            v = v << 8 | v >> 24;
            std::memcpy(out + 4 * x, &v, 4);
        }
        break;
    }
}

} // namespace kelvarn::imaging
