// The EditBox type (tag 0x00010005): the platform's "EDIT" control, with an optional adjuster
// arrow control ("msctls_updown32") beside a single-line box.

#include "platform/windowing/Font.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "ui/template/EditBoxProperties.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/ControlSupport.h"
#include "ui/window/UnitEvents.h"
#include "ui/window/UnitType.h"

#include <charconv>

namespace kelvarn::ui {
namespace {

using namespace platform;

constexpr int kEdgeHeight = 2; // the system edge height
constexpr int kAdjusterWidth = 16;
constexpr char kDoubleByteSample[] = "\xD6\xD0"; // "中"

class EditBoxUnit : public UnitType<EditBoxProperties> {
public:
    EditBoxUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : UnitType(windowId, unitId, creationArgument) {}

    static WindowObject* build(std::unique_ptr<EditBoxUnit> object, uint32_t style,
                               const ControlPlacement& place) {
        const EditBoxProperties& p = object->m_p;
        style |= creationStyle(p);
        uint32_t exStyle = 0;
        borderStyleBits(p.borderStyle, style, exStyle);
        auto* self = static_cast<EditBoxUnit*>(
            createControl(std::move(object), "EDIT", style, exStyle, p.content, place));
        if (self)
            self->initialise();
        return self;
    }

    bool wantsKey(uint32_t key) const {
        return key == kVkReturn && m_p.multiLine && m_p.inputMode != 1;
    }

protected:
    int32_t writeOwn(EditBoxProperty property, const TypeValue& v) override {
        EditBoxProperties& p = m_p;
        switch (property) {
        case EditBoxProperty::Content:
            setContent(textOf(v));
            break;
        case EditBoxProperty::MaxLength:
            p.maxLength = v.integer() < 0 ? 0 : v.integer();
            sendMessage(handle(), kEmLimitText, static_cast<WParam>(p.maxLength), 0);
            break;
        case EditBoxProperty::PasswordChar: {
            std::string text = textOf(v);
            p.passwordChar = text.empty() ? 0 : static_cast<uint8_t>(text[0]);
            applyInputMode();
            break;
        }
        case EditBoxProperty::SelectionStart: {
            int32_t start = v.integer();
            readSelection();
            if (start == -1) {
                p.selectionStart = static_cast<int32_t>(windowText(handle()).size());
                p.selectionLength = 0;
            } else {
                p.selectionStart = start < 0 ? 0 : start;
            }
            applySelection();
            sendMessage(handle(), kEmScrollCaret, 0, 0);
            break;
        }
        case EditBoxProperty::SelectionLength: {
            int32_t length = v.integer();
            readSelection();
            if (length == -1) {
                p.selectionStart = 0;
                p.selectionLength = static_cast<int32_t>(windowText(handle()).size());
            } else {
                p.selectionLength = length < 0 ? 0 : length;
            }
            applySelection();
            break;
        }
        case EditBoxProperty::ReplaceSelection: {
            std::string text = textOf(v);
            sendMessage(handle(), kEmReplaceSel, 1, reinterpret_cast<LParam>(text.c_str()));
            break;
        }
        default:
            break;
        }
        return 0;
    }

    bool readOwn(EditBoxProperty property, TypeValue& out) override {
        switch (property) {
        case EditBoxProperty::PasswordChar:
            out = keepText(m_p.passwordChar ? std::string(1, static_cast<char>(m_p.passwordChar))
                                            : std::string());
            return true;
        case EditBoxProperty::SelectionStart:
            readSelection();
            out = wordValue(m_p.selectionStart);
            return true;
        case EditBoxProperty::SelectionLength:
            readSelection();
            out = wordValue(m_p.selectionLength);
            return true;
        default:
            return false;
        }
    }

    void applyProperty(EditBoxProperty property) override {
        switch (property) {
        case EditBoxProperty::BorderStyle:
            applyBorderStyle(handle(), m_p.borderStyle);
            break;
        case EditBoxProperty::InputMode:
            applyInputMode();
            break;
        default:
            applyAdjusterRange();
            break;
        }
    }

    void fontApplied() override { ensureLineHeight(); }

    void onCommand(uint32_t notification) override {
        switch (notification) {
        case kEnChange:
            if (!m_settingContent)
                raiseEvent(kEditBoxContentChanged);
            break;
        case kEnSetFocus:
            raiseEvent(kEventGotFocus);
            break;
        case kEnKillFocus:
            raiseEvent(kEventLostFocus);
            break;
        default:
            break;
        }
    }

    void onAdjusterNotify(const NotifyUpDown& change) {
        if (change.delta == 0)
            return;
        int32_t direction = change.delta > 0 ? 1 : -1;
        if (m_p.adjuster == 2) {
            raiseEvent(kEditBoxAdjusted, {static_cast<uint32_t>(direction)});
            return;
        }
        // Adjuster 1: the number in the box steps, wrapping at the ends of the range.
        std::string text = windowText(handle());
        int64_t number = 0;
        std::from_chars(text.data(), text.data() + text.size(), number);
        number += direction;
        if (number < m_p.adjusterMinimum)
            number = m_p.adjusterMaximum;
        else if (number > m_p.adjusterMaximum)
            number = m_p.adjusterMinimum;
        setContent(std::to_string(number));
        sendMessage(handle(), kEmSetSel, 0, -1);
        setFocus(handle());
    }

    void onDestroy() override {
        // Alone (a re-creation) the box takes its arrows with it; inside a parent that is being
        // destroyed they go with the parent.
        if (m_adjuster && isWindow(m_adjuster) && !isInDestroyedTree(parentWindow(handle())))
            destroyWindow(m_adjuster);
        m_adjuster = 0;
    }

private:
    static uint32_t creationStyle(const EditBoxProperties& p) {
        uint32_t style = 0;
        if (!p.hideSelection)
            style |= kEsNoHideSel;
        if (p.multiLine) {
            style |= kEsMultiLine | kEsAutoVScroll | kEsWantReturn;
            if (p.scrollBars == 1 || p.scrollBars == 3)
                style |= kEsAutoHScroll;
        } else {
            style |= kEsAutoHScroll;
        }
        if (p.scrollBars == 1 || p.scrollBars == 3)
            style |= kWsHScroll;
        if (p.scrollBars == 2 || p.scrollBars == 3)
            style |= kWsVScroll;
        if (p.alignment == 1)
            style |= kEsCenter;
        else if (p.alignment == 2)
            style |= kEsRight;
        if (p.inputMode == 1)
            style |= kEsReadOnly;
        else if (p.inputMode == 2)
            style |= kEsPassword;
        if (p.letterCase == 1)
            style |= kEsLowerCase;
        else if (p.letterCase == 2)
            style |= kEsUpperCase;
        return style;
    }

    void initialise() {
        setWindowColours(handle(), m_p.textColour, m_p.backgroundColour);
        applyFont(m_p.font, false);
        ensureLineHeight();
        sendMessage(handle(), kEmLimitText,
                    static_cast<WParam>(m_p.maxLength < 0 ? 0 : m_p.maxLength), 0);
        if (m_p.inputMode == 2)
            sendMessage(handle(), kEmSetPasswordChar, m_p.passwordChar, 0);
        if (!m_p.multiLine && (m_p.adjuster == 1 || m_p.adjuster == 2))
            createAdjuster();
        applySelection();
        applyBorderStyle(handle(), m_p.borderStyle);
    }

    // A single-line box is at least one double-byte character plus the edges tall.
    void ensureLineHeight() {
        if (m_p.multiLine)
            return;
        int needed = textExtent(font(), kDoubleByteSample).height + 2 * kEdgeHeight;
        Rect r = windowRectInParent(handle());
        if (r.height() < needed)
            moveWindow(handle(), r.left, r.top, r.width(), needed);
    }

    void createAdjuster() {
        Rect r = windowRectInParent(handle());
        CreateParams params;
        params.className = "msctls_updown32";
        params.style = kWsChild | kWsVisible | kUdsArrowKeys;
        if (!isWindowEnabled(handle()))
            params.style |= kWsDisabled;
        params.x = r.right;
        params.y = r.top;
        params.width = kAdjusterWidth;
        params.height = r.height();
        params.parent = parentWindow(handle());
        params.id = controlId(handle()) + 4;
        m_adjuster = createWindow(params);
        if (!m_adjuster)
            return;
        sendMessage(m_adjuster, kUdmSetBuddy, handle(), 0);
        applyAdjusterRange();
        registerAdjuster();
    }

    void registerAdjuster();

    void applyAdjusterRange() {
        if (m_adjuster)
            sendMessage(m_adjuster, kUdmSetRange32, static_cast<WParam>(m_p.adjusterMinimum),
                        m_p.adjusterMaximum);
    }

    void applyInputMode() {
        sendMessage(handle(), kEmSetReadOnly, m_p.inputMode == 1 ? 1 : 0, 0);
        sendMessage(handle(), kEmSetPasswordChar, m_p.inputMode == 2 ? m_p.passwordChar : 0, 0);
    }

    void readSelection() {
        uint32_t start = 0;
        uint32_t end = 0;
        sendMessage(handle(), kEmGetSel, reinterpret_cast<WParam>(&start),
                    reinterpret_cast<LParam>(&end));
        m_p.selectionStart = static_cast<int32_t>(start);
        m_p.selectionLength = static_cast<int32_t>(end >= start ? end - start : 0);
    }

    void applySelection() {
        sendMessage(handle(), kEmSetSel, static_cast<WParam>(m_p.selectionStart),
                    m_p.selectionStart + m_p.selectionLength);
    }

    // The text is replaced and event 0 raised exactly once, also when the text is unchanged.
    void setContent(const std::string& text) {
        m_settingContent = true;
        setWindowText(handle(), text);
        m_settingContent = false;
        raiseEvent(kEditBoxContentChanged);
    }

    WindowHandle m_adjuster = 0;
    bool m_settingContent = false;

public:
    void adjusterNotified(const NotifyUpDown& change) { onAdjusterNotify(change); }
};

void EditBoxUnit::registerAdjuster() {
    WindowObject::attachInnerWindow(
        m_adjuster, this, [](WindowObject& owner, const NotifyHeader& header, LParam lParam) {
            if (header.code == kUdnDeltaPos)
                static_cast<EditBoxUnit&>(owner).adjusterNotified(
                    *reinterpret_cast<const NotifyUpDown*>(lParam));
        });
}

int32_t wantsEnterEntry(WindowObject* object, uint32_t key) {
    auto* box = dynamic_cast<EditBoxUnit*>(object);
    return box && box->wantsKey(key) ? 1 : 0;
}

} // namespace

void* editBoxInterface(int32_t code) {
    if (code == kInterfaceWantsEnter)
        return reinterpret_cast<void*>(&wantsEnterEntry);
    return unitInterfaceEntry<EditBoxUnit>(code);
}

} // namespace kelvarn::ui
