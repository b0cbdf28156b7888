// The RadioBox type (tag 0x0001000D): a "BUTTON" automatic radio button with multi-line text.

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/window/ButtonStyles.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/ControlSupport.h"
#include "ui/window/UnitTypes.h"

namespace kelvarn::ui {
namespace {

using namespace platform;

constexpr int32_t kEventClicked = 0;

class RadioBoxUnit : public WindowObject {
public:
    RadioBoxUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : WindowObject(runtime::kTagRadioBox, windowId, unitId, creationArgument) {}

    static WindowObject* create(const uint8_t* block, uint32_t blockLength, uint32_t style,
                                WindowHandle parent, uint32_t controlId, uintptr_t, int32_t left,
                                int32_t top, int32_t width, int32_t height, uint32_t windowId,
                                uint32_t unitId, uint32_t, uintptr_t creationArgument) {
        auto object = std::make_unique<RadioBoxUnit>(windowId, unitId, creationArgument);
        RadioBoxProperties& p = object->m_p;
        if (p.read(std::span<const uint8_t>(block, block ? blockLength : 0)) != BlockStatus::Ok)
            return nullptr;
        style |= kBsAutoRadioButton | kBsMultiLine |
                 buttonAlignmentStyle(p.horizontalAlignment, p.verticalAlignment);
        if (p.pushButtonLook == 1)
            style |= kBsPushLike;
        if (p.flat == 1)
            style |= kBsFlat;
        if (p.captionOnLeft == 1)
            style |= kBsLeftText;
        auto* self = static_cast<RadioBoxUnit*>(
            createControl(std::move(object), "BUTTON", style, 0, p.caption,
                          {parent, controlId, left, top, width, height}));
        if (!self)
            return nullptr;
        setWindowColours(self->handle(), self->m_p.textColour, self->m_p.backgroundColour);
        self->applyFont(self->m_p.font, false);
        sendMessage(self->handle(), kBmSetCheck,
                    self->m_p.checked == 1 ? kBstChecked : kBstUnchecked, 0);
        return self;
    }

    std::vector<uint8_t> savePropertyBlock() const override {
        RadioBoxProperties p = m_p;
        p.caption = windowText(handle());
        p.checked = isChecked() ? 1 : 0;
        return p.write();
    }

    int32_t setProperty(int32_t index, const TypeValue& v) override {
        switch (index) {
        case 0:
            m_p.picture = blockBytes(v);
            return 1;
        case 1:
            m_p.pushButtonLook = v.integer();
            changeStyle(kBsPushLike, m_p.pushButtonLook == 1);
            return 0;
        case 2:
            m_p.flat = v.integer();
            changeStyle(kBsFlat, m_p.flat == 1);
            return 0;
        case 3:
            m_p.caption = textOf(v);
            setWindowText(handle(), m_p.caption);
            return 0;
        case 4:
            m_p.captionOnLeft = v.integer();
            changeStyle(kBsLeftText, m_p.captionOnLeft == 1);
            return 0;
        case 5:
            m_p.horizontalAlignment = clampChoice(v.integer(), 2);
            applyAlignment();
            return 0;
        case 6:
            m_p.verticalAlignment = clampChoice(v.integer(), 2);
            applyAlignment();
            return 0;
        case 7:
            m_p.textColour = static_cast<uint32_t>(v.word);
            setWindowColours(handle(), m_p.textColour, m_p.backgroundColour);
            invalidateWindow(handle());
            return 0;
        case 8:
            m_p.backgroundColour = static_cast<uint32_t>(v.word);
            setWindowColours(handle(), m_p.textColour, m_p.backgroundColour);
            return 0;
        case 9:
            m_p.font = FontBlock::fromStored(blockBytes(v));
            applyFont(m_p.font);
            return 0;
        case 10:
            // Checking by property raises no click.
            m_p.checked = v.integer() == 1 ? 1 : 0;
            sendMessage(handle(), kBmSetCheck, m_p.checked ? kBstChecked : kBstUnchecked, 0);
            if (m_p.checked)
                uncheckSiblings();
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
            return word(m_p.pushButtonLook);
        case 2:
            return word(m_p.flat);
        case 3:
            out = keepText(windowText(handle()));
            return true;
        case 4:
            return word(m_p.captionOnLeft);
        case 5:
            return word(m_p.horizontalAlignment);
        case 6:
            return word(m_p.verticalAlignment);
        case 7:
            return word(m_p.textColour);
        case 8:
            return word(m_p.backgroundColour);
        case 9:
            out = keepBytes(std::vector<uint8_t>(m_p.font.bytes().begin(), m_p.font.bytes().end()));
            return true;
        case 10:
            return word(isChecked() ? 1 : 0);
        default:
            return false;
        }
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
    // Radio units share one container: checking one unchecks the others.
    void uncheckSiblings() {
        for (WindowHandle sibling : childWindows(parentWindow(handle()))) {
            WindowObject* other = fromHandle(sibling);
            if (other && other != this && (typeFlagsOf(other->typeTag()) & kTypeRadio))
                sendMessage(sibling, kBmSetCheck, kBstUnchecked, 0);
        }
    }

    bool isChecked() const { return sendMessage(handle(), kBmGetCheck, 0, 0) == kBstChecked; }

    void applyAlignment() {
        uint32_t style = windowStyle(handle()) & ~kButtonAlignmentStyles;
        setWindowStyle(
            handle(), style | buttonAlignmentStyle(m_p.horizontalAlignment, m_p.verticalAlignment));
    }

    RadioBoxProperties m_p;
};

void* enumerateTexts(const uint8_t* block, uint32_t* length, TextCallback callback,
                     uintptr_t user) {
    return enumerateBlockTexts<RadioBoxProperties>(
        block, length, callback, user, [](RadioBoxProperties& p, auto& text, auto& font) {
            font(p.font);
            text(p.caption);
        });
}

} // namespace

void* radioBoxInterface(int32_t code) {
    return commonInterfaceEntry(code, &RadioBoxUnit::create, &enumerateTexts);
}

} // namespace kelvarn::ui
