#include "ui/window/ControlSupport.h"

#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"

namespace kelvarn::ui {

using namespace platform;

class ControlFactory : public WindowObject {
public:
    static WindowObject* take(std::unique_ptr<WindowObject> object, WindowHandle handle) {
        return adopt(std::move(object), handle);
    }
};

bool ensureSelfPaintedClass(const std::string& name) {
    if (isClassRegistered(name))
        return true;
    WindowClass c;
    c.name = name;
    c.style = kCsHRedraw | kCsVRedraw | kCsDblClks;
    c.noBackground = true;
    return registerClass(c);
}

WindowObject* createControl(std::unique_ptr<WindowObject> object, const char* className,
                            uint32_t style, uint32_t exStyle, const std::string& text,
                            const ControlPlacement& place) {
    CreateParams params;
    params.className = className;
    params.title = text;
    params.style = style | kWsChild | kWsClipSiblings;
    params.exStyle = exStyle;
    params.x = place.left;
    params.y = place.top;
    params.width = place.width;
    params.height = place.height;
    params.parent = place.parent;
    params.id = place.controlId;
    WindowHandle handle = createWindow(params);
    if (handle == 0)
        return nullptr;
    WindowObject* adopted = ControlFactory::take(std::move(object), handle);
    if (!adopted)
        destroyWindow(handle);
    return adopted;
}

void borderStyleBits(int32_t borderStyle, uint32_t& style, uint32_t& exStyle) {
    switch (clampChoice(borderStyle, 5)) {
    case 1:
        exStyle |= kWsExClientEdge;
        break;
    case 2:
        style |= kWsDlgFrame;
        break;
    case 3:
        exStyle |= kWsExStaticEdge;
        break;
    case 4:
        exStyle |= kWsExClientEdge;
        style |= kWsDlgFrame;
        break;
    case 5:
        style |= kWsBorder;
        break;
    default:
        break;
    }
}

void applyBorderStyle(WindowHandle window, int32_t borderStyle) {
    uint32_t style = windowStyle(window) & ~(kWsDlgFrame | kWsBorder);
    uint32_t exStyle = windowExStyle(window) & ~(kWsExClientEdge | kWsExStaticEdge);
    borderStyleBits(borderStyle, style, exStyle);
    if (style != windowStyle(window))
        setWindowStyle(window, style);
    if (exStyle != windowExStyle(window))
        setWindowExStyle(window, exStyle);
}

std::vector<uint8_t> blockBytes(const TypeValue& value) {
    if (!value.data() || value.length == 0)
        return {};
    return std::vector<uint8_t>(value.data(), value.data() + value.length);
}

std::string textOf(const TypeValue& value) {
    return value.text() ? std::string(value.text()) : std::string();
}

} // namespace kelvarn::ui
