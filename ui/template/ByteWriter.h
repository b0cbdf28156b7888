#pragma once
// Writer of the form template's primitives (the inverse of ByteReader.h), used to write
// property blocks back, to build unit records and to emit whole templates.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kelvarn::ui {

class ByteWriter {
public:
    void u16(uint16_t v) {
        m_bytes.push_back(static_cast<uint8_t>(v));
        m_bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            m_bytes.push_back(static_cast<uint8_t>(v >> shift));
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void bytes(std::span<const uint8_t> b) { m_bytes.insert(m_bytes.end(), b.begin(), b.end()); }
    void countedBytes(std::span<const uint8_t> b) {
        u32(static_cast<uint32_t>(b.size()));
        bytes(b);
    }
    void countedText(std::string_view t) {
        u32(static_cast<uint32_t>(t.size()));
        m_bytes.insert(m_bytes.end(), t.begin(), t.end());
    }
    // A zero-terminated text; the text must hold no 0 byte itself.
    void zeroText(std::string_view t) {
        m_bytes.insert(m_bytes.end(), t.begin(), t.end());
        m_bytes.push_back(0);
    }
    void itemCount(uint32_t n) {
        if (n < 0xFFFF) {
            u16(static_cast<uint16_t>(n));
        } else {
            u16(0xFFFF);
            u32(n);
        }
    }
    void zeros(size_t n) { m_bytes.insert(m_bytes.end(), n, 0); }

    size_t size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& data() const { return m_bytes; }
    std::vector<uint8_t> take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

// Little-endian dword access at a byte offset; the caller has checked the range.
inline uint32_t loadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void storeU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

} // namespace kelvarn::ui
