#include "ui/template/RadioBoxProperties.h"

namespace kelvarn::ui {

void RadioBoxProperties::readFields(BlockReader& r, uint32_t /*version*/) {
    r.dword(pushButtonLook);
    r.dword(flat);
    r.dword(captionOnLeft);
    r.dword(horizontalAlignment);
    r.dword(verticalAlignment);
    r.dword(textColour);
    r.dword(backgroundColour);
    r.dword(checked);
    r.bytes(picture);
    r.font(font);
    r.text(caption);
}

std::vector<uint8_t> RadioBoxProperties::write() const {
    ByteWriter w;
    w.u32(kMaxVersion);
    w.i32(pushButtonLook);
    w.i32(flat);
    w.i32(captionOnLeft);
    w.i32(horizontalAlignment);
    w.i32(verticalAlignment);
    w.u32(textColour);
    w.u32(backgroundColour);
    w.i32(checked);
    w.countedBytes(picture);
    writeFont(w, font);
    w.countedText(caption);
    return w.take();
}

} // namespace kelvarn::ui
