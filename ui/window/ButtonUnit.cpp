// The Button type (tag 0x0001000B): a "BUTTON" push button with multi-line text.

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/ButtonProperties.h"
#include "ui/window/ButtonStyles.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/ControlSupport.h"
#include "ui/window/UnitTypes.h"

namespace kelvarn::ui {
namespace {

using namespace platform;

constexpr int32_t kEventClicked = 0;

class ButtonUnit : public WindowObject {
public:
    ButtonUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : WindowObject(runtime::kTagButton, windowId, unitId, creationArgument) {}

    static WindowObject* create(const uint8_t* block, uint32_t blockLength, uint32_t style,
                                WindowHandle parent, uint32_t controlId, uintptr_t, int32_t left,
                                int32_t top, int32_t width, int32_t height, uint32_t windowId,
                                uint32_t unitId, uint32_t, uintptr_t creationArgument) {
        auto object = std::make_unique<ButtonUnit>(windowId, unitId, creationArgument);
        ButtonProperties& p = object->m_p;
        if (p.read(std::span<const uint8_t>(block, block ? blockLength : 0)) != BlockStatus::Ok)
            return nullptr;
        // Pictures are kept and saved; this platform's buttons show their caption only.
        style |= (p.defaultButton == 1 ? kBsDefPushButton : kBsPushButton) | kBsMultiLine |
                 buttonAlignmentStyle(p.horizontalAlignment, p.verticalAlignment);
        auto* self =
            static_cast<ButtonUnit*>(createControl(std::move(object), "BUTTON", style, 0, p.caption,
                                                   {parent, controlId, left, top, width, height}));
        if (!self)
            return nullptr;
        self->applyFont(self->m_p.font, false);
        return self;
    }

    std::vector<uint8_t> savePropertyBlock() const override {
        ButtonProperties p = m_p;
        p.caption = windowText(handle());
        return p.write();
    }

    int32_t setProperty(int32_t index, const TypeValue& v) override {
        switch (index) {
        case 0:
            m_p.picture = blockBytes(v);
            return 1;
        case 1: {
            // Any value above 1 counts as 1, anything below as 0.
            m_p.defaultButton = v.integer() >= 1 ? 1 : 0;
            uint32_t style = windowStyle(handle()) & ~kBsTypeMask;
            style |= m_p.defaultButton ? kBsDefPushButton : kBsPushButton;
            sendMessage(handle(), kBmSetStyle, style, 1);
            return 0;
        }
        case 2:
            m_p.caption = textOf(v);
            setWindowText(handle(), m_p.caption);
            return 0;
        case 3:
            m_p.horizontalAlignment = clampChoice(v.integer(), 2);
            applyAlignment();
            return 0;
        case 4:
            m_p.verticalAlignment = clampChoice(v.integer(), 2);
            applyAlignment();
            return 0;
        case 5:
            m_p.font = FontBlock::fromStored(blockBytes(v));
            applyFont(m_p.font);
            return 0;
        default:
            return 0;
        }
    }

    bool getProperty(int32_t index, TypeValue& out) override {
        auto word = [&out](int64_t v) {
            out = {static_cast<uintptr_t>(static_cast<uint32_t>(v)), 0};
            return true;
        };
        switch (index) {
        case 0:
            out = keepBytes(m_p.picture);
            return true;
        case 1:
            return word(m_p.defaultButton);
        case 2:
            out = keepText(windowText(handle()));
            return true;
        case 3:
            return word(m_p.horizontalAlignment);
        case 4:
            return word(m_p.verticalAlignment);
        case 5:
            out = keepBytes(std::vector<uint8_t>(m_p.font.bytes().begin(), m_p.font.bytes().end()));
            return true;
        default:
            return false;
        }
    }

    bool isDefaultButton() const {
        return (windowStyle(handle()) & kBsTypeMask) == kBsDefPushButton;
    }

protected:
    void onCommand(uint32_t notification) override {
        if (notification == kBnClicked)
            raiseEvent(kEventClicked);
    }

    LResult handleMessage(uint32_t message, WParam wParam, LParam lParam) override {
        if (message == kWmSetFocus || message == kWmKillFocus) {
            LResult result = callPrevious(message, wParam, lParam);
            raiseEvent(message == kWmSetFocus ? kEventGotFocus : kEventLostFocus);
            return result;
        }
        return WindowObject::handleMessage(message, wParam, lParam);
    }

private:
    void applyAlignment() {
        uint32_t style = windowStyle(handle()) & ~kButtonAlignmentStyles;
        setWindowStyle(
            handle(), style | buttonAlignmentStyle(m_p.horizontalAlignment, m_p.verticalAlignment));
    }

    ButtonProperties m_p;
};

int32_t isDefaultButtonEntry(WindowObject* object) {
    auto* button = dynamic_cast<ButtonUnit*>(object);
    return button && button->isDefaultButton() ? 1 : 0;
}

void* enumerateTexts(const uint8_t* block, uint32_t* length, TextCallback callback,
                     uintptr_t user) {
    return enumerateBlockTexts<ButtonProperties>(block, length, callback, user,
                                                 [](ButtonProperties& p, auto& text, auto& font) {
                                                     font(p.font);
                                                     text(p.caption);
                                                 });
}

} // namespace

void* buttonInterface(int32_t code) {
    if (code == kInterfaceIsDefaultButton)
        return reinterpret_cast<void*>(&isDefaultButtonEntry);
    return commonInterfaceEntry(code, &ButtonUnit::create, &enumerateTexts);
}

} // namespace kelvarn::ui
