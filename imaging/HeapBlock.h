#pragma once
// A block from the C allocator with its size; allocating frees the previous block first.

#include <cstddef>

namespace kelvarn::imaging {

class HeapBlock {
public:
    HeapBlock() = default;
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;
    ~HeapBlock() { release(); }

    bool allocate(size_t size);
    void release();
    void* data() const { return m_data; }
    size_t size() const { return m_size; }

private:
    void* m_data = nullptr;
    size_t m_size = 0;
};

} // namespace kelvarn::imaging
