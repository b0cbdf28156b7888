// The RadioBox type (tag 0x0001000D): a "BUTTON" automatic radio button with multi-line text.

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Picture.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/window/ButtonControl.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/UnitEvents.h"

namespace kelvarn::ui {
namespace {

using namespace platform;

class RadioBoxUnit : public ButtonControl<RadioBoxProperties, kRadioBoxClicked> {
public:
    RadioBoxUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : ButtonControl(windowId, unitId, creationArgument) {}

    static WindowObject* build(std::unique_ptr<RadioBoxUnit> object, uint32_t style,
                               const ControlPlacement& place) {
        const RadioBoxProperties& p = object->m_p;
        style |= kBsAutoRadioButton | kBsMultiLine |
                 buttonAlignmentStyle(p.horizontalAlignment, p.verticalAlignment);
        if (p.pushButtonLook == 1)
            style |= kBsPushLike;
        if (p.flat == 1)
            style |= kBsFlat;
        if (p.captionOnLeft == 1)
            style |= kBsLeftText;
        auto* self = static_cast<RadioBoxUnit*>(
            createControl(std::move(object), "BUTTON", style, 0, p.caption, place));
        if (!self)
            return nullptr;
        setWindowColours(self->handle(), self->m_p.textColour, self->m_p.backgroundColour);
        self->applyFont(self->m_p.font, false);
        sendMessage(self->handle(), kBmSetCheck,
                    self->m_p.checked == 1 ? kBstChecked : kBstUnchecked, 0);
        if (!self->m_p.picture.empty())
            setButtonPicture(self->handle(), Picture::decode(self->m_p.picture));
        return self;
    }

protected:
    void beforeSave(RadioBoxProperties& saved) const override {
        saved.checked = isChecked() ? 1 : 0;
    }

    void applyProperty(RadioBoxProperty property) override {
        switch (property) {
        case RadioBoxProperty::PushButtonLook:
            changeStyle(kBsPushLike, m_p.pushButtonLook == 1);
            break;
        case RadioBoxProperty::Flat:
            changeStyle(kBsFlat, m_p.flat == 1);
            break;
        case RadioBoxProperty::CaptionOnLeft:
            changeStyle(kBsLeftText, m_p.captionOnLeft == 1);
            break;
        default:
            applyAlignment();
            break;
        }
    }

    int32_t writeOwn(RadioBoxProperty, const TypeValue& v) override {
        // Checked: checking by property raises no click.
        m_p.checked = v.integer() == 1 ? 1 : 0;
        sendMessage(handle(), kBmSetCheck, m_p.checked ? kBstChecked : kBstUnchecked, 0);
        if (m_p.checked)
            uncheckSiblings();
        return 0;
    }

    bool readOwn(RadioBoxProperty, TypeValue& out) override {
        out = wordValue(isChecked() ? 1 : 0);
        return true;
    }

private:
    // Radio units share one container: checking one unchecks the others.
    void uncheckSiblings() {
        for (WindowHandle sibling : childWindows(parentWindow(handle()))) {
            WindowObject* other = fromHandle(sibling);
            if (other && other != this && (typeFlagsOf(other->typeTag()) & kTypeRadio))
                sendMessage(sibling, kBmSetCheck, kBstUnchecked, 0);
        }
    }

    bool isChecked() const { return sendMessage(handle(), kBmGetCheck, 0, 0) == kBstChecked; }
};

} // namespace

void* radioBoxInterface(int32_t code) {
    return unitInterfaceEntry<RadioBoxUnit>(code);
}

} // namespace kelvarn::ui
