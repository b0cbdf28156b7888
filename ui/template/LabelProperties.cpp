#include "ui/template/LabelProperties.h"

namespace kelvarn::ui {

void LabelProperties::readFields(BlockReader& r, uint32_t version) {
    r.dword(effect);
    r.dword(gradientBorderWidth);
    r.dword(borderStyle);
    r.dword(gradientBorderColour1);
    r.dword(gradientBorderColour2);
    r.dword(gradientBorderColour3);
    r.dword(textColour);
    r.dword(backgroundColour);
    r.dword(pictureMode);
    r.dword(backgroundGradient);
    r.dword(gradientColour1);
    r.dword(gradientColour2);
    r.dword(gradientColour3);
    r.dword(horizontalAlignment);
    r.dword(verticalAlignment);
    r.dword(wordWrap);
    r.font(font);
    r.bytes(backgroundPicture);
    r.text(caption);
    if (version >= 2) {
        r.text(dataSource);
        r.text(dataField);
    }
}

std::vector<uint8_t> LabelProperties::write() const {
    ByteWriter w;
    w.u32(kMaxVersion);
    w.i32(effect);
    w.i32(gradientBorderWidth);
    w.i32(borderStyle);
    w.u32(gradientBorderColour1);
    w.u32(gradientBorderColour2);
    w.u32(gradientBorderColour3);
    w.u32(textColour);
    w.u32(backgroundColour);
    w.i32(pictureMode);
    w.i32(backgroundGradient);
    w.u32(gradientColour1);
    w.u32(gradientColour2);
    w.u32(gradientColour3);
    w.i32(horizontalAlignment);
    w.i32(verticalAlignment);
    w.i32(wordWrap);
    writeFont(w, font);
    w.countedBytes(backgroundPicture);
    w.countedText(caption);
    w.countedText(dataSource);
    w.countedText(dataField);
    return w.take();
}

} // namespace kelvarn::ui
