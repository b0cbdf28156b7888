#pragma once
// What the types built on the platform's "BUTTON" control share (Button, RadioBox, GroupBox):
// they raise -7 and -8 from their own focus messages, a click from the clicked notification
// when `kClickEvent` is set, and push and radio buttons place their caption by two alignments.

#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "ui/window/ButtonStyles.h"
#include "ui/window/UnitType.h"

#include <cstdint>

namespace kelvarn::ui {

// No click event: the group box.
constexpr int32_t kNoClickEvent = -0x7FFF;

template <typename Properties, int32_t kClickEvent>
class ButtonControl : public UnitType<Properties> {
public:
    using UnitType<Properties>::UnitType;

protected:
    void onCommand(uint32_t notification) override {
        if (kClickEvent != kNoClickEvent && notification == platform::kBnClicked)
            this->raiseEvent(kClickEvent);
    }

    platform::LResult handleMessage(uint32_t message, platform::WParam wParam,
                                    platform::LParam lParam) override {
        if (this->isFocusMessage(message))
            return this->handleFocusMessage(message, wParam, lParam);
        return WindowObject::handleMessage(message, wParam, lParam);
    }

    void applyAlignment() {
        const Properties& p = this->m_p;
        uint32_t style = platform::windowStyle(this->handle()) & ~kButtonAlignmentStyles;
        platform::setWindowStyle(this->handle(), style | buttonAlignmentStyle(p.horizontalAlignment,
                                                                              p.verticalAlignment));
    }
};

} // namespace kelvarn::ui
