#include "ui/template/WindowProperties.h"

namespace kelvarn::ui {

template <typename Self, typename Fields>
void WindowProperties::fields(Self& p, Fields& f, uint32_t version) {
    f.dword(p.borderStyle);
    f.dword(p.pictureMode);
    f.dword(p.backgroundColour);
    f.dword(p.maximizeButton);
    f.dword(p.minimizeButton);
    f.dword(p.controlBox);
    f.dword(p.startPosition);
    f.dword(p.movable);
    f.dword(p.soundPlayMode);
    f.dword(p.enterMovesFocus);
    f.dword(p.escapeCloses);
    f.dword(p.f1OpensHelp);
    f.dword(p.helpContext);
    if (version > 1)
        f.dword(p.shownInTaskbar);
    if (version > 2) {
        f.dword(p.dragByAnyPoint);
        f.dword(p.windowShape);
    }
    if (version > 3)
        f.dword(p.alwaysOnTop);
    if (version > 4)
        f.dword(p.extraWord);
    if (version > 5)
        f.text(p.windowClassName);
    f.bytes(p.backgroundPicture);
    f.bytes(p.icon);
    f.bytes(p.backgroundSound);
    f.text(p.title);
    f.text(p.helpFileName);
}

template void WindowProperties::fields(WindowProperties&, BlockReader&, uint32_t);
template void WindowProperties::fields(const WindowProperties&, BlockWriter&, uint32_t);

} // namespace kelvarn::ui
