#pragma once
// The image library's one in-memory picture. Rows are top-down and packed without padding;
// 8 bits: palette index (palette count > 0) or grey level; 16 bits: little-endian word with red
// in bits 15-11, green 10-6, blue 5-1; 24 bits: R, G, B; 32 bits: A, R, G, B. The pixels live in
// a MappedPixelBuffer (a hidden temporary file), never on the heap.
//
// Threads: a record belongs to one thread at a time (it may be handed over); distinct records
// share nothing and may be used on any threads at once.

#include "imaging/MappedPixelBuffer.h"
#include "imaging/PaletteTable.h"

#include <cstddef>
#include <cstdint>

namespace kelvarn::imaging {

// width x height x bytes per pixel in 64 bits; 0 for an empty size or another depth.
uint64_t pixelBytes(int32_t width, int32_t height, int32_t bitsPerPixel);

class ImageRecord {
public:
    ImageRecord() = default;
    ImageRecord(const ImageRecord&) = delete;
    ImageRecord& operator=(const ImageRecord&) = delete;
    ~ImageRecord() { release(); }

    // Releases the current content, then allocates width x height pixels of `bitsPerPixel`
    // (8, 16, 24, 32) and, for 8 bits, `paletteCount` palette entries (0: grey). 1 or 0; on
    // failure the record is left empty.
    int create(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t paletteCount);
    // Unmaps the pixels (the kernel frees their file), frees the palette, zeroes every field.
    // Always 1.
    int release();
    int copyFrom(const ImageRecord& source);
    // Exchanges the whole content with `other`: a record made on one thread takes another's
    // place.
    void swap(ImageRecord& other) noexcept;
    // Creates `target` with this record's size and the given depth, and fills it. Only
    // depth 24 without palette is supported; anything else returns 0 and leaves `target` as it
    // was. Palette indexes at or above the palette count become black.
    int convertTo(ImageRecord& target, int32_t bitsPerPixel, int32_t paletteCount) const;
    void flush();

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    int32_t bitsPerPixel() const { return m_bitsPerPixel; }
    int32_t paletteCount() const { return m_paletteCount; }
    uint8_t* pixels() const { return m_pixels; }
    uint8_t* row(int32_t y) const { return m_pixels + static_cast<size_t>(y) * rowBytes(); }
    // 8 bytes per entry: red, green, blue, then five unused bytes.
    uint8_t* paletteEntries() const { return m_palette.entries(); }
    size_t rowBytes() const;
    size_t bufferSize() const { return m_buffer.size(); }

private:
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_bitsPerPixel = 0;
    uint8_t* m_pixels = nullptr;
    int32_t m_paletteCount = 0;
    MappedPixelBuffer m_buffer;
    PaletteTable m_palette;
};

} // namespace kelvarn::imaging
