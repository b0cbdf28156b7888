#pragma once
// Palette entries of 8 bytes each (red, green, blue, five unused bytes) in a HeapBlock.

#include "imaging/HeapBlock.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace kelvarn::imaging {

class PaletteTable {
public:
    static constexpr size_t kEntryBytes = 8;

    // Entries are not initialised; the decoder that asks for a palette fills them.
    bool allocate(int32_t count);
    void release();
    void swap(PaletteTable& other) noexcept {
        m_block.swap(other.m_block);
        std::swap(m_count, other.m_count);
    }
    int32_t count() const { return m_count; }
    uint8_t* entries() const { return static_cast<uint8_t*>(m_block.data()); }

private:
    HeapBlock m_block;
    int32_t m_count = 0;
};

} // namespace kelvarn::imaging
