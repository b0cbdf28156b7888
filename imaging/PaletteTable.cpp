#include "imaging/PaletteTable.h"

namespace kelvarn::imaging {

bool PaletteTable::allocate(int32_t count) {
    release();
    if (count <= 0 || !m_block.allocate(static_cast<size_t>(count) * kEntryBytes))
        return false;
    m_count = count;
    return true;
}

void PaletteTable::release() {
    m_block.release();
    m_count = 0;
}

} // namespace kelvarn::imaging
