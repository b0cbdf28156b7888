#include "ui/template/ButtonProperties.h"

namespace kelvarn::ui {

template <typename Self, typename Fields>
void ButtonProperties::fields(Self& p, Fields& f, uint32_t /*version*/) {
    f.dword(p.defaultButton);
    f.dword(p.horizontalAlignment);
    f.dword(p.verticalAlignment);
    f.bytes(p.picture);
    f.font(p.font);
    f.text(p.caption);
}

template void ButtonProperties::fields(ButtonProperties&, BlockReader&, uint32_t);
template void ButtonProperties::fields(const ButtonProperties&, BlockWriter&, uint32_t);

} // namespace kelvarn::ui
