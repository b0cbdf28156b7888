// The registry of windows, classes and retired widgets, and the parts of a window object that
// every kind shares.

#include "platform/windowing/BusyPeriod.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/detail/Controls.h"
#include "platform/windowing/detail/Menus.h"
#include "platform/windowing/detail/QtText.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <unordered_map>

namespace kelvarn::platform::detail {
namespace {

struct Registry {
    std::unordered_map<WindowHandle, std::unique_ptr<WindowObject>> windows;
    QHash<const QWidget*, WindowHandle> byWidget;
    std::vector<std::unique_ptr<ClassInfo>> classes;
    std::vector<QPointer<QWidget>> retired;
    WindowHandle nextHandle = 0x1000;
    int procedureDepth = 0;
    int modalDepth = 0;
    std::vector<PaintScope*> paints;
};

Registry& registry() {
    static Registry r;
    return r;
}

bool sameClassName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto up = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; };
               return up(x) == up(y);
           });
}

} // namespace

WindowObject::WindowObject(WindowHandle handle, const ClassInfo& windowClass,
                           const CreateParams& params)
    : m_handle(handle), m_class(&windowClass), m_style(params.style), m_exStyle(params.exStyle),
      m_id(params.id), m_userData(params.userData), m_text(params.title) {}

WindowObject::~WindowObject() = default;

LResult WindowObject::classProc(std::uint32_t message, WParam wParam, LParam lParam) {
    return defaultWindowProc(m_handle, message, wParam, lParam);
}

void WindowObject::applyText(const std::string& text) {
    if (m_widget && !isChild())
        m_widget->setWindowTitle(fromRuntime(text));
}

std::string WindowObject::currentText() const {
    return m_text;
}

void WindowObject::applyFont(const QFont& font) {
    if (m_widget)
        m_widget->setFont(font);
}

void WindowObject::applyStyle() {}

void WindowObject::applyColours() {}

QPoint WindowObject::clientOrigin() const {
    const int edge = edgeWidth();
    return {edge, edge + menuBarHeight(m_handle)};
}

void WindowObject::deliverCharacter(QWidget* target, const QString& text,
                                    Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
}

bool WindowObject::wantsDoubleClicks() const {
    return (m_class->def.style & kCsDblClks) != 0;
}

int WindowObject::edgeWidth() const {
    if (!isChild())
        return 0;
    if (m_exStyle & kWsExClientEdge)
        return (m_style & kWsDlgFrame) ? 3 : 2;
    if (m_style & kWsDlgFrame)
        return 3;
    if ((m_exStyle & kWsExStaticEdge) || (m_style & kWsBorder))
        return 1;
    return 0;
}

WindowObject* findWindow(WindowHandle handle) {
    auto& windows = registry().windows;
    const auto it = windows.find(handle);
    return it == windows.end() || it->second->m_destroyed ? nullptr : it->second.get();
}

WindowHandle handleOf(const QWidget* widget) {
    return registry().byWidget.value(widget, 0);
}

WindowObject* windowOwning(const QObject* object) {
    for (const QObject* o = object; o; o = o->parent()) {
        if (!o->isWidgetType())
            continue;
        if (const WindowHandle h = handleOf(static_cast<const QWidget*>(o)))
            return findWindow(h);
    }
    return nullptr;
}

std::vector<WindowObject*> allWindows() {
    std::vector<WindowObject*> out;
    for (auto& [handle, window] : registry().windows)
        if (!window->m_destroyed)
            out.push_back(window.get());
    std::sort(out.begin(), out.end(), [](const WindowObject* a, const WindowObject* b) {
        return a->m_handle < b->m_handle;
    });
    return out;
}

void registerWidget(WindowObject* window) {
    registry().byWidget.insert(window->m_widget.data(), window->m_handle);
}

const ClassInfo* findClass(std::string_view name) {
    for (const auto& c : registry().classes)
        if (sameClassName(c->def.name, name))
            return c.get();
    return nullptr;
}

bool addClass(WindowClass def, Builtin builtin) {
    if (def.name.empty() || findClass(def.name))
        return false;
    auto info = std::make_unique<ClassInfo>();
    info->def = std::move(def);
    info->builtin = builtin;
    registry().classes.push_back(std::move(info));
    return true;
}

void clearClasses() {
    registry().classes.clear();
}

WindowHandle newHandle() {
    WindowHandle h = registry().nextHandle;
    registry().nextHandle += 2;
    return h;
}

void addWindow(std::unique_ptr<WindowObject> window) {
    const WindowHandle h = window->m_handle;
    registry().windows[h] = std::move(window);
}

void removeWindow(WindowHandle handle) {
    auto& r = registry();
    const auto it = r.windows.find(handle);
    if (it == r.windows.end())
        return;
    std::unique_ptr<WindowObject> window = std::move(it->second);
    r.windows.erase(it);
    if (window->m_widget) {
        r.byWidget.remove(window->m_widget.data());
        window->m_widget->hide();
        retireWidget(window->m_widget.data());
    }
}

void retireWidget(QWidget* widget) {
    registry().retired.emplace_back(widget);
}

void deleteRetiredWidgets() {
    auto& r = registry();
    // Not while a procedure runs (it may be inside one of these widgets' own handlers) nor while
    // a dialog of this layer is open (it may sit over one of them).
    if (r.procedureDepth > 0 || r.modalDepth > 0)
        return;
    std::vector<QPointer<QWidget>> retired;
    retired.swap(r.retired);
    // Children first would be deleted by their parents anyway; QPointer notices.
    for (auto it = retired.rbegin(); it != retired.rend(); ++it)
        delete it->data();
}

ProcedureCall::ProcedureCall() {
    ++registry().procedureDepth;
}

ProcedureCall::~ProcedureCall() {
    --registry().procedureDepth;
}

void notifyParent(const WindowObject& control, std::uint32_t notification) {
    if (!control.isChild() || !control.m_parent)
        return;
    sendMessage(control.m_parent, kWmCommand, makeWParam(control.m_id, notification),
                static_cast<LParam>(control.m_handle));
}

QColor toQColor(Colour colour, const QColor& systemDefault) {
    if (colour == kSystemDefaultColour)
        return systemDefault;
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

ModalDialogOpen::ModalDialogOpen() {
    ++registry().modalDepth;
}

ModalDialogOpen::~ModalDialogOpen() {
    --registry().modalDepth;
}

bool acceptsInput(const WindowObject& window) {
    if (registry().modalDepth > 0 || BusyPeriod::running())
        return false;
    const WindowObject* w = &window;
    while (w->isChild()) {
        const WindowObject* parent = findWindow(w->m_parent);
        if (!parent)
            return false;
        w = parent;
    }
    return !w->m_topLevelDisabled;
}

PaintScope* currentPaint(WindowHandle window) {
    auto& paints = registry().paints;
    for (auto it = paints.rbegin(); it != paints.rend(); ++it)
        if ((*it)->window == window)
            return *it;
    return nullptr;
}

CurrentPaint::CurrentPaint(PaintScope& scope) {
    registry().paints.push_back(&scope);
}

CurrentPaint::~CurrentPaint() {
    registry().paints.pop_back();
}

void paintWindow(WindowObject& window, QPainter& painter) {
    PaintScope scope;
    scope.window = window.m_handle;
    scope.painter = &painter;
    const QPoint origin = window.clientOrigin();
    const int edge = window.edgeWidth();
    scope.client = QRect(origin, window.m_widget->size() -
                                     QSize(2 * edge, 2 * edge + menuBarHeight(window.m_handle)));
    if (!window.m_class->def.noBackground)
        painter.fillRect(scope.client, toQColor(window.m_class->def.background,
                                                QApplication::palette().color(QPalette::Button)));
    const CurrentPaint current(scope);
    painter.save();
    painter.translate(origin);
    painter.setClipRect(QRect(QPoint(0, 0), scope.client.size()));
    sendMessage(window.m_handle, kWmPaint, 0, 0);
    painter.restore();
}

} // namespace kelvarn::platform::detail
