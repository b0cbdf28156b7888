// Window menu bars: built from an item list into a QMenuBar lying over the top of the window's
// widget, above the client area, and the accelerator table tried for key-downs.

#include "platform/windowing/Menu.h"

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/detail/Menus.h"
#include "platform/windowing/detail/QtText.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace kelvarn::platform {
namespace {

// Keeps the bar as wide as the window.
class BarFitter : public QObject {
public:
    BarFitter(QWidget* window, QMenuBar* bar) : QObject(bar), m_bar(bar) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            m_bar->resize(static_cast<QWidget*>(watched)->width(), m_bar->height());
        return false;
    }

private:
    QMenuBar* m_bar;
};

struct WindowMenu {
    QPointer<QMenuBar> bar;
    std::vector<MenuItem> items;
    std::vector<int> levels;  // normalised levels
    std::vector<bool> usable; // shown and enabled, with every enclosing item
    std::vector<bool> opensSubmenu;
    std::vector<QMenu*> submenus; // per item, the sub-menu it opens
    int height = 0;
};

std::map<WindowHandle, WindowMenu>& menus() {
    static std::map<WindowHandle, WindowMenu> all;
    return all;
}

WindowMenu* menuOf(WindowHandle window) {
    auto it = menus().find(window);
    return it == menus().end() ? nullptr : &it->second;
}

// The character after the first single "&", upper-cased; 0 without one.
QChar mnemonicOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

void analyse(WindowMenu& menu) {
    const std::size_t n = menu.items.size();
    menu.levels.assign(n, 0);
    menu.usable.assign(n, false);
    menu.opensSubmenu.assign(n, false);
    menu.submenus.assign(n, nullptr);
    for (std::size_t i = 1; i < n; ++i)
        menu.levels[i] = std::clamp(menu.items[i].level, 0, menu.levels[i - 1] + 1);
    std::vector<bool> openPath; // usable flag of the enclosing item per level
    for (std::size_t i = 0; i < n; ++i) {
        const int level = menu.levels[i];
        openPath.resize(std::size_t(level));
        const bool enclosingUsable =
            std::all_of(openPath.begin(), openPath.end(), [](bool b) { return b; });
        menu.usable[i] = enclosingUsable && !menu.items[i].hidden && !menu.items[i].disabled;
        menu.opensSubmenu[i] = i + 1 < n && menu.levels[i + 1] > level;
        openPath.push_back(menu.usable[i]);
    }
}

void build(WindowHandle window, WindowMenu& menu) {
    menu.bar->clear();
    // The bar owns the sub-menus it made; clearing only drops their actions.
    qDeleteAll(menu.bar->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
    analyse(menu);
    std::vector<QWidget*> containers{menu.bar.data()}; // per level; nullptr below a hidden item
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const MenuItem& item = menu.items[i];
        const int level = menu.levels[i];
        containers.resize(std::size_t(level) + 1);
        QWidget* container = containers[std::size_t(level)];
        containers.push_back(nullptr);
        if (!container || item.hidden)
            continue;
        const QString caption = detail::fromRuntime(item.caption);
        auto* bar = qobject_cast<QMenuBar*>(container);
        auto* popup = qobject_cast<QMenu*>(container);
        if (menu.opensSubmenu[i]) {
            QMenu* sub = bar ? bar->addMenu(caption) : popup->addMenu(caption);
            sub->menuAction()->setEnabled(!item.disabled);
            containers.back() = sub;
            menu.submenus[i] = sub;
            continue;
        }
        if (caption == QLatin1String("-")) {
            if (popup)
                popup->addSeparator();
            continue;
        }
        // The shortcut is shown after a tab, not registered with Qt: the accelerator table
        // decides, in the caller's message loop.
        QString text = caption;
        if (item.shortcut != 0 && popup)
            text += u'\t' + detail::fromRuntime(shortcutText(item.shortcut));
        QAction* action = bar ? bar->addAction(text) : popup->addAction(text);
        action->setEnabled(!item.disabled);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        const std::uint16_t id = item.id;
        const bool checked = item.checked;
        QObject::connect(action, &QAction::triggered, menu.bar, [window, id, action, checked] {
            // Qt flips a checkable action as it is chosen; the mark is the item's flag, which
            // only a write of the flag changes.
            action->setChecked(checked);
            postMessage(window, kWmCommand, makeWParam(id, 0), 0);
        });
    }
}

// Moves the window's children by the change of the bar's height, so they keep their client
// coordinates.
void shiftChildren(WindowHandle window, int delta) {
    if (delta == 0)
        return;
    for (detail::WindowObject* child : detail::allWindows())
        if (child->isChild() && child->m_parent == window && child->m_widget)
            child->m_widget->move(child->m_widget->pos() + QPoint(0, delta));
}

void resizeClient(WindowHandle window) {
    const Rect client = clientRect(window);
    sendMessage(window, kWmSize, 0, makeLParam(client.right, client.bottom));
}

WindowHandle topLevelOf(WindowHandle window) {
    detail::WindowObject* w = detail::findWindow(window);
    while (w && w->isChild())
        w = detail::findWindow(w->m_parent);
    return w ? w->m_handle : 0;
}

} // namespace

bool setWindowMenu(WindowHandle window, std::span<const MenuItem> items) {
    detail::WindowObject* w = detail::findWindow(window);
    if (!w || !w->m_widget || w->isChild())
        return false;
    const int oldHeight = detail::menuBarHeight(window);
    if (items.empty()) {
        detail::dropWindowMenu(window);
    } else {
        WindowMenu& menu = menus()[window];
        if (!menu.bar) {
            menu.bar = new QMenuBar(w->m_widget);
            menu.bar->setNativeMenuBar(false);
            new BarFitter(w->m_widget, menu.bar);
        }
        menu.items.assign(items.begin(), items.end());
        build(window, menu);
        menu.height = menu.bar->sizeHint().height();
        menu.bar->setGeometry(0, 0, w->m_widget->width(), menu.height);
        menu.bar->show();
        menu.bar->raise();
    }
    const int delta = detail::menuBarHeight(window) - oldHeight;
    shiftChildren(window, delta);
    if (delta != 0)
        resizeClient(window);
    return true;
}

bool hasWindowMenu(WindowHandle window) {
    return menuOf(window) != nullptr;
}

std::string shortcutText(std::uint32_t shortcut) {
    if (shortcut == 0)
        return {};
    std::string text;
    if (shortcut & kShortcutControl)
        text += "Ctrl+";
    if (shortcut & kShortcutShift)
        text += "Shift+";
    if (shortcut & kShortcutAlt)
        text += "Alt+";
    const std::uint32_t key = shortcut & kShortcutKeyMask;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        text += char(key);
    else if (key >= kVkF1 && key <= kVkF24)
        text.append(1, 'F').append(std::to_string(key - kVkF1 + 1));
    else if (key == kVkDelete)
        text += "Del";
    else if (key == kVkReturn)
        text += "Enter";
    else if (key == kVkEscape)
        text += "Esc";
    else if (key == kVkSpace)
        text += "Space";
    else
        text.append(1, '#').append(std::to_string(key));
    return text;
}

namespace detail {

int menuBarHeight(WindowHandle window) {
    const WindowMenu* menu = menuOf(window);
    return menu && menu->bar ? menu->height : 0;
}

bool menuUsesKey(const Message& keyDown, Qt::KeyboardModifiers modifiers, bool mnemonics) {
    const WindowHandle top = topLevelOf(keyDown.window);
    WindowMenu* menu = menuOf(top);
    if (!menu || !menu->bar)
        return false;
    const bool alt = keyDown.message == kWmSysKeyDown || modifiers.testFlag(Qt::AltModifier);
    const std::uint32_t key = static_cast<std::uint32_t>(keyDown.wParam) & kShortcutKeyMask;
    std::uint32_t pressed = key;
    if (modifiers.testFlag(Qt::ControlModifier))
        pressed |= kShortcutControl;
    if (modifiers.testFlag(Qt::ShiftModifier))
        pressed |= kShortcutShift;
    if (alt)
        pressed |= kShortcutAlt;
    for (std::size_t i = 0; i < menu->items.size(); ++i)
        if (menu->usable[i] && !menu->opensSubmenu[i] && menu->items[i].shortcut == pressed) {
            postMessage(top, kWmCommand, makeWParam(menu->items[i].id, 1), 0);
            return true;
        }
    const bool letterOrDigit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    if (!mnemonics || !alt || !letterOrDigit || (pressed & kShortcutControl))
        return false;
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        if (menu->levels[i] != 0 || !menu->usable[i] ||
            mnemonicOf(detail::fromRuntime(menu->items[i].caption)) != QChar(char16_t(key)))
            continue;
        if (QMenu* sub = menu->submenus[i]) {
            menu->bar->setActiveAction(sub->menuAction());
        } else {
            postMessage(top, kWmCommand, makeWParam(menu->items[i].id, 0), 0);
        }
        return true;
    }
    return false;
}

void dropWindowMenu(WindowHandle window) {
    auto it = menus().find(window);
    if (it == menus().end())
        return;
    if (QMenuBar* bar = it->second.bar) {
        bar->hide();
        bar->deleteLater();
    }
    menus().erase(it);
}

} // namespace detail
} // namespace kelvarn::platform
