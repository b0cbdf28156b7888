#include "imaging/HeapBlock.h"

#include "platform/files/LargeMemory.h"

#include <cstdlib>

namespace kelvarn::imaging {

namespace {

// From here on the block's pages are worth huge pages: filling 1 MiB in small pages takes 256
// faults, each dear on a virtual machine; a huge page takes one, and at most 1 MiB of it stays
// unused.
constexpr size_t kLargeBlock = size_t{1} << 20;

} // namespace

bool HeapBlock::allocate(size_t size) {
    release();
    if (size == 0)
        return false;
    m_data = size >= kLargeBlock ? platform::mapLargeMemory(size) : std::malloc(size);
    if (!m_data)
        return false;
    m_size = size;
    return true;
}

void HeapBlock::release() {
    if (m_size >= kLargeBlock)
        platform::unmapLargeMemory(m_data, m_size);
    else
        std::free(m_data);
    m_data = nullptr;
    m_size = 0;
}

} // namespace kelvarn::imaging
