#include "ui/template/LabelProperties.h"

namespace kelvarn::ui {

template <typename Self, typename Fields>
void LabelProperties::fields(Self& p, Fields& f, uint32_t version) {
    f.dword(p.effect);
    f.dword(p.gradientBorderWidth);
    f.dword(p.borderStyle);
    f.dword(p.gradientBorderColour1);
    f.dword(p.gradientBorderColour2);
    f.dword(p.gradientBorderColour3);
    f.dword(p.textColour);
    f.dword(p.backgroundColour);
    f.dword(p.pictureMode);
    f.dword(p.backgroundGradient);
    f.dword(p.gradientColour1);
    f.dword(p.gradientColour2);
    f.dword(p.gradientColour3);
    f.dword(p.horizontalAlignment);
    f.dword(p.verticalAlignment);
    f.dword(p.wordWrap);
    f.font(p.font);
    f.bytes(p.backgroundPicture);
    f.text(p.caption);
    if (version >= 2) {
        f.text(p.dataSource);
        f.text(p.dataField);
    }
}

template void LabelProperties::fields(LabelProperties&, BlockReader&, uint32_t);
template void LabelProperties::fields(const LabelProperties&, BlockWriter&, uint32_t);

} // namespace kelvarn::ui
