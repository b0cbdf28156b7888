#include "ui/template/GroupBoxProperties.h"

namespace kelvarn::ui {

template <typename Self, typename Fields>
void GroupBoxProperties::fields(Self& p, Fields& f, uint32_t /*version*/) {
    f.dword(p.captionAlignment);
    f.dword(p.textColour);
    f.dword(p.backgroundColour);
    f.font(p.font);
    f.text(p.caption);
}

template void GroupBoxProperties::fields(GroupBoxProperties&, BlockReader&, uint32_t);
template void GroupBoxProperties::fields(const GroupBoxProperties&, BlockWriter&, uint32_t);

} // namespace kelvarn::ui
