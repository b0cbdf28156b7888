// The Button type (tag 0x0001000B): a "BUTTON" push button with multi-line text.

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Picture.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "ui/template/ButtonProperties.h"
#include "ui/window/ButtonControl.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/UnitEvents.h"

namespace kelvarn::ui {
namespace {

using namespace platform;

class ButtonUnit : public ButtonControl<ButtonProperties, kButtonClicked> {
public:
    ButtonUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : ButtonControl(windowId, unitId, creationArgument) {}

    static WindowObject* build(std::unique_ptr<ButtonUnit> object, uint32_t style,
                               const ControlPlacement& place) {
        const ButtonProperties& p = object->m_p;
        style |= (p.defaultButton == 1 ? kBsDefPushButton : kBsPushButton) | kBsMultiLine |
                 buttonAlignmentStyle(p.horizontalAlignment, p.verticalAlignment);
        std::string caption = p.caption;
        auto* self = static_cast<ButtonUnit*>(
            createControl(std::move(object), "BUTTON", style, 0, caption, place));
        if (!self)
            return nullptr;
        self->applyFont(self->m_p.font, false);
        if (!self->m_p.picture.empty())
            setButtonPicture(self->handle(), Picture::decode(self->m_p.picture));
        return self;
    }

    bool isDefaultButton() const {
        return (windowStyle(handle()) & kBsTypeMask) == kBsDefPushButton;
    }

protected:
    int32_t writeOwn(ButtonProperty property, const TypeValue& v) override {
        if (property == ButtonProperty::DefaultButton) {
            // Any value above 1 counts as 1, anything below as 0.
            m_p.defaultButton = v.integer() >= 1 ? 1 : 0;
            uint32_t style = windowStyle(handle()) & ~kBsTypeMask;
            style |= m_p.defaultButton ? kBsDefPushButton : kBsPushButton;
            sendMessage(handle(), kBmSetStyle, style, 1);
        }
        return 0;
    }

    void applyProperty(ButtonProperty) override { applyAlignment(); }
};

int32_t isDefaultButtonEntry(WindowObject* object) {
    auto* button = dynamic_cast<ButtonUnit*>(object);
    return button && button->isDefaultButton() ? 1 : 0;
}

} // namespace

void* buttonInterface(int32_t code) {
    if (code == kInterfaceIsDefaultButton)
        return reinterpret_cast<void*>(&isDefaultButtonEntry);
    return unitInterfaceEntry<ButtonUnit>(code);
}

} // namespace kelvarn::ui
