// Opening files with the desktop's handler, and pinned windows.

#include "platform/windowing/Desktop.h"

#include "platform/files/Path.h"
#include "platform/windowing/detail/Pinning.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include <map>

namespace kelvarn::platform {
namespace {

struct Recording {
    bool on = false;
    std::vector<std::string> paths;
};

Recording& recording() {
    static Recording r;
    return r;
}

// Top-level windows the user may not move, and where they stay.
std::map<WindowHandle, QPoint>& pinned() {
    static std::map<WindowHandle, QPoint> all;
    return all;
}

} // namespace

bool openWithDesktop(std::string_view path) {
    const std::string native = toNativePath(path);
    const QString name = QString::fromUtf8(native.data(), qsizetype(native.size()));
    if (native.empty() || !QFileInfo(name).isFile())
        return false;
    if (recording().on) {
        recording().paths.push_back(native);
        return true;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath()));
}

void recordDesktopOpens(bool record) {
    recording().on = record;
    if (record)
        recording().paths.clear();
}

const std::vector<std::string>& recordedDesktopOpens() {
    return recording().paths;
}

bool setWindowMovable(WindowHandle window, bool movable) {
    detail::WindowObject* w = detail::findWindow(window);
    if (!w || !w->m_widget || w->isChild())
        return false;
    if (movable)
        pinned().erase(window);
    else
        pinned()[window] = w->m_widget->pos();
    return true;
}

bool isWindowMovable(WindowHandle window) {
    detail::WindowObject* w = detail::findWindow(window);
    return w && !w->isChild() && !detail::isPinned(window);
}

namespace detail {

void notePlacedByProgram(const WindowObject& window) {
    auto it = pinned().find(window.m_handle);
    if (it != pinned().end() && window.m_widget)
        it->second = window.m_widget->pos();
}

bool undoUserMove(WindowObject& window) {
    auto it = pinned().find(window.m_handle);
    if (it == pinned().end() || !isWindow(window.m_handle) || !window.m_widget)
        return false;
    if (window.m_widget->pos() != it->second)
        window.m_widget->move(it->second);
    return true;
}

bool isPinned(WindowHandle window) {
    return pinned().count(window) != 0;
}

} // namespace detail
} // namespace kelvarn::platform
