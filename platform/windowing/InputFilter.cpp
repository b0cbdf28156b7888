// The application-wide event filter. Input the window system sends to our windows becomes a
// queued message and the Qt event is held; dispatching the message hands the held event to the
// widget (a non-spontaneous delivery, which the filter lets through). Window-system
// notifications (close request, focus, activation, moves and sizes made by the user) become
// messages to the window's procedure.

#include "platform/windowing/BusyPeriod.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/detail/Controls.h"
#include "platform/windowing/detail/Input.h"
#include "platform/windowing/detail/KeyTable.h"
#include "platform/windowing/detail/Pinning.h"
#include "platform/windowing/detail/QtText.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWheelEvent>

namespace kelvarn::platform::detail {
namespace {

WindowHandle g_lastFocus = 0;

std::uint32_t mouseKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    std::uint32_t state = 0;
    if (buttons & Qt::LeftButton)
        state |= kMkLButton;
    if (buttons & Qt::RightButton)
        state |= kMkRButton;
    if (buttons & Qt::MiddleButton)
        state |= kMkMButton;
    if (modifiers & Qt::ShiftModifier)
        state |= kMkShift;
    if (modifiers & Qt::ControlModifier)
        state |= kMkControl;
    return state;
}

std::uint32_t mouseMessage(QEvent::Type type, Qt::MouseButton button, bool doubleClicks) {
    const bool dbl = type == QEvent::MouseButtonDblClick && doubleClicks;
    const bool down = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    switch (button) {
    case Qt::LeftButton:
        return dbl ? kWmLButtonDblClk : down ? kWmLButtonDown : kWmLButtonUp;
    case Qt::RightButton:
        return dbl ? kWmRButtonDblClk : down ? kWmRButtonDown : kWmRButtonUp;
    case Qt::MiddleButton:
        return dbl ? kWmMButtonDblClk : down ? kWmMButtonDown : kWmMButtonUp;
    default:
        return 0;
    }
}

QPoint clientPoint(WindowObject& window, QWidget* receiver, QPointF position) {
    QPoint p = position.toPoint();
    if (receiver != window.m_widget)
        p = receiver->mapTo(window.m_widget.data(), p);
    return p - window.clientOrigin();
}

// The window the widget belongs to. A window of Qt's own inside one of ours (a control's popup
// menu) is not ours: it runs its own loop and gets its input directly.
WindowObject* inputOwner(QWidget* receiver) {
    for (QWidget* w = receiver; w; w = w->parentWidget()) {
        if (qobject_cast<QMenuBar*>(w))
            return nullptr; // a window's menu bar acts on its own, like a frame
        if (const WindowHandle h = handleOf(w))
            return findWindow(h);
        if (w->isWindow())
            return nullptr;
    }
    return nullptr;
}

// The window whose menu bar holds the widget, when it is one of ours.
WindowObject* menuBarOwner(QWidget* receiver) {
    for (QWidget* w = receiver; w; w = w->parentWidget())
        if (qobject_cast<QMenuBar*>(w))
            return w->parentWidget() ? findWindow(handleOf(w->parentWidget())) : nullptr;
    return nullptr;
}

bool interceptInput(QWidget* receiver, QEvent* event) {
    WindowObject* window = inputOwner(receiver);
    if (!window || !window->m_widget) {
        // The bar takes its input directly, except when its window takes none.
        const WindowObject* barOwner = menuBarOwner(receiver);
        if (!barOwner || acceptsInput(*barOwner))
            return false;
        event->accept();
        return true;
    }
    // A disabled control ignores the event and Qt passes it on to the parent, which is where
    // Windows sends input over a disabled child too.
    if (!receiver->isEnabled())
        return false;
    if (!acceptsInput(*window)) {
        event->accept();
        // A disabled top-level window, an open modal box or long work under way: the input
        // goes nowhere, now or later.
        return true;
    }
    auto held = std::make_shared<HeldInput>();
    held->target = receiver;
    Message m;
    m.window = window->m_handle;
    m.time = tickCount();
    m.point = {QCursor::pos().x(), QCursor::pos().y()};
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m.message = event->type() == QEvent::MouseMove
                        ? kWmMouseMove
                        : mouseMessage(event->type(), mouse->button(), window->wantsDoubleClicks());
        if (m.message == 0)
            return false;
        const QPoint client = clientPoint(*window, receiver, mouse->position());
        m.wParam = mouseKeyState(mouse->buttons(), mouse->modifiers());
        m.lParam = makeLParam(client.x(), client.y());
        const QPoint global = mouse->globalPosition().toPoint();
        m.point = {global.x(), global.y()};
        held->modifiers = mouse->modifiers();
        held->buttons = mouse->buttons();
        break;
    }
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint angle = wheel->angleDelta();
        const int delta = angle.y() != 0 ? angle.y() : angle.x();
        const QPoint global = wheel->globalPosition().toPoint();
        m.message = kWmMouseWheel;
        m.wParam = makeWParam(mouseKeyState(wheel->buttons(), wheel->modifiers()),
                              static_cast<std::uint32_t>(delta));
        m.lParam = makeLParam(global.x(), global.y());
        m.point = {global.x(), global.y()};
        held->modifiers = wheel->modifiers();
        held->buttons = wheel->buttons();
        break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool alt = key->modifiers() & Qt::AltModifier;
        const bool down = event->type() == QEvent::KeyPress;
        m.message = down ? (alt ? kWmSysKeyDown : kWmKeyDown) : (alt ? kWmSysKeyUp : kWmKeyUp);
        m.wParam = virtualKeyFor(key->key(), key->modifiers().testFlag(Qt::KeypadModifier));
        std::uint32_t lp =
            kKeyRepeatOnce | ((key->nativeScanCode() & kKeyScanCodeMask) << kKeyScanCodeShift);
        if (alt)
            lp |= kKeyAltDown;
        if (!down || key->isAutoRepeat())
            lp |= kKeyWasDown;
        if (!down)
            lp |= kKeyTransitionUp;
        m.lParam = static_cast<LParam>(static_cast<std::int32_t>(lp));
        held->modifiers = key->modifiers();
        held->buttons = QApplication::mouseButtons();
        break;
    }
    default:
        return false;
    }
    held->event.reset(event->clone());
    queueInput(m, std::move(held));
    event->accept();
    return true;
}

// The window manager reports its frame only once the window is shown: keep the outer size the
// window was given by fitting the client area to the frame it really has.
void keepOuterSize(WindowObject& window) {
    const FrameMetrics now = frameMetricsOf(window);
    const FrameMetrics& used = window.m_usedMetrics;
    if (now.left == used.left && now.top == used.top && now.right == used.right &&
        now.bottom == used.bottom)
        return;
    const QRect g = window.m_widget->geometry();
    setOuterGeometry(window, g.x() - used.left, g.y() - used.top,
                     g.width() + used.left + used.right, g.height() + used.top + used.bottom);
}

void notifyWindowSystemEvent(QWidget* widget, QEvent* event) {
    const WindowHandle handle = handleOf(widget);
    if (!handle)
        return;
    WindowObject* window = findWindow(handle);
    if (!window)
        return;
    switch (event->type()) {
    case QEvent::FocusIn: {
        const WindowHandle previous = g_lastFocus;
        g_lastFocus = handle;
        sendMessage(handle, kWmSetFocus, previous, 0);
        break;
    }
    case QEvent::FocusOut: {
        const WindowHandle next = handleOf(QApplication::focusWidget());
        if (g_lastFocus == handle)
            g_lastFocus = 0;
        sendMessage(handle, kWmKillFocus, next, 0);
        break;
    }
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (!window->isChild() && widget->isWindow())
            sendMessage(handle, kWmActivate, event->type() == QEvent::WindowActivate ? 1 : 0, 0);
        break;
    case QEvent::Show:
        if (!window->isChild())
            keepOuterSize(*window);
        break;
    case QEvent::Move:
        if (!window->isChild() && event->spontaneous() && undoUserMove(*window))
            break;
        if (!window->isChild())
            keepOuterSize(*window);
        if (!window->isChild() && event->spontaneous()) {
            const QPoint p = widget->pos();
            sendMessage(handle, kWmMove, 0, makeLParam(p.x(), p.y()));
        }
        break;
    case QEvent::Resize:
        if (!window->isChild() && event->spontaneous())
            sendMessage(handle, kWmSize, 0, makeLParam(widget->width(), widget->height()));
        break;
    default:
        break;
    }
}

} // namespace

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // Our own deliveries are not spontaneous; everything from the window system is.
        if (!event->spontaneous())
            return false;
        return interceptInput(widget, event);
    case QEvent::ShortcutOverride:
        // Every key aimed at our windows takes the runtime's way (menu shortcuts, the window's
        // keyboard handling with the units' mnemonics, the key events, then the bar's
        // mnemonics). Claiming the key here keeps Qt's shortcut map, where the bar and the
        // group boxes register their mnemonics, from acting on it first.
        if (!inputOwner(widget))
            return false;
        event->accept();
        return true;
    case QEvent::Close:
        if (const WindowHandle handle = handleOf(widget)) {
            // During long work the request waits for the work to end instead of being lost.
            requestClose(handle);
            event->ignore();
            return true;
        }
        return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
        notifyWindowSystemEvent(widget, event);
        return false;
    default:
        return false;
    }
}

void deliverHeldInput(WindowObject& window, std::uint32_t message, WParam wParam) {
    const std::shared_ptr<HeldInput> held = dispatchedInput(window.m_handle, message);
    if (!held || !held->target)
        return;
    QWidget* target = held->target;
    if (held->character) {
        if (held->delivered)
            return;
        held->delivered = true;
        // The procedure may have replaced the character: deliver what wParam says now.
        std::string bytes;
        for (WParam code = wParam; code != 0; code >>= 8)
            bytes.insert(bytes.begin(), static_cast<char>(code & 0xFF));
        if (bytes.empty())
            return;
        const QString text = fromRuntime(bytes);
        // Control characters did their work with the key itself.
        if (text.isEmpty() || text[0].unicode() < 0x20 || text[0].unicode() == 0x7F)
            return;
        window.deliverCharacter(target, text, held->modifiers);
        return;
    }
    if (!held->event)
        return;
    std::unique_ptr<QEvent> event = std::move(held->event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event.get());
        const QString text = key->text();
        bool printable = false;
        for (const QChar c : text)
            printable = printable || (c.unicode() >= 0x20 && c.unicode() != 0x7F);
        if (printable) {
            // The text reaches the control through the character message alone.
            QKeyEvent bare(key->type(), key->key(), key->modifiers(), key->nativeScanCode(),
                           key->nativeVirtualKey(), key->nativeModifiers(), QString(),
                           key->isAutoRepeat(), key->count());
            QCoreApplication::sendEvent(target, &bare);
            return;
        }
    }
    if ((event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick) &&
        window.m_clickFocus && window.m_widget && window.m_widget->isEnabled() &&
        !window.m_widget->hasFocus())
        window.m_widget->setFocus(Qt::MouseFocusReason);
    QCoreApplication::sendEvent(target, event.get());
}

} // namespace kelvarn::platform::detail
