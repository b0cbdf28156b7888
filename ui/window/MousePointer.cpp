#include "ui/window/MousePointer.h"

#include "platform/files/LittleEndian.h"
#include "platform/windowing/Cursor.h"
#include "ui/template/ByteWriter.h"

#include <array>

namespace kelvarn::ui {
namespace {

// Public number -> cursor id: default, arrow, cross, text beam, hourglass, arrow with question
// mark, arrow with hourglass, no entry, four-way, NE/SW, N/S, NW/SE, W/E, up arrow, hand.
constexpr std::array<uint32_t, 15> kCursorIds = {
    0,     32512, 32515, 32513, 32514, 32651, 32650, 32648,
    32646, 32643, 32645, 32642, 32644, 32516, 32649,
};

} // namespace

uint32_t cursorIdFromPublic(uint32_t publicNumber) {
    return publicNumber < kCursorIds.size() ? kCursorIds[publicNumber] : publicNumber;
}

uint32_t publicFromCursorId(uint32_t cursorId) {
    for (uint32_t i = 0; i < kCursorIds.size(); ++i)
        if (kCursorIds[i] == cursorId)
            return i;
    return cursorId;
}

platform::CursorHandle buildCursor(std::span<const uint8_t> pointerBlock) {
    if (pointerBlock.size() < 4)
        return 0;
    uint32_t kind = platform::loadLe32(pointerBlock.data());
    if (pointerBlock.size() > 10 && kind != 0xFFFFFFFF)
        return platform::createCursorFromFile(pointerBlock.subspan(4));
    return kind != 0 ? platform::loadStandardCursor(kind) : 0;
}

} // namespace kelvarn::ui
