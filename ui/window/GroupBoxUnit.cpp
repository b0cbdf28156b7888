// The GroupBox type (tag 0x00010009): a "BUTTON" group box that holds other units.

#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/GroupBoxProperties.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/ControlSupport.h"
#include "ui/window/UnitTypes.h"

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

class GroupBoxUnit : public WindowObject {
public:
    GroupBoxUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : WindowObject(runtime::kTagGroupBox, windowId, unitId, creationArgument) {}

    static WindowObject* create(const uint8_t* block, uint32_t blockLength, uint32_t style,
                                WindowHandle parent, uint32_t controlId, uintptr_t, int32_t left,
                                int32_t top, int32_t width, int32_t height, uint32_t windowId,
                                uint32_t unitId, uint32_t, uintptr_t creationArgument) {
        auto object = std::make_unique<GroupBoxUnit>(windowId, unitId, creationArgument);
        GroupBoxProperties& p = object->m_p;
        if (p.read(std::span<const uint8_t>(block, block ? blockLength : 0)) != BlockStatus::Ok)
            return nullptr;
        style |= kBsGroupBox | alignmentStyle(p.captionAlignment);
        auto* self = static_cast<GroupBoxUnit*>(
            createControl(std::move(object), "BUTTON", style, 0, p.caption,
                          {parent, controlId, left, top, width, height}));
        if (!self)
            return nullptr;
        setWindowColours(self->handle(), self->m_p.textColour, self->m_p.backgroundColour);
        self->applyFont(self->m_p.font, false);
        return self;
    }

    std::vector<uint8_t> savePropertyBlock() const override {
        GroupBoxProperties p = m_p;
        p.caption = windowText(handle());
        return p.write();
    }

    int32_t setProperty(int32_t index, const TypeValue& v) override {
        switch (index) {
        case 0:
            m_p.caption = textOf(v);
            setWindowText(handle(), m_p.caption);
            break;
        case 1:
            m_p.captionAlignment = clampChoice(v.integer(), 2);
            setWindowStyle(handle(), (windowStyle(handle()) & ~kAlignmentStyles) |
                                         alignmentStyle(m_p.captionAlignment));
            break;
        case 2:
            m_p.textColour = static_cast<uint32_t>(v.word);
            setWindowColours(handle(), m_p.textColour, m_p.backgroundColour);
            invalidateWindow(handle());
            break;
        case 3:
            m_p.backgroundColour = static_cast<uint32_t>(v.word);
            setWindowColours(handle(), m_p.textColour, m_p.backgroundColour);
            invalidateWindow(handle());
            break;
        case 4:
            m_p.font = FontBlock::fromStored(blockBytes(v));
            applyFont(m_p.font);
            break;
        default:
            break;
        }
        return 0;
    }

    bool getProperty(int32_t index, TypeValue& out) override {
        auto word = [&out](int64_t v) {
            out = {static_cast<uintptr_t>(static_cast<uint32_t>(v)), 0};
            return true;
        };
        switch (index) {
        case 0:
            out = keepText(windowText(handle()));
            return true;
        case 1:
            return word(m_p.captionAlignment);
        case 2:
            return word(m_p.textColour);
        case 3:
            return word(m_p.backgroundColour);
        case 4:
            out = keepBytes(std::vector<uint8_t>(m_p.font.bytes().begin(), m_p.font.bytes().end()));
            return true;
        default:
            return false;
        }
    }

protected:
    LResult handleMessage(uint32_t message, WParam wParam, LParam lParam) override {
        if (message == kWmSetFocus || message == kWmKillFocus) {
            LResult result = callPrevious(message, wParam, lParam);
            raiseEvent(message == kWmSetFocus ? kEventGotFocus : kEventLostFocus);
            return result;
        }
        return WindowObject::handleMessage(message, wParam, lParam);
    }

private:
    GroupBoxProperties m_p;
};

void* enumerateTexts(const uint8_t* block, uint32_t* length, TextCallback callback,
                     uintptr_t user) {
    return enumerateBlockTexts<GroupBoxProperties>(
        block, length, callback, user, [](GroupBoxProperties& p, auto& text, auto& font) {
            text(p.caption);
            font(p.font);
        });
}

} // namespace

void* groupBoxInterface(int32_t code) {
    return commonInterfaceEntry(code, &GroupBoxUnit::create, &enumerateTexts);
}

} // namespace kelvarn::ui
