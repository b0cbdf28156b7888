// The EditBox type (tag 0x00010005): the platform's "EDIT" control, with an optional adjuster
// arrow control ("msctls_updown32") beside a single-line box.

#include "platform/windowing/Font.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/EditBoxProperties.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/ControlSupport.h"
#include "ui/window/UnitTypes.h"

#include <charconv>

namespace kelvarn::ui {
namespace {

using namespace platform;

constexpr int32_t kEventContentChanged = 0;
constexpr int32_t kEventAdjusted = 1;
constexpr int kEdgeHeight = 2; // the system edge height
constexpr int kAdjusterWidth = 16;
constexpr char kDoubleByteSample[] = "\xD6\xD0"; // "中"

class EditBoxUnit : public WindowObject {
public:
    EditBoxUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : WindowObject(runtime::kTagEditBox, windowId, unitId, creationArgument) {}

    static WindowObject* create(const uint8_t* block, uint32_t blockLength, uint32_t style,
                                WindowHandle parent, uint32_t controlId, uintptr_t, int32_t left,
                                int32_t top, int32_t width, int32_t height, uint32_t windowId,
                                uint32_t unitId, uint32_t, uintptr_t creationArgument) {
        auto object = std::make_unique<EditBoxUnit>(windowId, unitId, creationArgument);
        EditBoxProperties& p = object->m_p;
        if (p.read(std::span<const uint8_t>(block, block ? blockLength : 0)) != BlockStatus::Ok)
            return nullptr;
        style |= creationStyle(p);
        uint32_t exStyle = 0;
        borderStyleBits(p.borderStyle, style, exStyle);
        auto* self = static_cast<EditBoxUnit*>(
            createControl(std::move(object), "EDIT", style, exStyle, p.content,
                          {parent, controlId, left, top, width, height}));
        if (!self)
            return nullptr;
        self->initialise();
        return self;
    }

    std::vector<uint8_t> savePropertyBlock() const override {
        EditBoxProperties p = m_p;
        p.content = windowText(handle());
        return p.write();
    }

    int32_t setProperty(int32_t index, const TypeValue& v) override {
        EditBoxProperties& p = m_p;
        auto recreateWhenChanged = [](int32_t& field, int32_t value) {
            if (field == value)
                return 0;
            field = value;
            return 1;
        };
        switch (index) {
        case 0:
            setContent(textOf(v));
            return 0;
        case 1:
            p.borderStyle = clampChoice(v.integer(), 5);
            applyBorderStyle(handle(), p.borderStyle);
            return 0;
        case 2:
            p.textColour = static_cast<uint32_t>(v.word);
            setWindowColours(handle(), p.textColour, p.backgroundColour);
            return 0;
        case 3:
            p.backgroundColour = static_cast<uint32_t>(v.word);
            setWindowColours(handle(), p.textColour, p.backgroundColour);
            return 0;
        case 4:
            p.font = FontBlock::fromStored(blockBytes(v));
            applyFont(p.font);
            ensureLineHeight();
            return 0;
        case 5:
            return recreateWhenChanged(p.hideSelection, v.integer() != 0);
        case 6:
            p.maxLength = v.integer() < 0 ? 0 : v.integer();
            sendMessage(handle(), kEmLimitText, static_cast<WParam>(p.maxLength), 0);
            return 0;
        case 7:
            return recreateWhenChanged(p.multiLine, v.integer() != 0);
        case 8:
            return recreateWhenChanged(p.scrollBars, clampChoice(v.integer(), 3));
        case 9:
            return recreateWhenChanged(p.alignment, clampChoice(v.integer(), 2));
        case 10:
            p.inputMode = clampChoice(v.integer(), 11);
            applyInputMode();
            return 0;
        case 11: {
            std::string text = textOf(v);
            p.passwordChar = text.empty() ? 0 : static_cast<uint8_t>(text[0]);
            applyInputMode();
            return 0;
        }
        case 12:
            return recreateWhenChanged(p.letterCase, clampChoice(v.integer(), 2));
        case 13:
            return recreateWhenChanged(p.adjuster, clampChoice(v.integer(), 2));
        case 14:
            p.adjusterMinimum = v.integer();
            applyAdjusterRange();
            return 0;
        case 15:
            p.adjusterMaximum = v.integer();
            applyAdjusterRange();
            return 0;
        case 16: {
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
            return 0;
        }
        case 17: {
            int32_t length = v.integer();
            readSelection();
            if (length == -1) {
                p.selectionStart = 0;
                p.selectionLength = static_cast<int32_t>(windowText(handle()).size());
            } else {
                p.selectionLength = length < 0 ? 0 : length;
            }
            applySelection();
            return 0;
        }
        case 18: {
            std::string text = textOf(v);
            sendMessage(handle(), kEmReplaceSel, 1, reinterpret_cast<LParam>(text.c_str()));
            return 0;
        }
        case 19:
            p.dataSource = textOf(v); // the data-binding facility is not part of this program
            return 0;
        case 20:
            p.dataField = textOf(v);
            return 0;
        default:
            return 0;
        }
    }

    bool getProperty(int32_t index, TypeValue& out) override {
        const EditBoxProperties& p = m_p;
        auto word = [&out](int64_t v) {
            out = {static_cast<uintptr_t>(static_cast<uint32_t>(v)), 0};
            return true;
        };
        switch (index) {
        case 0:
            out = keepText(windowText(handle()));
            return true;
        case 1:
            return word(p.borderStyle);
        case 2:
            return word(p.textColour);
        case 3:
            return word(p.backgroundColour);
        case 4:
            out = keepBytes(std::vector<uint8_t>(p.font.bytes().begin(), p.font.bytes().end()));
            return true;
        case 5:
            return word(p.hideSelection);
        case 6:
            return word(p.maxLength);
        case 7:
            return word(p.multiLine);
        case 8:
            return word(p.scrollBars);
        case 9:
            return word(p.alignment);
        case 10:
            return word(p.inputMode);
        case 11:
            out = keepText(p.passwordChar ? std::string(1, static_cast<char>(p.passwordChar))
                                          : std::string());
            return true;
        case 12:
            return word(p.letterCase);
        case 13:
            return word(p.adjuster);
        case 14:
            return word(p.adjusterMinimum);
        case 15:
            return word(p.adjusterMaximum);
        case 16:
            readSelection();
            return word(m_p.selectionStart);
        case 17:
            readSelection();
            return word(m_p.selectionLength);
        case 19:
            out = keepText(p.dataSource);
            return true;
        case 20:
            out = keepText(p.dataField);
            return true;
        default:
            return false; // 18 is write-only
        }
    }

    bool wantsKey(uint32_t key) const {
        return key == kVkReturn && m_p.multiLine && m_p.inputMode != 1;
    }

protected:
    void onCommand(uint32_t notification) override {
        switch (notification) {
        case kEnChange:
            if (!m_settingContent)
                raiseEvent(kEventContentChanged);
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
            raiseEvent(kEventAdjusted, {static_cast<uint32_t>(direction)});
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
        raiseEvent(kEventContentChanged);
    }

    EditBoxProperties m_p;
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

void* enumerateTexts(const uint8_t* block, uint32_t* length, TextCallback callback,
                     uintptr_t user) {
    return enumerateBlockTexts<EditBoxProperties>(block, length, callback, user,
                                                  [](EditBoxProperties& p, auto& text, auto& font) {
                                                      text(p.content);
                                                      font(p.font);
                                                      text(p.dataSource);
                                                      text(p.dataField);
                                                  });
}

} // namespace

void* editBoxInterface(int32_t code) {
    if (code == kInterfaceWantsEnter)
        return reinterpret_cast<void*>(&wantsEnterEntry);
    return commonInterfaceEntry(code, &EditBoxUnit::create, &enumerateTexts);
}

} // namespace kelvarn::ui
