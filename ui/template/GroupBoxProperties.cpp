#include "ui/template/GroupBoxProperties.h"

namespace kelvarn::ui {

void GroupBoxProperties::readFields(BlockReader& r, uint32_t /*version*/) {
    r.dword(captionAlignment);
    r.dword(textColour);
    r.dword(backgroundColour);
    r.font(font);
    r.text(caption);
}

std::vector<uint8_t> GroupBoxProperties::write() const {
    ByteWriter w;
    w.u32(kMaxVersion);
    w.i32(captionAlignment);
    w.u32(textColour);
    w.u32(backgroundColour);
    writeFont(w, font);
    w.countedText(caption);
    return w.take();
}

} // namespace kelvarn::ui
