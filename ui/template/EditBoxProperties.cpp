#include "ui/template/EditBoxProperties.h"

namespace kelvarn::ui {

void EditBoxProperties::readFields(BlockReader& r, uint32_t version) {
    r.dword(borderStyle);
    r.dword(textColour);
    r.dword(backgroundColour);
    r.dword(hideSelection);
    r.dword(maxLength);
    r.dword(multiLine);
    r.dword(scrollBars);
    r.dword(alignment);
    r.dword(inputMode);
    r.word(passwordChar);
    r.dword(letterCase);
    r.dword(adjuster);
    r.dword(adjusterMinimum);
    r.dword(adjusterMaximum);
    r.dword(selectionStart);
    r.dword(selectionLength);
    r.font(font);
    r.text(content);
    if (version >= 2) {
        r.text(dataSource);
        r.text(dataField);
    }
}

std::vector<uint8_t> EditBoxProperties::write() const {
    ByteWriter w;
    w.u32(kMaxVersion);
    w.i32(borderStyle);
    w.u32(textColour);
    w.u32(backgroundColour);
    w.i32(hideSelection);
    w.i32(maxLength);
    w.i32(multiLine);
    w.i32(scrollBars);
    w.i32(alignment);
    w.i32(inputMode);
    w.u16(passwordChar);
    w.i32(letterCase);
    w.i32(adjuster);
    w.i32(adjusterMinimum);
    w.i32(adjusterMaximum);
    w.i32(selectionStart);
    w.i32(selectionLength);
    writeFont(w, font);
    w.countedText(content);
    w.countedText(dataSource);
    w.countedText(dataField);
    return w.take();
}

} // namespace kelvarn::ui
