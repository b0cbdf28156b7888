#include "ui/template/RadioBoxProperties.h"

namespace kelvarn::ui {

template <typename Self, typename Fields>
void RadioBoxProperties::fields(Self& p, Fields& f, uint32_t /*version*/) {
    f.dword(p.pushButtonLook);
    f.dword(p.flat);
    f.dword(p.captionOnLeft);
    f.dword(p.horizontalAlignment);
    f.dword(p.verticalAlignment);
    f.dword(p.textColour);
    f.dword(p.backgroundColour);
    f.dword(p.checked);
    f.bytes(p.picture);
    f.font(p.font);
    f.text(p.caption);
}

template void RadioBoxProperties::fields(RadioBoxProperties&, BlockReader&, uint32_t);
template void RadioBoxProperties::fields(const RadioBoxProperties&, BlockWriter&, uint32_t);

} // namespace kelvarn::ui
