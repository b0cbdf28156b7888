#include "imaging/HeapBlock.h"

#include <cstdlib>

namespace kelvarn::imaging {

bool HeapBlock::allocate(size_t size) {
    release();
    if (size == 0)
        return false;
    m_data = std::malloc(size);
    if (!m_data)
        return false;
    m_size = size;
    return true;
}

void HeapBlock::release() {
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
}

} // namespace kelvarn::imaging
