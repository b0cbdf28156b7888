#include "imaging/PcxDecoder.h"

#include "imaging/FileUtilities.h"
#include "imaging/HeapBlock.h"
#include "imaging/PixelLimit.h"
#include "platform/files/LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace kelvarn::imaging {

namespace {

// Header fields (little-endian).
constexpr size_t kManufacturer = 0;
constexpr size_t kBitsPerPlane = 3;
constexpr size_t kXMin = 4;
constexpr size_t kYMin = 6;
constexpr size_t kXMax = 8;
constexpr size_t kYMax = 10;
constexpr size_t kPlanes = 65;
constexpr size_t kBytesPerLine = 66;
constexpr uint8_t kManufacturerByte = 0x0A;

constexpr size_t kChunk = 64 * 1024;
// A run byte carries at most 63 repetitions.
constexpr uint64_t kLongestRun = 63;

// Hands out the compressed data byte by byte, never past the given length of the file.
class BoundedReader {
public:
    BoundedReader(std::FILE* file, uint64_t length, uint8_t* buffer, size_t capacity)
        : m_file(file), m_remaining(length), m_buffer(buffer), m_capacity(capacity) {}

    bool next(uint8_t& byte) {
        if (m_pos == m_end && !refill())
            return false;
        byte = *m_pos++;
        return true;
    }

private:
    bool refill() {
        if (m_remaining == 0)
            return false;
        const size_t want = static_cast<size_t>(std::min<uint64_t>(m_capacity, m_remaining));
        const size_t got = std::fread(m_buffer, 1, want, m_file);
        if (got == 0)
            return false;
        m_remaining -= got;
        m_pos = m_buffer;
        m_end = m_buffer + got;
        return true;
    }

    std::FILE* m_file;
    uint64_t m_remaining;
    uint8_t* m_buffer;
    size_t m_capacity;
    const uint8_t* m_pos = nullptr;
    const uint8_t* m_end = nullptr;
};

// Decodes one scanline of `length` bytes and stores its first `keep` of them in `out`. A byte
// from 0xC0 up is a run: its low six bits count the repetitions of the byte after it; a run never
// reaches into the next scanline (a count of 0 consumes both bytes and yields nothing). False
// when the data end first.
bool decodeScanline(BoundedReader& in, uint8_t* out, size_t keep, size_t length) {
    size_t produced = 0;
    while (produced < length) {
        uint8_t b;
        if (!in.next(b))
            return false;
        if (b < 0xC0) {
            if (produced < keep)
                out[produced] = b;
            ++produced;
            continue;
        }
        const size_t count = std::min<size_t>(b & 0x3F, length - produced);
        uint8_t value;
        if (!in.next(value))
            return false;
        if (produced < keep)
            std::memset(out + produced, value, std::min(count, keep - produced));
        produced += count;
    }
    return true;
}

} // namespace

bool PcxDecoder::recognises(const ContentHead& head) {
    return head.holds(kManufacturer, &kManufacturerByte, 1);
}

int PcxDecoder::open(const char* path, ImageRecord& target, ProgressCallback progress) {
    close();
    m_refusal.clear();
    if (!path)
        return refuse("PCX: no path");
    m_file = platform::openStream(path, "rb");
    if (!m_file || std::fseek(m_file.get(), 0, SEEK_SET) != 0)
        return refuse("PCX: the file cannot be opened");
    if (std::fread(m_header, 1, kHeaderSize, m_file.get()) != kHeaderSize)
        return refuse("PCX: the file is shorter than the %zu-byte header", kHeaderSize);
    if (m_header[kManufacturer] != kManufacturerByte)
        return refuse("PCX: manufacturer byte 0x%02X", m_header[kManufacturer]);
    // A picture one pixel wide or high has equal bounds and is refused.
    if (platform::loadLe16(m_header + kXMax) == platform::loadLe16(m_header + kXMin))
        return refuse("PCX: equal horizontal bounds");
    if (platform::loadLe16(m_header + kYMax) == platform::loadLe16(m_header + kYMin))
        return refuse("PCX: equal vertical bounds");
    m_bitsPerPixel = m_header[kPlanes] * m_header[kBitsPerPlane];
    if (m_bitsPerPixel != 8 && m_bitsPerPixel != 24)
        return refuse("PCX: %d planes of %d bits", m_header[kPlanes], m_header[kBitsPerPlane]);
    m_progress = progress;
    m_target = &target;
    return 1;
}

int PcxDecoder::decode() {
    if (!m_file || !m_target)
        return refuse("PCX: decode without an accepted file");
    const int64_t width = int64_t{platform::loadLe16(m_header + kXMax)} -
                          int64_t{platform::loadLe16(m_header + kXMin)} + 1;
    const int64_t height = int64_t{platform::loadLe16(m_header + kYMax)} -
                           int64_t{platform::loadLe16(m_header + kYMin)} + 1;
    const uint64_t scanline =
        uint64_t{m_header[kPlanes]} * platform::loadLe16(m_header + kBytesPerLine);
    const bool palette = m_bitsPerPixel == 8;
    const int64_t size = fileSize(m_file.get());
    // The 8-bit form keeps its palette in the last 768 bytes, after the compressed data.
    const int64_t dataLength =
        size - static_cast<int64_t>(kHeaderSize + (palette ? kPaletteSize : 0));

    // Every header field is checked against the file before anything is allocated: the picture
    // must fit the pixel limit, and the compressed data must be long enough to yield every
    // scanline even if it were made of nothing but the longest runs.
    int ok = 1;
    if (checkedPixelBytes(width, height, palette ? 1 : 3) == 0) {
        ok = 0;
        m_refusal.set("PCX: %lld x %lld pixels", static_cast<long long>(width),
                      static_cast<long long>(height));
    } else if (scanline == 0) {
        ok = 0;
        m_refusal.set("PCX: scanlines of 0 bytes");
    } else if (dataLength <= 0 ||
               static_cast<uint64_t>(dataLength) <
                   static_cast<uint64_t>(height) * ((scanline + kLongestRun - 1) / kLongestRun)) {
        ok = 0;
        m_refusal.set("PCX: %lld bytes of data cannot hold %lld scanlines",
                      static_cast<long long>(std::max<int64_t>(dataLength, 0)),
                      static_cast<long long>(height));
    }
    if (ok)
        ok = decodeRows(static_cast<int32_t>(width), static_cast<int32_t>(height),
                        static_cast<uint64_t>(dataLength));
    if (!ok && width > 0 && height > 0)
        reportProgress(m_progress, kProgressReading, static_cast<int32_t>(height) - 1,
                       static_cast<int32_t>(height));
    close();
    return ok;
}

int PcxDecoder::decodeRows(int32_t width, int32_t height, uint64_t dataLength) {
    std::FILE* file = m_file.get();
    ImageRecord& target = *m_target;
    const size_t bytesPerLine = platform::loadLe16(m_header + kBytesPerLine);
    const size_t planes = m_header[kPlanes];
    const size_t scanline = planes * bytesPerLine;
    const bool palette = m_bitsPerPixel == 8;

    if (!target.create(width, height, palette ? 8 : 24, palette ? 256 : 0)) {
        m_refusal.set("PCX: no pixel memory for %d x %d pixels", width, height);
        return 0;
    }
    if (palette) {
        uint8_t colours[kPaletteSize];
        if (std::fseek(file, -static_cast<long>(kPaletteSize), SEEK_END) != 0 ||
            std::fread(colours, 1, kPaletteSize, file) != kPaletteSize) {
            m_refusal.set("PCX: the palette cannot be read");
            return 0;
        }
        uint8_t* entries = target.paletteEntries();
        std::memset(entries, 0, 256 * 8);
        for (size_t i = 0; i < 256; ++i)
            std::memcpy(entries + i * 8, colours + i * 3, 3);
    }

    HeapBlock chunk;
    // The 24-bit form is read as three planes even when the header names one plane of 24 bits,
    // so the scratch holds at least three planes; what a scanline does not fill stays 0.
    HeapBlock scratch;
    const size_t scratchSize = std::max(scanline, 3 * bytesPerLine);
    if (!chunk.allocate(kChunk) || (!palette && !scratch.allocate(scratchSize)) ||
        std::fseek(file, static_cast<long>(kHeaderSize), SEEK_SET) != 0) {
        m_refusal.set("PCX: no memory for the scanlines");
        return 0;
    }
    if (!palette)
        std::memset(scratch.data(), 0, scratchSize);

    BoundedReader in(file, dataLength, static_cast<uint8_t*>(chunk.data()), kChunk);
    const auto* planeBytes = static_cast<const uint8_t*>(scratch.data());
    // Padding bytes at the end of a scanline are dropped; a scanline shorter than the picture
    // leaves the rest of its row 0 (new pixel memory reads as zero).
    const size_t used = std::min(static_cast<size_t>(width), bytesPerLine);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = target.row(y);
        const bool decoded =
            palette
                ? decodeScanline(in, row, std::min(static_cast<size_t>(width), scanline), scanline)
                : decodeScanline(in, static_cast<uint8_t*>(scratch.data()), scanline, scanline);
        if (!decoded) {
            m_refusal.set("PCX: the data end in scanline %d of %d", y, height);
            return 0;
        }
        if (!palette) {
            const uint8_t* red = planeBytes;
            const uint8_t* green = planeBytes + bytesPerLine;
            const uint8_t* blue = planeBytes + 2 * bytesPerLine;
            for (size_t x = 0; x < used; ++x, row += 3) {
                row[0] = red[x];
                row[1] = green[x];
                row[2] = blue[x];
            }
        }
        reportProgress(m_progress, kProgressReading, y, height);
    }
    reportProgress(m_progress, kProgressReading, height - 1, height);
    return 1;
}

int PcxDecoder::close() {
    m_file.reset();
    m_progress = nullptr;
    m_target = nullptr;
    std::memset(m_header, 0, sizeof m_header);
    m_bitsPerPixel = 0;
    return 1;
}

} // namespace kelvarn::imaging
