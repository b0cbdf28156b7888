#include "ui/window/FormWindow.h"

#include "platform/windowing/Desktop.h"
#include "platform/windowing/Menu.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Painter.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/ControlSupport.h"
#include "ui/window/GlobalBlock.h"
#include "ui/window/LoadWindow.h"
#include "ui/window/WindowMenu.h"
#include "ui/window/WindowRuntime.h"

#include <algorithm>

namespace kelvarn::ui {
namespace {

using namespace platform;

constexpr const char kDefaultClassName[] = "RkWindow";
constexpr uint32_t kFrameStyles =
    kWsCaption | kWsSysMenu | kWsThickFrame | kWsDlgFrame | kWsMinimizeBox | kWsMaximizeBox;
constexpr uint32_t kFrameExStyles = kWsExToolWindow | kWsExClientEdge;

CommonEventRaiser g_commonEventRaiser = nullptr;

// The frame styles the window's properties ask for.
void frameStyles(const WindowProperties& p, uint32_t& style, uint32_t& exStyle) {
    style = 0;
    exStyle = 0;
    const auto border = static_cast<BorderStyle>(
        clampChoice(p.borderStyle, static_cast<int32_t>(BorderStyle::FixedSunken)));
    if (border != BorderStyle::None) {
        if (!p.title.empty() || p.controlBox) {
            style |= kWsCaption;
            if (p.controlBox)
                style |= kWsSysMenu;
        }
        style |= kWsDlgFrame;
        using enum BorderStyle;
        if (border == Resizable || border == ResizableToolWindow || border == ResizableSunken)
            style |= kWsThickFrame;
        if (border == ResizableToolWindow || border == FixedToolWindow)
            exStyle |= kWsExToolWindow;
        if (border == ResizableSunken || border == FixedSunken)
            exStyle |= kWsExClientEdge;
    }
    if (p.maximizeButton)
        style |= kWsMaximizeBox;
    if (p.minimizeButton)
        style |= kWsMinimizeBox;
}

} // namespace

std::optional<Region> windowShapeRegion(int32_t shape, int width, int height) {
    Rect all{0, 0, width, height};
    switch (static_cast<WindowShape>(shape)) {
    case WindowShape::Ellipse:
        return Region::ellipse(all);
    case WindowShape::RoundedRectangle: {
        int corner = std::min(width / 5, height / 5);
        return Region::roundRect(all, corner, corner);
    }
    case WindowShape::Ring: {
        Region ring = Region::ellipse(all);
        Rect inner{width / 4, height / 4, width - width / 4, height - height / 4};
        ring.subtract(Region::ellipse(inner));
        return ring;
    }
    default: {
        std::vector<uint16_t> outline = windowShapeOutline(shape);
        if (outline.empty())
            return std::nullopt;
        std::vector<Point> points;
        for (size_t i = 0; i + 1 < outline.size() && outline[i] != 0xFFFF; i += 2)
            points.push_back({static_cast<int>(int64_t{outline[i]} * width / 32767),
                              static_cast<int>(int64_t{outline[i + 1]} * height / 32767)});
        return Region::polygon(std::move(points));
    }
    }
}

void setCommonEventRaiser(CommonEventRaiser raiser) {
    g_commonEventRaiser = raiser;
}

FormWindow::FormWindow(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
    : UnitType(windowId, unitId, creationArgument) {}

FormWindow::~FormWindow() = default;

WindowObject* FormWindow::create(const uint8_t* block, uint32_t blockLength, uint32_t style,
                                 WindowHandle owner, uintptr_t /*menu*/, int32_t left, int32_t top,
                                 int32_t width, int32_t height, uint32_t windowId, uint32_t unitId,
                                 bool modal, uintptr_t creationArgument) {
    auto object = std::make_unique<FormWindow>(windowId, unitId, creationArgument);
    if (!object->readBlock(block, blockLength))
        return nullptr;
    const WindowProperties& p = object->m_p;

    uint32_t frame = 0;
    uint32_t exStyle = 0;
    frameStyles(p, frame, exStyle);
    style |= kWsClipChildren | frame;

    int x = left;
    int y = top;
    const auto start = static_cast<StartPosition>(p.startPosition);
    if (start == StartPosition::Centred) {
        Size screen = screenSize();
        x = (screen.width - width) / 2;
        y = (screen.height - height) / 2;
    } else if (start == StartPosition::Minimised) {
        style |= kWsMinimize;
    } else if (start == StartPosition::Maximised && (style & kWsThickFrame)) {
        style |= kWsMaximize;
    }

    if ((modal || !p.shownInTaskbar) && owner == 0)
        owner = hiddenOwnerWindow();
    if (owner != 0)
        style |= kWsPopup;
    if (p.alwaysOnTop)
        exStyle |= kWsExTopmost;

    std::string className = p.windowClassName.empty() ? kDefaultClassName : p.windowClassName;
    if (!ensureSelfPaintedClass(className))
        return nullptr;
    CreateParams params;
    params.exStyle = exStyle;
    params.className = className;
    params.title = p.title;
    params.style = style;
    params.x = x;
    params.y = y;
    params.width = width;
    params.height = height;
    params.parent = owner;
    WindowHandle handle = createWindow(params);
    if (handle == 0)
        return nullptr;
    auto* self = static_cast<FormWindow*>(adopt(std::move(object), handle));
    if (!self) {
        destroyWindow(handle);
        return nullptr;
    }
    Rect outer = windowRect(handle);
    if (outer.width() != width || outer.height() != height)
        moveWindow(handle, x, y, width, height);
    self->m_hasIcon = setWindowIconFromFile(handle, self->m_p.icon);
    self->applyShape();
    self->applyFont(FontBlock{}, false);
    setWindowMovable(handle, self->m_p.movable != 0);
    self->startSound();
    return self;
}

WindowRecord* FormWindow::record() const {
    return windowTable().find(windowId());
}

void FormWindow::applyFrameStyles() {
    uint32_t frame = 0;
    uint32_t exFrame = 0;
    frameStyles(m_p, frame, exFrame);
    setWindowStyle(handle(), (windowStyle(handle()) & ~kFrameStyles) | frame);
    setWindowExStyle(handle(), (windowExStyle(handle()) & ~kFrameExStyles) | exFrame);
}

void FormWindow::applyStartPosition(int32_t position) {
    if (!isWindowVisible(handle()))
        return;
    switch (static_cast<StartPosition>(position)) {
    case StartPosition::AsPlaced:
        showWindow(handle(), kSwShowNormal);
        break;
    case StartPosition::Centred: {
        if (isIconic(handle()) || isZoomed(handle()))
            showWindow(handle(), kSwRestore);
        Rect r = windowRect(handle());
        Size screen = screenSize();
        moveWindow(handle(), (screen.width - r.width()) / 2, (screen.height - r.height()) / 2,
                   r.width(), r.height());
        break;
    }
    case StartPosition::Minimised:
        showWindow(handle(), kSwShowMinimized);
        break;
    default:
        showWindow(handle(), kSwShowMaximized);
        break;
    }
}

void FormWindow::applyTopmost() {
    changeExStyle(kWsExTopmost, m_p.alwaysOnTop != 0);
    if (m_p.alwaysOnTop)
        return;
    // The program's other always-on-top windows that stay out of the taskbar keep their place.
    WindowTable& table = windowTable();
    for (size_t i = 0; i < table.size(); ++i) {
        auto* other = dynamic_cast<FormWindow*>(loadedWindowObject(table.at(i)));
        if (other && other != this && other->m_p.alwaysOnTop && !other->m_p.shownInTaskbar)
            setWindowExStyle(other->handle(), windowExStyle(other->handle()) | kWsExTopmost);
    }
}

void FormWindow::applyShape() {
    Rect r = windowRect(handle());
    std::optional<Region> region = windowShapeRegion(m_p.windowShape, r.width(), r.height());
    setWindowRegion(handle(), region ? &*region : nullptr);
}

void FormWindow::startSound() {
    m_sound.play(m_p.backgroundSound, platform::soundPlayModeOf(m_p.soundPlayMode));
}

void FormWindow::applyProperty(WindowProperty property) {
    switch (property) {
    case WindowProperty::BackgroundSound:
    case WindowProperty::SoundPlayMode:
        startSound(); // the sound stops first
        break;
    case WindowProperty::Title:
        setWindowText(handle(), m_p.title);
        applyFrameStyles();
        break;
    case WindowProperty::PictureMode:
        if (!m_p.backgroundPicture.empty())
            invalidateWindow(handle());
        break;
    case WindowProperty::StartPosition:
        applyStartPosition(m_p.startPosition);
        break;
    case WindowProperty::Icon:
        m_hasIcon = setWindowIconFromFile(handle(), m_p.icon);
        break;
    case WindowProperty::WindowShape:
        applyShape();
        break;
    case WindowProperty::AlwaysOnTop:
        applyTopmost();
        break;
    case WindowProperty::Movable:
        setWindowMovable(handle(), m_p.movable != 0);
        break;
    default: // border style, control box, maximize and minimize buttons
        applyFrameStyles();
        break;
    }
}

// The start position reads as the window's live state.
bool FormWindow::readOwn(WindowProperty, TypeValue& out) {
    const StartPosition state = isIconic(handle())   ? StartPosition::Minimised
                                : isZoomed(handle()) ? StartPosition::Maximised
                                                     : StartPosition::AsPlaced;
    out = wordValue(static_cast<int32_t>(state));
    return true;
}

void FormWindow::showAsLoaded() {
    const WindowHandle shown = handle();
    const uint32_t id = windowId();
    switch (static_cast<StartPosition>(m_p.startPosition)) {
    case StartPosition::Minimised:
        showWindow(shown, kSwShowMinimized);
        break;
    case StartPosition::Maximised:
        showWindow(shown, kSwRestore);
        showWindow(shown, kSwShowMaximized);
        break;
    default:
        showWindow(shown, kSwShow);
        break;
    }
    // Showing raises events, and their procedures may unload the window (this object with it).
    if (!isWindow(shown))
        return;
    WindowHandle focus = focusWindow();
    if (focus == shown) {
        raiseEvent(kEventGotFocus);
    } else if (WindowRecord* r = windowTable().find(id)) {
        int32_t index = FindUnitIndexByHandle(*r, focus, true);
        if (index > 0)
            if (WindowObject* unit = loadedUnitObject(*r, static_cast<uint32_t>(index)))
                unit->raiseEvent(kEventGotFocus);
    }
}

void FormWindow::paintBackground() {
    Painter painter(handle());
    if (!painter.isValid())
        return;
    painter.fillRect(painter.clientRect(), m_p.backgroundColour);
    if (const Picture* picture = m_background.get(m_p.backgroundPicture))
        painter.drawPicture(*picture, painter.clientRect(),
                            static_cast<PictureMode>(clampChoice(m_p.pictureMode, 3)));
}

void FormWindow::close() {
    if (raiseEvent(kWindowEventCloseRequested).cancelled())
        return;
    if (!isAlive() || raiseEvent(kWindowEventClose).cancelled())
        return;
    if (isAlive())
        destroyWindow(handle());
}

void FormWindow::onDestroy() {
    m_sound.stop();
    raiseEvent(kWindowEventDestroyed);
    if (modalLoopWindow() == handle()) {
        // Windows this modal window disabled get their previous state back.
        for (auto [window, wasEnabled] : m_disabledWindows)
            if (isWindow(window))
                enableWindow(window, wasEnabled);
        m_disabledWindows.clear();
    }
}

LResult FormWindow::handleMessage(uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case kWmPaint:
        paintBackground();
        return 0;
    case kWmEraseBkgnd:
        return 1;
    case kWmClose:
        close();
        return 0;
    case kWmCommand:
        // A menu choice runs the item's procedure; control notifications go on to the controls.
        if (WindowRecord* r = record())
            if (auto item = menuItemOfCommand(r->units, wParam, lParam)) {
                raiseSimpleEvent(windowId(), r->units.idAt(*item), 0);
                return 0;
            }
        return WindowObject::handleMessage(message, wParam, lParam);
    case kWmMove:
        callPrevious(message, wParam, lParam);
        raiseEvent(kWindowEventMoved);
        return 0;
    case kWmSize:
        callPrevious(message, wParam, lParam);
        if (static_cast<WindowShape>(m_p.windowShape) != WindowShape::None)
            applyShape();
        raiseEvent(kWindowEventResized);
        return 0;
    case kWmActivate:
        callPrevious(message, wParam, lParam);
        if (wParam != 0) {
            if (!isWindowEnabled(handle()) && modalLoopWindow() && modalLoopWindow() != handle() &&
                isWindow(modalLoopWindow())) {
                setActiveWindow(modalLoopWindow());
                return 0;
            }
            if (!m_firstActivationDone) {
                m_firstActivationDone = true;
                raiseEvent(kWindowEventFirstActivation);
            }
            if (isAlive())
                raiseEvent(kWindowEventActivated);
            WindowHandle focus = focusWindow();
            if (isAlive() && (focus == 0 || focus == handle()))
                restoreFocus();
        } else {
            WindowHandle focus = focusWindow();
            if (focus != 0 && focus != handle())
                m_lastFocus = focus;
            raiseEvent(kWindowEventDeactivated);
        }
        return 0;
    case kWmSetFocus:
        callPrevious(message, wParam, lParam);
        restoreFocus();
        // The window raises -7 and -8 only when it keeps the focus itself.
        if (isAlive() && focusWindow() == handle()) {
            m_ownFocus = true;
            raiseEvent(kEventGotFocus);
        }
        return 0;
    case kWmKillFocus:
        callPrevious(message, wParam, lParam);
        if (m_ownFocus) {
            m_ownFocus = false;
            raiseEvent(kEventLostFocus);
        }
        return 0;
    case kWmShowWindow:
        callPrevious(message, wParam, lParam);
        raiseEvent(wParam ? kWindowEventShown : kWindowEventHidden);
        return 0;
    default:
        return WindowObject::handleMessage(message, wParam, lParam);
    }
}

bool FormWindow::handleBeforeDispatch(Message& message) {
    WindowHandle target = message.window;
    // Only what is aimed at this window or something inside it.
    WindowHandle w = target;
    while (w != 0 && w != handle())
        w = parentWindow(w);
    if (w == 0)
        return false;

    bool keyboard = message.message >= kWmKeyDown && message.message <= kWmSysChar;
    if (keyboard && !isWindowEnabled(target))
        return false;
    // The menu's shortcuts come before everything else the window does with a key.
    if (translateAccelerator(message))
        return true;
    if ((message.message == kWmKeyDown || message.message == kWmSysKeyDown) && handleKey(message))
        return true;
    if (m_p.dragByAnyPoint && handleDrag(message))
        return true;
    // The hook point of the common events (-1 to -6, -9 to -12).
    if (g_commonEventRaiser)
        return g_commonEventRaiser(*this, message);
    return false;
}

} // namespace kelvarn::ui

namespace kelvarn::ui {
namespace {

WindowObject* createEntry(const uint8_t* block, uint32_t blockLength, uint32_t style,
                          platform::WindowHandle parent, uint32_t, uintptr_t menu, int32_t left,
                          int32_t top, int32_t width, int32_t height, uint32_t windowId,
                          uint32_t unitId, uint32_t creationFlags, uintptr_t creationArgument) {
    return FormWindow::create(block, blockLength, style, parent, menu, left, top, width, height,
                              windowId, unitId, (creationFlags & kCreateModal) != 0,
                              creationArgument);
}

void* iconEntry(const uint8_t* block, uint32_t blockLength) {
    WindowProperties p;
    if (p.read(std::span<const uint8_t>(block, block ? blockLength : 0)) != BlockStatus::Ok)
        return nullptr;
    return globalBlockFrom(p.icon);
}

} // namespace

void* windowInterface(int32_t code) {
    if (code == kInterfaceIcon)
        return reinterpret_cast<void*>(&iconEntry);
    return commonInterfaceEntry(code, &createEntry, &enumerateTextsEntry<WindowProperties>);
}

} // namespace kelvarn::ui
