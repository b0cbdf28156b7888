#pragma once
// How the own PNG reader turns a file's raw row into the record's row, matching what the codec's
// libpng transforms give: low-depth grey widened to 8-bit levels, low-depth palette indexes to
// one byte each, grey's alpha dropped, RGBA turned into A, R, G, B; the rest copied.

#include <cstddef>
#include <cstdint>

namespace kelvarn::imaging {

class PngRowFormat {
public:
    // A colour type and bit depth that scanPngChunks takes.
    PngRowFormat(uint8_t colourType, uint8_t bitDepth);

    uint32_t bitsPerFilePixel() const { return m_bitsPerFilePixel; }
    // The filters' distance to the byte on the left: a pixel's bytes, at least one.
    size_t filterDistance() const { return m_bitsPerFilePixel < 8 ? 1 : m_bitsPerFilePixel / 8; }
    size_t recordBytesPerPixel() const { return m_recordBytesPerPixel; }
    // True when the record's row is the file's raw row byte for byte.
    bool isCopy() const { return m_kind == Kind::Copy; }

    // Writes `columns` pixels of the record's layout from the raw file row `in`.
    void convert(const uint8_t* in, uint32_t columns, uint8_t* out) const;

private:
    enum class Kind { Copy, WidenGrey, UnpackIndexes, DropAlpha, AlphaFirst };

    Kind m_kind = Kind::Copy;
    uint8_t m_bitDepth = 8;
    uint32_t m_bitsPerFilePixel = 8;
    size_t m_recordBytesPerPixel = 1;
};

} // namespace kelvarn::imaging
