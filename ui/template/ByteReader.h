#pragma once
// Readers of the little-endian primitives that the form template and the property blocks are
// made of. Every read checks what is left before it copies or allocates; a failed read leaves
// the output untouched; the reader is then of no further use (callers give up).

#include "platform/files/LittleEndian.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

// A reader over bytes that are all in memory already (a property block, a unit record).
class SpanReader {
public:
    explicit SpanReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    bool read(void* out, size_t n);
    bool skip(size_t n);
    size_t remaining() const { return m_bytes.size() - m_position; }
    size_t position() const { return m_position; }
    // The next byte, or -1 at the end.
    int nextByte();

private:
    std::span<const uint8_t> m_bytes;
    size_t m_position = 0;
};

// A read-only stream over the template bytes, read through a 4096-byte buffer as the template
// reader has always done.
class BufferedStreamReader {
public:
    static constexpr size_t kBufferSize = 4096;

    explicit BufferedStreamReader(std::span<const uint8_t> stream) : m_stream(stream) {}

    bool read(void* out, size_t n);
    size_t remaining() const {
        return (m_buffered - m_bufferPos) + (m_stream.size() - m_streamPos);
    }
    size_t position() const { return m_streamPos - (m_buffered - m_bufferPos); }
    int nextByte();

private:
    bool refill();

    std::span<const uint8_t> m_stream;
    size_t m_streamPos = 0;
    std::array<uint8_t, kBufferSize> m_buffer{};
    size_t m_buffered = 0;
    size_t m_bufferPos = 0;
};

template <typename Reader> bool readU16(Reader& r, uint16_t& out) {
    uint8_t b[2];
    if (!r.read(b, 2))
        return false;
    out = platform::loadLe16(b);
    return true;
}

template <typename Reader> bool readU32(Reader& r, uint32_t& out) {
    uint8_t b[4];
    if (!r.read(b, 4))
        return false;
    out = platform::loadLe32(b);
    return true;
}

template <typename Reader> bool readI32(Reader& r, int32_t& out) {
    uint32_t v;
    if (!readU32(r, v))
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

// Counted bytes or text: a dword n, then n bytes (no terminator). n of 0 or less (as a signed
// value) is empty.
template <typename Reader, typename Container> bool readCounted(Reader& r, Container& out) {
    int32_t n;
    if (!readI32(r, n))
        return false;
    if (n <= 0) {
        out.clear();
        return true;
    }
    if (static_cast<size_t>(n) > r.remaining())
        return false;
    Container bytes(static_cast<size_t>(n), 0);
    if (!r.read(bytes.data(), bytes.size()))
        return false;
    out = std::move(bytes);
    return true;
}

template <typename Reader> bool readCountedBytes(Reader& r, std::vector<uint8_t>& out) {
    return readCounted(r, out);
}

template <typename Reader> bool readCountedText(Reader& r, std::string& out) {
    return readCounted(r, out);
}

// Item count: 16 bits; 0xFFFF escapes to a following dword with the real count.
template <typename Reader> bool readItemCount(Reader& r, uint32_t& out) {
    uint16_t shortCount;
    if (!readU16(r, shortCount))
        return false;
    if (shortCount != 0xFFFF) {
        out = shortCount;
        return true;
    }
    return readU32(r, out);
}

// Zero-terminated text: the bytes up to the first 0, which is consumed but not kept.
template <typename Reader> bool readZeroText(Reader& r, std::string& out) {
    std::string text;
    for (;;) {
        int b = r.nextByte();
        if (b < 0)
            return false;
        if (b == 0)
            break;
        text.push_back(static_cast<char>(b));
    }
    out = std::move(text);
    return true;
}

} // namespace kelvarn::ui
