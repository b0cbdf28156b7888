// The window functions of Window.h over the registry of window objects.

#include "platform/windowing/Window.h"

#include "platform/windowing/Application.h"
#include "platform/windowing/Cursor.h"
#include "platform/windowing/Font.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/detail/Controls.h"
#include "platform/windowing/detail/Input.h"
#include "platform/windowing/detail/Menus.h"
#include "platform/windowing/detail/Pinning.h"
#include "platform/windowing/detail/QtText.h"
#include "platform/windowing/detail/RedrawCount.h"
#include "platform/windowing/detail/RegionConversion.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cstring>

namespace kelvarn::platform {

using detail::findWindow;
using detail::WindowObject;

namespace {

// The window's object when its widget exists, which every function acting on the window needs.
WindowObject* windowWithWidget(WindowHandle window) {
    WindowObject* w = findWindow(window);
    return w && w->m_widget ? w : nullptr;
}

QWidget* widgetOf(WindowHandle window) {
    WindowObject* w = windowWithWidget(window);
    return w ? w->m_widget.data() : nullptr;
}

// Counted for the tests' redraw checks, then drawn when Qt next paints.
void requestRedraw(WindowObject& w) {
    detail::noteRedrawRequest(w.m_handle);
    if (w.m_widget)
        w.m_widget->update();
}

// A style change keeps a top-level window's outer rectangle, whatever frame the new style has.
template <typename Change> void restyleKeepingOuterRect(WindowObject& w, Change change) {
    const Rect outer = windowRectInParent(w.m_handle);
    change();
    w.applyStyle();
    if (!w.isChild())
        detail::setOuterGeometry(w, outer.left, outer.top, outer.width(), outer.height());
}

std::vector<WindowObject*> ownedOrChildren(WindowHandle handle) {
    std::vector<WindowObject*> out;
    for (WindowObject* w : detail::allWindows())
        if ((w->isChild() && w->m_parent == handle) || (!w->isChild() && w->m_owner == handle))
            out.push_back(w);
    return out;
}

void destroyTree(WindowHandle handle) {
    if (!isWindow(handle))
        return;
    sendMessage(handle, kWmDestroy, 0, 0);
    for (WindowObject* child : ownedOrChildren(handle))
        destroyTree(child->m_handle);
    sendMessage(handle, kWmNcDestroy, 0, 0);
    detail::dropWindowMenu(handle);
    if (WindowObject* w = findWindow(handle))
        w->m_destroyed = true;
    detail::removeWindow(handle);
}

} // namespace

bool registerClass(const WindowClass& windowClass) {
    if (!windowingStarted())
        return false;
    return detail::addClass(windowClass, detail::Builtin::None);
}

bool isClassRegistered(std::string_view name) {
    return detail::findClass(name) != nullptr;
}

WindowHandle createWindow(const CreateParams& params) {
    if (!windowingStarted())
        return 0;
    const detail::ClassInfo* cls = detail::findClass(params.className);
    if (!cls)
        return 0;
    WindowObject* parent = params.parent ? findWindow(params.parent) : nullptr;
    if (params.parent && !parent)
        return 0;
    const bool child = (params.style & kWsChild) != 0;
    if (child && (!parent || !parent->m_widget))
        return 0;
    const WindowHandle handle = detail::newHandle();
    std::unique_ptr<WindowObject> object(detail::createObject(*cls, handle, params));
    if (child)
        object->m_parent = params.parent;
    else
        object->m_owner = params.parent;
    if (params.proc) {
        object->m_proc = params.proc;
    } else if (cls->def.proc) {
        object->m_proc = cls->def.proc;
    } else {
        object->m_proc = [](WindowHandle h, std::uint32_t m, WParam w, LParam l) -> LResult {
            WindowObject* o = findWindow(h);
            return o ? o->classProc(m, w, l) : 0;
        };
    }
    if (!object->build(child ? parent->m_widget.data() : nullptr) || !object->m_widget)
        return 0;
    WindowObject* window = object.get();
    detail::addWindow(std::move(object));
    detail::registerWidget(window);
    QWidget* widget = window->m_widget;
    // Qt would focus a clicked control before the press is even queued; the focus moves when
    // the press is dispatched to the control instead, as a Windows control takes it.
    if (widget->focusPolicy() & Qt::ClickFocus) {
        window->m_clickFocus = true;
        widget->setFocusPolicy(Qt::TabFocus);
    }
    if (cls->def.cursor)
        setWindowCursor(handle, cls->def.cursor);
    window->applyText(window->m_text);
    window->applyStyle();
    detail::setOuterGeometry(*window, params.x, params.y, params.width, params.height);
    if (child)
        widget->lower(); // new children start at the bottom, so stacking follows creation
    if (params.style & kWsDisabled)
        enableWindow(handle, false);
    if (sendMessage(handle, kWmCreate, 0, reinterpret_cast<LParam>(&params)) == -1) {
        destroyWindow(handle);
        return 0;
    }
    if (!isWindow(handle))
        return 0;
    if (params.style & kWsVisible) {
        if (params.style & kWsMinimize)
            showWindow(handle, kSwShowMinimized);
        else if (params.style & kWsMaximize)
            showWindow(handle, kSwShowMaximized);
        else
            showWindow(handle, child ? kSwShowNa : kSwShow);
    }
    return handle;
}

bool destroyWindow(WindowHandle window) {
    if (!isWindow(window))
        return false;
    destroyTree(window);
    return true;
}

bool isWindow(WindowHandle window) {
    return window != 0 && findWindow(window) != nullptr;
}

bool showWindow(WindowHandle window, int command) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return false;
    QWidget* widget = w->m_widget;
    const bool wasVisible = !widget->isHidden();
    const bool child = w->isChild();
    if (wasVisible != (command != kSwHide)) {
        sendMessage(window, kWmShowWindow, command != kSwHide ? 1 : 0, 0);
        if (!isWindow(window))
            return wasVisible;
    }
    switch (command) {
    case kSwHide:
        widget->hide();
        break;
    case kSwShowMinimized:
    case kSwMinimize:
    case kSwShowMinNoActive:
        if (child)
            widget->show();
        else
            widget->showMinimized();
        break;
    case kSwShowMaximized:
        if (child)
            widget->show();
        else
            widget->showMaximized();
        break;
    case kSwShowNoActivate:
    case kSwShowNa: {
        const bool had = widget->testAttribute(Qt::WA_ShowWithoutActivating);
        widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
        widget->show();
        widget->setAttribute(Qt::WA_ShowWithoutActivating, had);
        break;
    }
    case kSwShowNormal:
    case kSwRestore:
        if (child) {
            widget->show();
        } else {
            widget->showNormal();
            widget->activateWindow();
        }
        break;
    default:
        widget->show();
        if (!child)
            widget->activateWindow();
        break;
    }
    return wasVisible;
}

bool isWindowVisible(WindowHandle window) {
    QWidget* widget = widgetOf(window);
    return widget && widget->isVisible();
}

bool isIconic(WindowHandle window) {
    QWidget* widget = widgetOf(window);
    return widget && widget->isMinimized();
}

bool isZoomed(WindowHandle window) {
    QWidget* widget = widgetOf(window);
    return widget && widget->isMaximized();
}

bool enableWindow(WindowHandle window, bool enable) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return false;
    const bool wasDisabled = !isWindowEnabled(window);
    if (wasDisabled == !enable)
        return wasDisabled;
    // A disabled top-level window keeps its controls' look (as on Windows) and only loses input.
    if (w->isChild())
        w->m_widget->setEnabled(enable);
    else
        w->m_topLevelDisabled = !enable;
    sendMessage(window, kWmEnable, enable ? 1 : 0, 0);
    return wasDisabled;
}

bool isWindowEnabled(WindowHandle window) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return false;
    if (w->isChild())
        return !w->m_widget->testAttribute(Qt::WA_ForceDisabled);
    return !w->m_topLevelDisabled;
}

WindowHandle parentWindow(WindowHandle window) {
    WindowObject* w = findWindow(window);
    if (!w)
        return 0;
    const WindowHandle h = w->isChild() ? w->m_parent : w->m_owner;
    return isWindow(h) ? h : 0;
}

WindowHandle setParent(WindowHandle window, WindowHandle newParent) {
    WindowObject* w = findWindow(window);
    WindowObject* p = findWindow(newParent);
    if (!w || !p || !w->isChild() || !w->m_widget || !p->m_widget || window == newParent)
        return 0;
    for (WindowHandle up = newParent; up; up = parentWindow(up))
        if (up == window)
            return 0; // would make the window its own ancestor
    const WindowHandle old = w->m_parent;
    QWidget* widget = w->m_widget;
    const bool shown = !widget->isHidden();
    const QRect geometry = widget->geometry();
    widget->setParent(p->m_widget);
    widget->setGeometry(geometry);
    if (shown)
        widget->show();
    w->m_parent = newParent;
    return old;
}

std::vector<WindowHandle> childWindows(WindowHandle window) {
    std::vector<WindowHandle> out;
    QWidget* widget = widgetOf(window);
    if (!widget)
        return out;
    const QObjectList& children = widget->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (!(*it)->isWidgetType())
            continue;
        const WindowHandle h = detail::handleOf(static_cast<QWidget*>(*it));
        WindowObject* w = findWindow(h);
        if (w && w->isChild() && w->m_parent == window)
            out.push_back(h);
    }
    return out;
}

WindowHandle dialogItem(WindowHandle parent, std::uint32_t id) {
    for (WindowHandle h : childWindows(parent))
        if (controlId(h) == id)
            return h;
    return 0;
}

std::uint32_t controlId(WindowHandle window) {
    WindowObject* w = findWindow(window);
    return w && w->isChild() ? w->m_id : 0;
}

std::string windowClassName(WindowHandle window) {
    WindowObject* w = findWindow(window);
    return w ? w->m_class->def.name : std::string();
}

bool placeWindowBelow(WindowHandle window, WindowHandle above) {
    QWidget* widget = widgetOf(window);
    QWidget* other = widgetOf(above);
    if (!widget || !other || widget == other || widget->parentWidget() != other->parentWidget())
        return false;
    widget->stackUnder(other);
    return true;
}

bool bringWindowToTop(WindowHandle window) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return false;
    w->m_widget->raise();
    if (!w->isChild())
        w->m_widget->activateWindow();
    return true;
}

bool moveWindow(WindowHandle window, int x, int y, int width, int height) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return false;
    detail::setOuterGeometry(*w, x, y, width, height);
    if (!isWindow(window))
        return true;
    const Rect client = clientRect(window);
    const Point origin = w->isChild() ? Point{x + w->edgeWidth(), y + w->edgeWidth()}
                                      : Point{w->m_widget->x(), w->m_widget->y()};
    sendMessage(window, kWmMove, 0, makeLParam(origin.x, origin.y));
    sendMessage(window, kWmSize, 0, makeLParam(client.right, client.bottom));
    return true;
}

Rect windowRect(WindowHandle window) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return {};
    QWidget* widget = w->m_widget;
    if (w->isChild()) {
        const QPoint p = widget->mapToGlobal(QPoint(0, 0));
        return {p.x(), p.y(), p.x() + widget->width(), p.y() + widget->height()};
    }
    const FrameMetrics m = detail::frameMetricsOf(*w);
    const QRect g = widget->geometry();
    return {g.x() - m.left, g.y() - m.top, g.x() + g.width() + m.right,
            g.y() + g.height() + m.bottom};
}

Rect windowRectInParent(WindowHandle window) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return {};
    if (!w->isChild())
        return windowRect(window);
    const QRect g = w->m_widget->geometry().translated(0, -detail::menuBarHeight(w->m_parent));
    return {g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
}

Rect clientRect(WindowHandle window) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return {};
    const int edge = w->edgeWidth();
    return {0, 0, std::max(0, w->m_widget->width() - 2 * edge),
            std::max(0, w->m_widget->height() - 2 * edge - detail::menuBarHeight(window))};
}

Point clientToScreen(WindowHandle window, Point point) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return point;
    const QPoint p = w->m_widget->mapToGlobal(w->clientOrigin() + QPoint(point.x, point.y));
    return {p.x(), p.y()};
}

Point screenToClient(WindowHandle window, Point point) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return point;
    const QPoint p = w->m_widget->mapFromGlobal(QPoint(point.x, point.y)) - w->clientOrigin();
    return {p.x(), p.y()};
}

FrameMetrics frameMetrics(WindowHandle window) {
    WindowObject* w = findWindow(window);
    return w ? detail::frameMetricsOf(*w) : FrameMetrics{};
}

Size screenSize() {
    if (!windowingStarted())
        return {};
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->geometry().width(), screen->geometry().height()};
}

bool setWindowText(WindowHandle window, std::string_view text) {
    if (!isWindow(window))
        return false;
    const std::string copy(text);
    return sendMessage(window, kWmSetText, 0, reinterpret_cast<LParam>(copy.c_str())) != 0;
}

std::string windowText(WindowHandle window) {
    if (!isWindow(window))
        return {};
    const LResult length = sendMessage(window, kWmGetTextLength, 0, 0);
    if (length <= 0)
        return {};
    std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
    const LResult copied =
        sendMessage(window, kWmGetText, buffer.size(), reinterpret_cast<LParam>(buffer.data()));
    buffer.resize(static_cast<std::size_t>(std::clamp<LResult>(copied, 0, length)));
    return buffer;
}

std::uint32_t windowStyle(WindowHandle window) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return 0;
    std::uint32_t style = w->m_style & ~(kWsVisible | kWsDisabled | kWsMinimize | kWsMaximize);
    if (!w->m_widget->isHidden())
        style |= kWsVisible;
    if (!isWindowEnabled(window))
        style |= kWsDisabled;
    if (!w->isChild() && w->m_widget->isMinimized())
        style |= kWsMinimize;
    if (!w->isChild() && w->m_widget->isMaximized())
        style |= kWsMaximize;
    return style;
}

std::uint32_t windowExStyle(WindowHandle window) {
    WindowObject* w = findWindow(window);
    return w ? w->m_exStyle : 0;
}

bool setWindowStyle(WindowHandle window, std::uint32_t style) {
    WindowObject* w = findWindow(window);
    if (!w)
        return false;
    const std::uint32_t kept = kWsChild | kWsVisible | kWsMinimize | kWsMaximize;
    restyleKeepingOuterRect(*w, [&] { w->m_style = (style & ~kept) | (w->m_style & kept); });
    enableWindow(window, !(style & kWsDisabled));
    return true;
}

bool setWindowExStyle(WindowHandle window, std::uint32_t exStyle) {
    WindowObject* w = findWindow(window);
    if (!w)
        return false;
    restyleKeepingOuterRect(*w, [&] { w->m_exStyle = exStyle; });
    requestRedraw(*w);
    return true;
}

WindowHandle focusWindow() {
    if (!windowingStarted())
        return 0;
    WindowObject* w = detail::windowOwning(QApplication::focusWidget());
    return w ? w->m_handle : 0;
}

WindowHandle setFocus(WindowHandle window, FocusCause cause) {
    const WindowHandle previous = focusWindow();
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return previous;
    QWidget* top = w->m_widget->window();
    if (top && !top->isActiveWindow())
        top->activateWindow();
    Qt::FocusReason reason = Qt::OtherFocusReason;
    switch (cause) {
    case FocusCause::Program:
        break;
    case FocusCause::Activation:
        reason = Qt::ActiveWindowFocusReason;
        break;
    case FocusCause::KeyboardForward:
        reason = Qt::TabFocusReason;
        break;
    case FocusCause::KeyboardBackward:
        reason = Qt::BacktabFocusReason;
        break;
    case FocusCause::KeyboardShortcut:
        reason = Qt::ShortcutFocusReason;
        break;
    }
    // The styles draw a focus frame only in a window marked as changed by the keyboard; Qt
    // marks it only for its own Tab handling, which never runs here.
    if (reason != Qt::OtherFocusReason && reason != Qt::ActiveWindowFocusReason && top &&
        !top->testAttribute(Qt::WA_KeyboardFocusChange)) {
        top->setAttribute(Qt::WA_KeyboardFocusChange);
        w->m_widget->update(); // it may have the focus already and get no focus event
    }
    w->m_widget->setFocus(reason);
    return previous;
}

WindowHandle activeWindow() {
    if (!windowingStarted())
        return 0;
    WindowObject* w = detail::windowOwning(QApplication::activeWindow());
    return w ? w->m_handle : 0;
}

bool setActiveWindow(WindowHandle window) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return false;
    QWidget* top = w->m_widget->window();
    top->activateWindow();
    return true;
}

WindowHandle foregroundWindow() {
    return activeWindow();
}

bool setForegroundWindow(WindowHandle window) {
    QWidget* widget = widgetOf(window);
    if (!widget)
        return false;
    widget->window()->raise();
    return setActiveWindow(window);
}

bool setWindowIconFromFile(WindowHandle window, std::span<const std::uint8_t> icoFile) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return false;
    const QImage image = QImage::fromData(icoFile.data(), int(icoFile.size()), "ICO");
    if (image.isNull()) {
        w->m_widget->setWindowIcon(QIcon());
        return false;
    }
    w->m_widget->setWindowIcon(QIcon(QPixmap::fromImage(image)));
    return true;
}

bool beginUserMove(WindowHandle window) {
    WindowObject* w = windowWithWidget(window);
    if (!w || detail::isPinned(detail::handleOf(w->m_widget->window())))
        return false;
    QWindow* handle = w->m_widget->window()->windowHandle();
    return handle && handle->startSystemMove();
}

bool invalidateWindow(WindowHandle window) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return false;
    requestRedraw(*w);
    return true;
}

bool updateWindow(WindowHandle window) {
    QWidget* widget = widgetOf(window);
    if (!widget)
        return false;
    detail::noteRedrawRequest(window);
    widget->repaint();
    return true;
}

std::uintptr_t windowUserData(WindowHandle window) {
    WindowObject* w = findWindow(window);
    return w ? w->m_userData : 0;
}

bool setWindowUserData(WindowHandle window, std::uintptr_t value) {
    WindowObject* w = findWindow(window);
    if (!w)
        return false;
    w->m_userData = value;
    return true;
}

WindowProc windowProc(WindowHandle window) {
    WindowObject* w = findWindow(window);
    return w ? w->m_proc : WindowProc();
}

WindowProc setWindowProc(WindowHandle window, WindowProc proc) {
    WindowObject* w = findWindow(window);
    if (!w || !proc)
        return {};
    WindowProc previous = std::move(w->m_proc);
    w->m_proc = std::move(proc);
    return previous;
}

LResult callWindowProc(const WindowProc& proc, WindowHandle window, std::uint32_t message,
                       WParam wParam, LParam lParam) {
    if (!proc || !isWindow(window))
        return 0;
    const detail::ProcedureCall call;
    return proc(window, message, wParam, lParam);
}

LResult defaultWindowProc(WindowHandle window, std::uint32_t message, WParam wParam,
                          LParam lParam) {
    WindowObject* w = findWindow(window);
    if (!w)
        return 0;
    switch (message) {
    case kWmSetText: {
        const char* text = reinterpret_cast<const char*>(lParam);
        w->m_text = text ? std::string(text) : std::string();
        w->applyText(w->m_text);
        return 1;
    }
    case kWmGetText: {
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0)
            return 0;
        const std::string text = w->currentText();
        const std::size_t n = std::min<std::size_t>(text.size(), wParam - 1);
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
        return static_cast<LResult>(n);
    }
    case kWmGetTextLength:
        return static_cast<LResult>(w->currentText().size());
    case kWmSetFont:
        w->m_font = static_cast<FontHandle>(wParam);
        w->applyFont(detail::qfontFor(w->m_font));
        if (lParam && w->m_widget)
            requestRedraw(*w);
        return 0;
    case kWmGetFont:
        return static_cast<LResult>(w->m_font);
    case kWmClose:
        destroyWindow(window);
        return 0;
    case kWmMouseMove:
    case kWmLButtonDown:
    case kWmLButtonUp:
    case kWmLButtonDblClk:
    case kWmRButtonDown:
    case kWmRButtonUp:
    case kWmRButtonDblClk:
    case kWmMButtonDown:
    case kWmMButtonUp:
    case kWmMButtonDblClk:
    case kWmMouseWheel:
    case kWmKeyDown:
    case kWmKeyUp:
    case kWmSysKeyDown:
    case kWmSysKeyUp:
    case kWmChar:
    case kWmSysChar:
        detail::deliverHeldInput(*w, message, wParam);
        return 0;
    default:
        return 0;
    }
}

bool setWindowColours(WindowHandle window, Colour text, Colour background) {
    WindowObject* w = findWindow(window);
    if (!w)
        return false;
    w->m_textColour = text;
    w->m_background = background;
    w->applyColours();
    requestRedraw(*w);
    return true;
}

bool setWindowRegion(WindowHandle window, const Region* region) {
    WindowObject* w = windowWithWidget(window);
    if (!w)
        return false;
    if (!region) {
        w->m_widget->clearMask();
        return true;
    }
    // Regions are given in window coordinates; the widget starts at the client area.
    const FrameMetrics m = detail::frameMetricsOf(*w);
    QRegion mask = detail::toQRegion(*region);
    if (!w->isChild())
        mask.translate(-m.left, -m.top);
    w->m_widget->setMask(mask);
    return true;
}

} // namespace kelvarn::platform
