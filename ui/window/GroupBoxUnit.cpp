// The GroupBox type (tag 0x00010009): a "BUTTON" group box that holds other units.

#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "ui/template/GroupBoxProperties.h"
#include "ui/window/ButtonControl.h"
#include "ui/window/CommonEntries.h"

namespace kelvarn::ui {
namespace {

using namespace platform;

constexpr uint32_t kAlignmentStyles = kBsLeft | kBsRight | kBsCenter;

uint32_t alignmentStyle(int32_t alignment) {
    switch (clampChoice(alignment, 2)) {
    case 1:
        return kBsCenter;
    case 2:
        return kBsRight;
    default:
        return kBsLeft;
    }
}

class GroupBoxUnit : public ButtonControl<GroupBoxProperties, kNoClickEvent> {
public:
    GroupBoxUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : ButtonControl(windowId, unitId, creationArgument) {}

    static WindowObject* build(std::unique_ptr<GroupBoxUnit> object, uint32_t style,
                               const ControlPlacement& place) {
        const GroupBoxProperties& p = object->m_p;
        style |= kBsGroupBox | alignmentStyle(p.captionAlignment);
        auto* self = static_cast<GroupBoxUnit*>(
            createControl(std::move(object), "BUTTON", style, 0, p.caption, place));
        if (!self)
            return nullptr;
        setWindowColours(self->handle(), self->m_p.textColour, self->m_p.backgroundColour);
        self->applyFont(self->m_p.font, false);
        return self;
    }

protected:
    // The caption alignment.
    void applyProperty(GroupBoxProperty) override {
        setWindowStyle(handle(), (windowStyle(handle()) & ~kAlignmentStyles) |
                                     alignmentStyle(m_p.captionAlignment));
    }
};

} // namespace

void* groupBoxInterface(int32_t code) {
    return unitInterfaceEntry<GroupBoxUnit>(code);
}

} // namespace kelvarn::ui
