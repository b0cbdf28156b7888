#include "ui/template/ListBoxProperties.h"

namespace kelvarn::ui {

template <typename Self, typename Fields>
void ListBoxProperties::fields(Self& p, Fields& f, uint32_t version) {
    f.dword(p.borderStyle);
    f.dword(p.sorted);
    f.dword(p.multipleColumns);
    f.dword(p.extraLineSpacing);
    f.dword(p.textColour);
    f.dword(p.backgroundColour);
    f.dword(p.extendedSelection);
    f.dword(p.currentSelection);
    f.font(p.font);
    f.bytes(p.itemData);
    f.items(p.items);
    if (version > 1) {
        f.text(p.dataSource);
        f.text(p.dataField);
    }
    if (version > 2)
        f.dword(p.extraWord);
}

template void ListBoxProperties::fields(ListBoxProperties&, BlockReader&, uint32_t);
template void ListBoxProperties::fields(const ListBoxProperties&, BlockWriter&, uint32_t);

} // namespace kelvarn::ui
