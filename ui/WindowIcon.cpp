#include "ui/WindowIcon.h"

#include "platform/windowing/detail/WindowObject.h"
#include "ui/properties/IconFile.h"

#include <QIcon>
#include <QPixmap>

namespace kelvarn::ui {

// The windowing layer has no icon operation of its own; the icon goes straight onto the
// window's widget.
bool setWindowIconFromFile(platform::WindowHandle window, std::span<const uint8_t> bytes) {
    platform::detail::WindowObject* native = platform::detail::findWindow(window);
    if (!native || !native->m_widget)
        return false;
    QPixmap picture;
    bool valid = !bytes.empty() && isIconFile(bytes) &&
                 picture.loadFromData(bytes.data(), static_cast<uint>(bytes.size()), "ICO");
    native->m_widget->setWindowIcon(valid ? QIcon(picture) : QIcon());
    return valid;
}

bool hasCustomWindowIcon(platform::WindowHandle window) {
    platform::detail::WindowObject* native = platform::detail::findWindow(window);
    return native && native->m_widget && !native->m_widget->windowIcon().isNull();
}

} // namespace kelvarn::ui
