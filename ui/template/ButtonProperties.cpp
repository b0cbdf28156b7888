#include "ui/template/ButtonProperties.h"

namespace kelvarn::ui {

void ButtonProperties::readFields(BlockReader& r, uint32_t /*version*/) {
    r.dword(defaultButton);
    r.dword(horizontalAlignment);
    r.dword(verticalAlignment);
    r.bytes(picture);
    r.font(font);
    r.text(caption);
}

std::vector<uint8_t> ButtonProperties::write() const {
    ByteWriter w;
    w.u32(kMaxVersion);
    w.i32(defaultButton);
    w.i32(horizontalAlignment);
    w.i32(verticalAlignment);
    w.countedBytes(picture);
    writeFont(w, font);
    w.countedText(caption);
    return w.take();
}

} // namespace kelvarn::ui
