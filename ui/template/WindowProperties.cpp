#include "ui/template/WindowProperties.h"

namespace kelvarn::ui {

void WindowProperties::readFields(BlockReader& r, uint32_t version) {
    r.dword(borderStyle);
    r.dword(pictureMode);
    r.dword(backgroundColour);
    r.dword(maximizeButton);
    r.dword(minimizeButton);
    r.dword(controlBox);
    r.dword(startPosition);
    r.dword(movable);
    r.dword(soundPlayMode);
    r.dword(enterMovesFocus);
    r.dword(escapeCloses);
    r.dword(f1OpensHelp);
    r.dword(helpContext);
    if (version > 1)
        r.dword(shownInTaskbar);
    if (version > 2) {
        r.dword(dragByAnyPoint);
        r.dword(windowShape);
    }
    if (version > 3)
        r.dword(alwaysOnTop);
    if (version > 4)
        r.dword(extraWord);
    if (version > 5)
        r.text(windowClassName);
    r.bytes(backgroundPicture);
    r.bytes(icon);
    r.bytes(backgroundSound);
    r.text(title);
    r.text(helpFileName);
}

std::vector<uint8_t> WindowProperties::write() const {
    ByteWriter w;
    w.u32(kMaxVersion);
    w.i32(borderStyle);
    w.i32(pictureMode);
    w.u32(backgroundColour);
    w.i32(maximizeButton);
    w.i32(minimizeButton);
    w.i32(controlBox);
    w.i32(startPosition);
    w.i32(movable);
    w.i32(soundPlayMode);
    w.i32(enterMovesFocus);
    w.i32(escapeCloses);
    w.i32(f1OpensHelp);
    w.i32(helpContext);
    w.i32(shownInTaskbar);
    w.i32(dragByAnyPoint);
    w.i32(windowShape);
    w.i32(alwaysOnTop);
    w.i32(extraWord);
    w.countedText(windowClassName);
    w.countedBytes(backgroundPicture);
    w.countedBytes(icon);
    w.countedBytes(backgroundSound);
    w.countedText(title);
    w.countedText(helpFileName);
    return w.take();
}

} // namespace kelvarn::ui
