#pragma once
// A block of memory with its size; allocating frees the previous block first. Small blocks come
// from the C allocator; large ones (a picture's worth of rows, a file's compressed data) from
// pages that may be huge, so that filling them does not fault once per 4 KiB.

#include <cstddef>
#include <cstdint>
#include <utility>

namespace kelvarn::imaging {

class HeapBlock {
public:
    HeapBlock() = default;
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;
    ~HeapBlock() { release(); }

    bool allocate(size_t size);
    void release();
    void swap(HeapBlock& other) noexcept {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
    }
    void* data() const { return m_data; }
    uint8_t* bytes() const { return static_cast<uint8_t*>(m_data); }
    size_t size() const { return m_size; }

private:
    void* m_data = nullptr;
    size_t m_size = 0;
};

} // namespace kelvarn::imaging
