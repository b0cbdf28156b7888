#include "imaging/ImageRecord.h"

#include "imaging/PixelLimit.h"

#include <cstring>
#include <utility>

namespace kelvarn::imaging {

namespace {

int32_t bytesPerPixel(int32_t bitsPerPixel) {
    switch (bitsPerPixel) {
    case 8:
    case 16:
    case 24:
    case 32:
        return bitsPerPixel / 8;
    default:
        return 0;
    }
}

} // namespace

uint64_t pixelBytes(int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (width < 1 || height < 1)
        return 0;
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) *
           static_cast<uint64_t>(bytesPerPixel(bitsPerPixel));
}

int ImageRecord::create(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t paletteCount) {
    release();
    if (width < 1 || height < 1 || bytesPerPixel(bitsPerPixel) == 0)
        return 0;
    if (bitsPerPixel != 8)
        paletteCount = 0;
    if (paletteCount < 0)
        return 0;
    const uint64_t size = pixelBytes(width, height, bitsPerPixel);
    // No picture holds more than the default limit, whatever a decoder was told.
    if (size > kDefaultPixelByteLimit)
        return 0;
    if (paletteCount > 0 && !m_palette.allocate(paletteCount))
        return 0;
    if (!m_buffer.allocate(static_cast<size_t>(size))) {
        m_palette.release();
        return 0;
    }
    m_width = width;
    m_height = height;
    m_bitsPerPixel = bitsPerPixel;
    m_pixels = m_buffer.data();
    m_paletteCount = paletteCount;
    return 1;
}

int ImageRecord::release() {
    m_buffer.release();
    m_palette.release();
    m_width = 0;
    m_height = 0;
    m_bitsPerPixel = 0;
    m_pixels = nullptr;
    m_paletteCount = 0;
    return 1;
}

void ImageRecord::swap(ImageRecord& other) noexcept {
    std::swap(m_width, other.m_width);
    std::swap(m_height, other.m_height);
    std::swap(m_bitsPerPixel, other.m_bitsPerPixel);
    std::swap(m_pixels, other.m_pixels);
    std::swap(m_paletteCount, other.m_paletteCount);
    m_buffer.swap(other.m_buffer);
    m_palette.swap(other.m_palette);
}

int ImageRecord::copyFrom(const ImageRecord& source) {
    if (&source == this)
        return m_pixels ? 1 : 0;
    if (!create(source.m_width, source.m_height, source.m_bitsPerPixel, source.m_paletteCount))
        return 0;
    std::memcpy(m_pixels, source.m_pixels, bufferSize());
    if (m_paletteCount > 0)
        std::memcpy(paletteEntries(), source.paletteEntries(),
                    static_cast<size_t>(m_paletteCount) * PaletteTable::kEntryBytes);
    flush();
    return 1;
}

void ImageRecord::flush() {
    m_buffer.flush(0, 0);
}

size_t ImageRecord::rowBytes() const {
    return static_cast<size_t>(m_width) * static_cast<size_t>(bytesPerPixel(m_bitsPerPixel));
}

} // namespace kelvarn::imaging
