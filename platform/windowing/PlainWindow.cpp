// Plain windows of registered classes, and what every top-level window shares: window flags
// from the styles, frame metrics and outer geometry.

#include "platform/windowing/Styles.h"
#include "platform/windowing/detail/Controls.h"
#include "platform/windowing/detail/Menus.h"
#include "platform/windowing/detail/Pinning.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace kelvarn::platform::detail {
namespace {

// Frame metrics used when the window system reports none (offscreen, or before the window
// manager framed the window).
constexpr int kDefaultBorder = 3;
constexpr int kDefaultCaption = 26;

// With KELVARN_FIRST_PAINT_FILE set, the wall-clock time (seconds since the epoch) at which a
// top-level window is first painted is appended to that file, once a process: start-up is
// measured from process start to that moment.
void noteFirstPaint() {
    static bool noted = false;
    if (noted)
        return;
    noted = true;
    const char* path = std::getenv("KELVARN_FIRST_PAINT_FILE");
    if (!path || !*path)
        return;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const double seconds = std::chrono::duration<double>(now).count();
    if (std::FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%.6f\n", seconds);
        std::fclose(file);
    }
}

class PlainWidget : public QWidget {
public:
    PlainWidget(WindowObject* owner, QWidget* parent) : QWidget(parent), m_owner(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        WindowObject* window = findWindow(m_handle());
        if (!window)
            return;
        QPainter painter(this);
        paintWindow(*window, painter);
        const int edge = window->edgeWidth();
        if (edge > 0) {
            QStyleOptionFrame frame;
            frame.initFrom(this);
            frame.lineWidth = edge == 1 ? 1 : 2;
            frame.state |=
                (window->m_exStyle & kWsExClientEdge) ? QStyle::State_Sunken : QStyle::State_Raised;
            if (edge == 1 && (window->m_style & kWsBorder)) {
                painter.setPen(Qt::black);
                painter.drawRect(rect().adjusted(0, 0, -1, -1));
            } else {
                style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
            }
        }
        if (!window->isChild())
            noteFirstPaint();
    }

private:
    WindowHandle m_handle() const { return m_owner->m_handle; }
    WindowObject* m_owner;
};

} // namespace

bool PlainWindowObject::build(QWidget* parent) {
    auto* widget = new PlainWidget(this, parent);
    widget->setMouseTracking(true);
    widget->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_widget = widget;
    if (!isChild())
        applyTopLevelStyle(*this);
    return true;
}

void PlainWindowObject::applyStyle() {
    if (!isChild())
        applyTopLevelStyle(*this);
    if (m_widget)
        m_widget->update();
}

void applyTopLevelStyle(WindowObject& window) {
    QWidget* widget = window.m_widget;
    if (!widget || window.isChild())
        return;
    const std::uint32_t style = window.m_style;
    Qt::WindowFlags flags = (window.m_exStyle & kWsExToolWindow) ? Qt::Tool : Qt::Window;
    const bool caption = (style & kWsCaption) == kWsCaption;
    const bool frame = (style & (kWsBorder | kWsDlgFrame | kWsThickFrame)) != 0;
    if (!caption && !frame) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint;
        if (caption)
            flags |= Qt::WindowTitleHint;
        if (caption && (style & kWsSysMenu))
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (caption && (style & kWsMinimizeBox))
            flags |= Qt::WindowMinimizeButtonHint;
        if (caption && (style & kWsMaximizeBox))
            flags |= Qt::WindowMaximizeButtonHint;
    }
    if (window.m_exStyle & kWsExTopmost)
        flags |= Qt::WindowStaysOnTopHint;
    if (widget->windowFlags() != flags) {
        const bool visible = widget->isVisible();
        widget->setWindowFlags(flags);
        if (visible)
            widget->show();
    }
    if (style & kWsThickFrame) {
        widget->setMinimumSize(0, 0);
        widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        widget->setFixedSize(widget->size());
    }
}

FrameMetrics frameMetricsOf(const WindowObject& window) {
    if (window.isChild()) {
        const int e = window.edgeWidth();
        return {e, e, e, e};
    }
    const QWidget* widget = window.m_widget;
    // The offscreen and minimal platforms draw no frame; their margins are stand-ins.
    const QString platform = QGuiApplication::platformName();
    const bool realFrames =
        platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
    if (realFrames && widget && widget->windowHandle() && widget->isVisible()) {
        const QMargins m = widget->windowHandle()->frameMargins();
        if (!m.isNull())
            return {m.left(), m.top(), m.right(), m.bottom()};
    }
    const std::uint32_t style = window.m_style;
    if ((style & kWsCaption) == kWsCaption)
        return {kDefaultBorder, kDefaultBorder + kDefaultCaption, kDefaultBorder, kDefaultBorder};
    if (style & (kWsBorder | kWsDlgFrame | kWsThickFrame))
        return {kDefaultBorder, kDefaultBorder, kDefaultBorder, kDefaultBorder};
    return {};
}

void setOuterGeometry(WindowObject& window, int x, int y, int width, int height) {
    QWidget* widget = window.m_widget;
    if (!widget)
        return;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (window.isChild()) {
        widget->setGeometry(x, y + menuBarHeight(window.m_parent), width, height);
        return;
    }
    const FrameMetrics m = frameMetricsOf(window);
    const int clientWidth = std::max(width - m.left - m.right, 0);
    const int clientHeight = std::max(height - m.top - m.bottom, 0);
    const bool fixed = !(window.m_style & kWsThickFrame);
    if (fixed) {
        widget->setMinimumSize(0, 0);
        widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    window.m_usedMetrics = m;
    widget->setGeometry(x + m.left, y + m.top, clientWidth, clientHeight);
    if (fixed)
        widget->setFixedSize(clientWidth, clientHeight);
    notePlacedByProgram(window);
}

void registerBuiltinClasses() {
    addClass(WindowClass{"EDIT", kCsDblClks, {}, 0, kSystemDefaultColour, true}, Builtin::Edit);
    addClass(WindowClass{"BUTTON", kCsDblClks, {}, 0, kSystemDefaultColour, true}, Builtin::Button);
    addClass(WindowClass{"LISTBOX", kCsDblClks, {}, 0, kSystemDefaultColour, true},
             Builtin::ListBox);
    addClass(WindowClass{"msctls_updown32", 0, {}, 0, kSystemDefaultColour, true}, Builtin::UpDown);
}

WindowObject* createObjectRaw(const ClassInfo& windowClass, WindowHandle handle,
                              const CreateParams& params) {
    switch (windowClass.builtin) {
    case Builtin::Edit:
        return new EditObject(handle, windowClass, params);
    case Builtin::Button:
        return new ButtonObject(handle, windowClass, params);
    case Builtin::ListBox:
        return new ListBoxObject(handle, windowClass, params);
    case Builtin::UpDown:
        return new UpDownObject(handle, windowClass, params);
    case Builtin::None:
        break;
    }
    return new PlainWindowObject(handle, windowClass, params);
}

WindowObject* createObject(const ClassInfo& windowClass, WindowHandle handle,
                           const CreateParams& params) {
    return createObjectRaw(windowClass, handle, params);
}

} // namespace kelvarn::platform::detail
