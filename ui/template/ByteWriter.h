#pragma once
// Writer of the form template's primitives (the inverse of ByteReader.h), used to write
// property blocks back, to build unit records and to emit whole templates.

#include "platform/files/LittleEndian.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kelvarn::ui {

class ByteWriter {
public:
    void u16(uint16_t v) {
        uint8_t b[2];
        platform::storeLe16(b, v);
        append(b);
    }
    void u32(uint32_t v) {
        uint8_t b[4];
        platform::storeLe32(b, v);
        append(b);
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
    // Byte by byte: a range insert of a few bytes trips GCC 12's overflow warning.
    template <size_t N> void append(const uint8_t (&b)[N]) {
        for (uint8_t x : b)
            m_bytes.push_back(x);
    }

    std::vector<uint8_t> m_bytes;
};

} // namespace kelvarn::ui
