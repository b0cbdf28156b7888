#include "ui/template/EditBoxProperties.h"

namespace kelvarn::ui {

template <typename Self, typename Fields>
void EditBoxProperties::fields(Self& p, Fields& f, uint32_t version) {
    f.dword(p.borderStyle);
    f.dword(p.textColour);
    f.dword(p.backgroundColour);
    f.dword(p.hideSelection);
    f.dword(p.maxLength);
    f.dword(p.multiLine);
    f.dword(p.scrollBars);
    f.dword(p.alignment);
    f.dword(p.inputMode);
    f.word(p.passwordChar);
    f.dword(p.letterCase);
    f.dword(p.adjuster);
    f.dword(p.adjusterMinimum);
    f.dword(p.adjusterMaximum);
    f.dword(p.selectionStart);
    f.dword(p.selectionLength);
    f.font(p.font);
    f.text(p.content);
    if (version >= 2) {
        f.text(p.dataSource);
        f.text(p.dataField);
    }
}

template void EditBoxProperties::fields(EditBoxProperties&, BlockReader&, uint32_t);
template void EditBoxProperties::fields(const EditBoxProperties&, BlockWriter&, uint32_t);

} // namespace kelvarn::ui
