#include "ui/template/IconFile.h"

#include "platform/files/LittleEndian.h"

namespace kelvarn::ui {

bool isIconFile(std::span<const uint8_t> bytes) {
    if (bytes.size() < 6 || platform::loadLe16(bytes.data()) != 0 ||
        platform::loadLe16(bytes.data() + 2) != 1)
        return false;
    const uint32_t count = platform::loadLe16(bytes.data() + 4);
    if (count == 0 || 6 + 16 * static_cast<uint64_t>(count) > bytes.size())
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        IconImageEntry e = iconImageEntry(bytes, i);
        if (e.size == 0 || uint64_t{e.offset} + e.size > bytes.size())
            return false;
    }
    return true;
}

IconImageEntry iconImageEntry(std::span<const uint8_t> bytes, uint32_t index) {
    const uint8_t* p = bytes.data() + 6 + 16 * static_cast<size_t>(index);
    IconImageEntry e;
    e.width = p[0] == 0 ? 256 : p[0];
    e.height = p[1] == 0 ? 256 : p[1];
    e.colourCount = p[2];
    e.planes = platform::loadLe16(p + 4);
    e.bitCount = platform::loadLe16(p + 6);
    e.size = platform::loadLe32(p + 8);
    e.offset = platform::loadLe32(p + 12);
    return e;
}

} // namespace kelvarn::ui
