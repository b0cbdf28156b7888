#include "imaging/BmpCodec.h"

#include "imaging/FileUtilities.h"
#include "imaging/PixelLimit.h"
#include "imaging/RedBlueSwap.h"
#include "platform/files/LittleEndian.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace kelvarn::imaging {

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;
constexpr size_t kCoreHeaderMin = 12;
constexpr size_t kInfoHeaderMin = 20;
// Only the first fields of the header block are looked at; a longer block is not read whole.
constexpr size_t kHeaderBytesUsed = 20;
// Rows are moved in blocks of about this size: one read or write per block. Small enough that
// the writer's block stays in cache and comes from the heap rather than from fresh pages.
constexpr size_t kBlockBytes = 96 << 10;

// 3 x width rounded up to a multiple of 4.
uint64_t paddedRowBytes(int64_t width) {
    return (static_cast<uint64_t>(width) * 3 + 3) & ~3ull;
}

size_t rowsPerBlock(size_t rowBytes, int32_t height) {
    const size_t rows = std::max<size_t>(1, kBlockBytes / rowBytes);
    return std::min(rows, static_cast<size_t>(height));
}

} // namespace

bool BmpCodec::recognisesSignature(const uint8_t* first) {
    // "BA" (an array of bitmaps) is read as a single bitmap.
    return first[0] == 'B' && (first[1] == 'M' || first[1] == 'A');
}

bool BmpCodec::recognises(const ContentHead& head) {
    return head.count >= 2 && recognisesSignature(head.bytes);
}

void BmpCodec::close() {
    closeFile();
    std::memset(m_fileHeader, 0, sizeof m_fileHeader);
    m_headerBlock.release();
    m_coreForm = false;
    m_bottomUp = false;
    m_compression = 0;
    m_pixelOffset = 0;
}

int BmpCodec::open(platform::StreamPtr stream, ImageRecord& target, ProgressCallback progress) {
    close();
    m_refusal.clear();
    m_file = std::move(stream);
    if (!m_file)
        return refuse("BMP: the file cannot be opened");
    useLargeBuffer(m_file.get());
    const int64_t size = fileSize(m_file.get());
    if (size < static_cast<int64_t>(kFileHeaderBytes + kCoreHeaderMin))
        return refuse("BMP: %lld bytes cannot hold the headers", static_cast<long long>(size));
    if (std::fread(m_fileHeader, 1, kFileHeaderBytes, m_file.get()) != kFileHeaderBytes)
        return refuse("BMP: the file header cannot be read");
    if (!recognisesSignature(m_fileHeader))
        return refuse("BMP: no \"BM\" or \"BA\" signature");

    // The header block is everything between the file header and the pixel data.
    m_pixelOffset = platform::loadLe32(m_fileHeader + 10);
    if (m_pixelOffset < kFileHeaderBytes + kCoreHeaderMin || m_pixelOffset > size)
        return refuse("BMP: pixel data offset %u outside the file", m_pixelOffset);
    const size_t blockBytes = m_pixelOffset - kFileHeaderBytes;
    const size_t readBytes = std::min(blockBytes, kHeaderBytesUsed);
    if (!m_headerBlock.allocate(readBytes))
        return refuse("BMP: no memory for the header");
    const auto* block = static_cast<const uint8_t*>(m_headerBlock.data());
    if (std::fread(m_headerBlock.data(), 1, readBytes, m_file.get()) != readBytes)
        return refuse("BMP: the information header cannot be read");

    m_coreForm = platform::loadLe32(block) == 12;
    if (platform::loadLe32Signed(block + 4) < 1)
        return refuse("BMP: header width %d", platform::loadLe32Signed(block + 4));
    if (platform::loadLe32(block + 8) == 0)
        return refuse("BMP: header height 0");
    int64_t height = 0;
    if (m_coreForm) {
        m_compression = 0;
        m_width = platform::loadLe16(block + 4);
        height = platform::loadLe16(block + 6);
        m_bottomUp = true;
        m_bitsPerPixel = platform::loadLe16(block + 10);
        if (m_bitsPerPixel != 1 && m_bitsPerPixel != 4 && m_bitsPerPixel != 8 &&
            m_bitsPerPixel != 24)
            return refuse("BMP: %d bits per pixel", m_bitsPerPixel);
    } else {
        // The information header and its longer successors.
        if (blockBytes < kInfoHeaderMin)
            return refuse("BMP: information header of %zu bytes", blockBytes);
        m_compression = platform::loadLe32(block + 16);
        if (m_compression > 3)
            return refuse("BMP: compression %u", m_compression);
        m_width = platform::loadLe32Signed(block + 4);
        const int64_t signedHeight = platform::loadLe32Signed(block + 8);
        m_bottomUp = signedHeight > 0;
        height = signedHeight < 0 ? -signedHeight : signedHeight;
        if (m_compression == 1)
            m_bitsPerPixel = 8;
        else if (m_compression == 2)
            m_bitsPerPixel = 4;
        else
            m_bitsPerPixel = platform::loadLe16(block + 14);
        if (m_bitsPerPixel != 1 && m_bitsPerPixel != 4 && m_bitsPerPixel != 8 &&
            m_bitsPerPixel != 16 && m_bitsPerPixel != 24 && m_bitsPerPixel != 32)
            return refuse("BMP: %d bits per pixel", m_bitsPerPixel);
    }
    m_path.clear();
    m_progress = progress;
    m_target = &target;
    m_mode = Mode::Reading;

    // Compression 3 at 24 bits carries no masks that matter: the rows are plain.
    if (m_bitsPerPixel != 24)
        return refuse("BMP: %d bits per pixel; only 24 are read", m_bitsPerPixel);
    // Nothing is allocated for a picture that is too large or whose rows the file does not hold.
    if (m_width < 1 || height < 1)
        return refuse("BMP: %d x %lld pixels", m_width, static_cast<long long>(height));
    if (checkedPixelBytes(m_width, height, 3) == 0)
        return refuse("BMP: %d x %lld pixels exceed the pixel limit", m_width,
                      static_cast<long long>(height));
    m_height = static_cast<int32_t>(height);
    const uint64_t rowsEnd =
        m_pixelOffset + paddedRowBytes(m_width) * static_cast<uint64_t>(height);
    if (rowsEnd > static_cast<uint64_t>(size))
        return refuse("BMP: %d x %d pixels need %llu bytes; the file has %lld", m_width, m_height,
                      static_cast<unsigned long long>(rowsEnd), static_cast<long long>(size));
    return 1;
}

int BmpCodec::decode() {
    if (m_mode != Mode::Reading || !m_target)
        return refuse("BMP: decode without an accepted file");
    ImageRecord& target = *m_target;
    const int32_t lastRow = m_height - 1;
    const size_t width = static_cast<size_t>(m_width);
    const size_t fileRow = static_cast<size_t>(paddedRowBytes(m_width));
    bool ok = target.create(m_width, m_height, 24, 0) == 1;
    if (!ok)
        m_refusal.set("BMP: no pixel memory for %d x %d pixels", m_width, m_height);
    if (ok && std::fseek(m_file.get(), m_pixelOffset, SEEK_SET) != 0) {
        ok = false;
        m_refusal.set("BMP: the pixel data cannot be reached");
    }
    // A block of file rows is read into a buffer small enough to stay in cache and each row
    // swapped from there into its place (upside down for a bottom-up file), its padding left
    // behind: one pass over the picture's memory.
    const size_t blockRows = rowsPerBlock(fileRow, m_height);
    HeapBlock block;
    if (ok && !block.allocate(fileRow * blockRows)) {
        ok = false;
        m_refusal.set("BMP: no memory for a block of rows");
    }
    for (int32_t first = 0; ok && first < m_height; first += static_cast<int32_t>(blockRows)) {
        const size_t count = std::min(blockRows, static_cast<size_t>(m_height - first));
        if (std::fread(block.data(), fileRow, count, m_file.get()) != count) {
            ok = false;
            m_refusal.set("BMP: the rows cannot be read after row %d", first);
            break;
        }
        for (size_t k = 0; k < count; ++k) {
            const int32_t y = first + static_cast<int32_t>(k);
            swapRedBlue(block.bytes() + k * fileRow, target.row(m_bottomUp ? lastRow - y : y),
                        width);
            reportProgress(m_progress, kProgressReading, y, m_height);
        }
    }
    reportProgress(m_progress, kProgressReading, lastRow, m_height);
    if (ok)
        target.flush();
    close();
    return ok ? 1 : 0;
}

int BmpCodec::openWrite(const char* path, const ImageRecord& source, int32_t bitsPerPixel,
                        ProgressCallback progress) {
    close();
    m_progress = progress;
    if (!path)
        return refuse();
    m_file = platform::openStream(path, "wb");
    if (!m_file || source.width() < 1 || source.height() < 1 || bitsPerPixel != 24)
        return refuse();
    // Rows are taken as 3 bytes per pixel: any other source layout would be read past its end.
    if (source.bitsPerPixel() != 24 || !source.pixels())
        return refuse();
    // The file size field holds 32 bits.
    if (paddedRowBytes(source.width()) * static_cast<uint64_t>(source.height()) + kFileHeaderBytes +
            kInfoHeaderBytes >
        UINT32_MAX)
        return refuse();
    useLargeBuffer(m_file.get());
    m_path = path;
    m_source = &source;
    m_bitsPerPixel = 24;
    m_width = source.width();
    m_height = source.height();
    m_mode = Mode::Writing;
    return 1;
}

int BmpCodec::encode() {
    if (m_mode != Mode::Writing || !m_source)
        return refuse();
    const ImageRecord& source = *m_source;
    const size_t fileRow = static_cast<size_t>(paddedRowBytes(m_width));
    const size_t pixelBytes = static_cast<size_t>(m_width) * 3;
    const int32_t lastRow = m_height - 1;

    uint8_t header[kFileHeaderBytes + kInfoHeaderBytes] = {};
    header[0] = 'B';
    header[1] = 'M';
    platform::storeLe32(
        header + 2, static_cast<uint32_t>(fileRow * static_cast<size_t>(m_height) + sizeof header));
    platform::storeLe32(header + 10, sizeof header);
    platform::storeLe32(header + 14, kInfoHeaderBytes);
    platform::storeLe32(header + 18, static_cast<uint32_t>(m_width));
    platform::storeLe32(header + 22, static_cast<uint32_t>(m_height));
    platform::storeLe16(header + 26, 1);
    platform::storeLe16(header + 28, 24);
    // Compression, image size, resolutions and colour counts stay 0.

    const size_t blockRows = rowsPerBlock(fileRow, m_height);
    HeapBlock rows;
    bool ok = rows.allocate(fileRow * blockRows) &&
              std::fwrite(header, sizeof header, 1, m_file.get()) == 1;
    if (ok)
        std::memset(rows.data(), 0, rows.size()); // pad bytes
    for (int32_t first = 0; ok && first < m_height; first += static_cast<int32_t>(blockRows)) {
        const size_t count = std::min(blockRows, static_cast<size_t>(m_height - first));
        auto* to = static_cast<uint8_t*>(rows.data());
        for (size_t k = 0; k < count; ++k, to += fileRow)
            swapRedBlue(source.row(lastRow - first - static_cast<int32_t>(k)), to, pixelBytes / 3);
        ok = std::fwrite(rows.data(), fileRow, count, m_file.get()) == count;
        for (size_t k = 0; ok && k < count; ++k)
            reportProgress(m_progress, kProgressWriting, first + static_cast<int32_t>(k), m_height);
    }
    // A full disk may only show when the buffered tail is written.
    ok = ok && std::fflush(m_file.get()) == 0;
    reportProgress(m_progress, kProgressWriting, lastRow, m_height);
    ok = (std::fclose(m_file.release()) == 0) && ok;
    close();
    return ok ? 1 : 0;
}

} // namespace kelvarn::imaging
