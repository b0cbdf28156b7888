#pragma once
// Inside the windowing layer: the object behind each window handle and the registry that maps
// handles, widgets and classes. Only files of platform/windowing include this.

#include "platform/windowing/Styles.h"
#include "platform/windowing/Types.h"
#include "platform/windowing/Window.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelvarn::platform::detail {

enum class Builtin { None, Edit, Button, ListBox, UpDown };

struct ClassInfo {
    WindowClass def;
    Builtin builtin = Builtin::None;
};

// One window. Subclasses build the widget and answer their control's messages in classProc.
class WindowObject {
public:
    WindowObject(WindowHandle handle, const ClassInfo& windowClass, const CreateParams& params);
    virtual ~WindowObject();
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    // Builds the widget under parent (nullptr for a top-level window). False fails creation.
    virtual bool build(QWidget* parent) = 0;
    // The control's own message handling; what it does not handle goes to defaultWindowProc.
    virtual LResult classProc(std::uint32_t message, WParam wParam, LParam lParam);
    // Window text as the control holds it.
    virtual void applyText(const std::string& text);
    virtual std::string currentText() const;
    virtual void applyFont(const QFont& font);
    virtual void applyStyle();
    virtual void applyColours();
    // Origin of the client area in widget coordinates.
    virtual QPoint clientOrigin() const;
    // Delivers a character (from a dispatched character message) to the control.
    virtual void deliverCharacter(QWidget* target, const QString& text,
                                  Qt::KeyboardModifiers modifiers);

    bool isChild() const { return (m_style & kWsChild) != 0; }
    bool wantsDoubleClicks() const;
    int edgeWidth() const;

    WindowHandle m_handle;
    const ClassInfo* m_class;
    std::uint32_t m_style;
    std::uint32_t m_exStyle;
    std::uint32_t m_id;
    WindowProc m_proc;
    std::uintptr_t m_userData;
    WindowHandle m_parent = 0; // parent of a child window
    WindowHandle m_owner = 0;  // owner of a top-level window
    bool m_topLevelDisabled = false;
    bool m_destroyed = false;
    FontHandle m_font = 0;
    CursorHandle m_cursor = 0;
    Colour m_textColour = kSystemDefaultColour;
    Colour m_background = kSystemDefaultColour;
    std::string m_text;
    bool m_clickFocus = false;  // takes the focus when a dispatched button press reaches it
    FrameMetrics m_usedMetrics; // the frame metrics the client geometry was last set with
    QPointer<QWidget> m_widget;
};

// Registry.
WindowObject* findWindow(WindowHandle handle);
// The window whose widget is this one or the nearest ancestor of it.
WindowObject* windowOwning(const QObject* object);
std::vector<WindowObject*> allWindows();
WindowHandle handleOf(const QWidget* widget);
void registerWidget(WindowObject* window);
const ClassInfo* findClass(std::string_view name);
WindowObject* createObject(const ClassInfo& windowClass, WindowHandle handle,
                           const CreateParams& params);
WindowHandle newHandle();
void addWindow(std::unique_ptr<WindowObject> window);
void removeWindow(WindowHandle handle);
// Widgets of destroyed windows are deleted once no procedure call is on the stack.
void retireWidget(QWidget* widget);
void deleteRetiredWidgets();

// A window procedure on the stack, for the scope's lifetime: retired widgets wait until none runs.
class ProcedureCall {
public:
    ProcedureCall();
    ~ProcedureCall();
    ProcedureCall(const ProcedureCall&) = delete;
    ProcedureCall& operator=(const ProcedureCall&) = delete;
};

// Sends kWmCommand (notification << 16 | id, handle) to the control's parent.
void notifyParent(const WindowObject& control, std::uint32_t notification);

// Colours and fonts.
QColor toQColor(Colour colour, const QColor& systemDefault);
QFont qfontFor(FontHandle font);
QFont defaultQFont();

// A modal dialog of this layer open, for the scope's lifetime: input to our windows is dropped
// and retired widgets wait meanwhile.
class ModalDialogOpen {
public:
    ModalDialogOpen();
    ~ModalDialogOpen();
    ModalDialogOpen(const ModalDialogOpen&) = delete;
    ModalDialogOpen& operator=(const ModalDialogOpen&) = delete;
};
// Whether the window and every window it lies in are enabled and shown as such, and no modal box
// or busy period holds input back.
bool acceptsInput(const WindowObject& window);

// The painting window of the current kWmPaint, for Painter.
struct PaintScope {
    WindowHandle window = 0;
    class QPainter* painter = nullptr;
    QRect client;
};
PaintScope* currentPaint(WindowHandle window);
// Makes the paint the current one of its window for the scope's lifetime (paints nest).
class CurrentPaint {
public:
    explicit CurrentPaint(PaintScope& scope);
    ~CurrentPaint();
    CurrentPaint(const CurrentPaint&) = delete;
    CurrentPaint& operator=(const CurrentPaint&) = delete;
};
// Sends kWmPaint to the window's procedure with a painter on its widget.
void paintWindow(WindowObject& window, class QPainter& painter);

} // namespace kelvarn::platform::detail
