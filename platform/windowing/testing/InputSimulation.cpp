#include "platform/windowing/testing/InputSimulation.h"

#include "platform/windowing/Menu.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/detail/KeyTable.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

namespace kelvarn::platform::testing {
namespace {

Qt::MouseButton qtButton(MouseButton b) {
    switch (b) {
    case MouseButton::Right:
        return Qt::RightButton;
    case MouseButton::Middle:
        return Qt::MiddleButton;
    default:
        return Qt::LeftButton;
    }
}

Qt::KeyboardModifiers modifiersFor(std::uint32_t keyState) {
    Qt::KeyboardModifiers m;
    if (keyState & kMkShift)
        m |= Qt::ShiftModifier;
    if (keyState & kMkControl)
        m |= Qt::ControlModifier;
    return m;
}

// The deepest widget under the client point and the point in its coordinates.
QWidget* widgetAt(WindowHandle window, Point client, QPoint& local) {
    detail::WindowObject* w = detail::findWindow(window);
    if (!w || !w->m_widget)
        return nullptr;
    QWidget* top = w->m_widget;
    const QPoint p = w->clientOrigin() + QPoint(client.x, client.y);
    QWidget* target = top->childAt(p);
    if (!target)
        target = top;
    local = target->mapFrom(top, p);
    return target;
}

void send(QWidget* target, QEvent* event) {
    QSpontaneKeyEvent::setSpontaneous(event);
    qApp->notify(target, event);
}

Qt::MouseButtons g_buttons;

bool mouse(QEvent::Type type, WindowHandle window, Point client, MouseButton button,
           std::uint32_t keyState) {
    QPoint local;
    QWidget* target = widgetAt(window, client, local);
    if (!target)
        return false;
    const Qt::MouseButton b = type == QEvent::MouseMove ? Qt::NoButton : qtButton(button);
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        g_buttons |= b;
    else if (type == QEvent::MouseButtonRelease)
        g_buttons &= ~b;
    QMouseEvent event(type, local, target->mapToGlobal(local), b, g_buttons,
                      modifiersFor(keyState));
    send(target, &event);
    return true;
}

} // namespace

bool simulateMousePress(WindowHandle window, Point client, MouseButton button,
                        std::uint32_t keyState) {
    return mouse(QEvent::MouseButtonPress, window, client, button, keyState);
}

bool simulateMouseRelease(WindowHandle window, Point client, MouseButton button,
                          std::uint32_t keyState) {
    return mouse(QEvent::MouseButtonRelease, window, client, button, keyState);
}

bool simulateMouseDoubleClick(WindowHandle window, Point client, MouseButton button) {
    return mouse(QEvent::MouseButtonDblClick, window, client, button, 0);
}

bool simulateMouseMove(WindowHandle window, Point client) {
    return mouse(QEvent::MouseMove, window, client, MouseButton::Left, 0);
}

bool simulateWheel(WindowHandle window, Point client, int delta) {
    QPoint local;
    QWidget* target = widgetAt(window, client, local);
    if (!target)
        return false;
    QWheelEvent event(local, target->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    send(target, &event);
    return true;
}

bool simulateKey(WindowHandle window, std::uint32_t virtualKey, std::string_view textUtf8,
                 bool release, bool alt) {
    detail::WindowObject* w = detail::findWindow(window);
    if (!w || !w->m_widget)
        return false;
    const QString text = QString::fromUtf8(textUtf8.data(), qsizetype(textUtf8.size()));
    const Qt::KeyboardModifiers modifiers = alt ? Qt::AltModifier : Qt::NoModifier;
    const auto key = Qt::Key(detail::qtKeyFor(virtualKey));
    QTest::sendKeyEvent(QTest::Press, w->m_widget, key, text, modifiers);
    if (release)
        QTest::sendKeyEvent(QTest::Release, w->m_widget, key, text, modifiers);
    return true;
}

bool simulateKeyChord(WindowHandle window, std::uint32_t shortcut) {
    detail::WindowObject* w = detail::findWindow(window);
    if (!w || !w->m_widget)
        return false;
    Qt::KeyboardModifiers modifiers;
    if (shortcut & kShortcutControl)
        modifiers |= Qt::ControlModifier;
    if (shortcut & kShortcutShift)
        modifiers |= Qt::ShiftModifier;
    if (shortcut & kShortcutAlt)
        modifiers |= Qt::AltModifier;
    QTest::keyClick(w->m_widget, Qt::Key(detail::qtKeyFor(shortcut & kShortcutKeyMask)), modifiers);
    return true;
}

bool simulateUserMove(WindowHandle window, Point topLeft) {
    detail::WindowObject* w = detail::findWindow(window);
    if (!w || !w->m_widget || w->isChild())
        return false;
    const QPoint old = w->m_widget->pos();
    w->m_widget->move(topLeft.x, topLeft.y);
    QMoveEvent event(w->m_widget->pos(), old);
    send(w->m_widget, &event);
    return true;
}

bool simulateCloseButton(WindowHandle window) {
    detail::WindowObject* w = detail::findWindow(window);
    if (!w || !w->m_widget || w->isChild())
        return false;
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != w->m_widget->window())
        return false;
    QCloseEvent event;
    send(w->m_widget, &event);
    return true;
}

} // namespace kelvarn::platform::testing
