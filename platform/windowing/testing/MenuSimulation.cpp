#include "platform/windowing/testing/MenuSimulation.h"

#include "platform/windowing/detail/WindowObject.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QtTest/qtestspontaneevent.h>

namespace kelvarn::platform::testing {
namespace {

QMenuBar* barOf(WindowHandle window) {
    detail::WindowObject* w = detail::findWindow(window);
    return w && w->m_widget
               ? w->m_widget->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly)
               : nullptr;
}

void collect(const QList<QAction*>& actions, int depth, std::vector<ShownMenuEntry>& out) {
    for (QAction* action : actions) {
        ShownMenuEntry entry;
        entry.depth = depth;
        entry.text = action->text().toStdString();
        entry.separator = action->isSeparator();
        entry.enabled = action->isEnabled();
        entry.checked = action->isChecked();
        entry.opensSubmenu = action->menu() != nullptr;
        out.push_back(entry);
        if (QMenu* sub = action->menu())
            collect(sub->actions(), depth + 1, out);
    }
}

void click(QWidget* target, QPoint local) {
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, local, target->mapToGlobal(local), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(target, &event);
    }
}

} // namespace

std::vector<ShownMenuEntry> shownMenu(WindowHandle window) {
    std::vector<ShownMenuEntry> out;
    if (QMenuBar* bar = barOf(window))
        collect(bar->actions(), 0, out);
    return out;
}

int openableMenuCount(WindowHandle window) {
    QMenuBar* bar = barOf(window);
    return bar ? int(bar->findChildren<QMenu*>().size()) : 0;
}

bool clickMenuBarEntry(WindowHandle window, int index) {
    QMenuBar* bar = barOf(window);
    if (!bar || !bar->isVisible())
        return false;
    int seen = 0;
    for (QAction* action : bar->actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        if (seen++ == index) {
            click(bar, bar->actionGeometry(action).center());
            return true;
        }
    }
    return false;
}

bool clickOpenMenuEntry(int index) {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || index < 0 || index >= menu->actions().size())
        return false;
    click(menu, menu->actionGeometry(menu->actions()[index]).center());
    return true;
}

bool typeIntoOpenMenu(char key) {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu)
        return false;
    const QString text(QChar::fromLatin1(key).toLower());
    QKeyEvent press(QEvent::KeyPress, int(key), Qt::NoModifier, text);
    QSpontaneKeyEvent::setSpontaneous(&press);
    qApp->notify(menu, &press);
    return true;
}

bool menuIsOpen() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr;
}

void closeOpenMenus() {
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

} // namespace kelvarn::platform::testing
