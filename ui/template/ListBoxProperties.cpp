#include "ui/template/ListBoxProperties.h"

namespace kelvarn::ui {

void ListBoxProperties::readFields(BlockReader& r, uint32_t version) {
    r.dword(borderStyle);
    r.dword(sorted);
    r.dword(multipleColumns);
    r.dword(extraLineSpacing);
    r.dword(textColour);
    r.dword(backgroundColour);
    r.dword(extendedSelection);
    r.dword(currentSelection);
    r.font(font);
    r.bytes(itemData);
    r.items(items);
    if (version > 1) {
        r.text(dataSource);
        r.text(dataField);
    }
    if (version > 2)
        r.dword(extraWord);
}

std::vector<uint8_t> ListBoxProperties::write() const {
    ByteWriter w;
    w.u32(kMaxVersion);
    w.i32(borderStyle);
    w.i32(sorted);
    w.i32(multipleColumns);
    w.i32(extraLineSpacing);
    w.u32(textColour);
    w.u32(backgroundColour);
    w.i32(extendedSelection);
    w.i32(currentSelection);
    writeFont(w, font);
    w.countedBytes(itemData);
    writeItems(w, items);
    w.countedText(dataSource);
    w.countedText(dataField);
    w.i32(extraWord);
    return w.take();
}

} // namespace kelvarn::ui
