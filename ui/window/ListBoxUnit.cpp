// The ListBox type (tag 0x0001000F): the platform's list box. Its items live in the native
// control (the list-box commands work on it), so saving reads them back from there.

#include "platform/files/LittleEndian.h"
#include "platform/windowing/Font.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "ui/template/ByteWriter.h"
#include "ui/template/ListBoxProperties.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/ControlSupport.h"
#include "ui/window/UnitEvents.h"
#include "ui/window/UnitType.h"

namespace kelvarn::ui {
namespace {

using namespace platform;

class ListBoxUnit : public UnitType<ListBoxProperties> {
public:
    ListBoxUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : UnitType(windowId, unitId, creationArgument) {}

    static WindowObject* build(std::unique_ptr<ListBoxUnit> object, uint32_t style,
                               const ControlPlacement& place) {
        const ListBoxProperties& p = object->m_p;
        style |= kLbsNotify | kLbsUseTabStops | kLbsNoIntegralHeight | kLbsHasStrings;
        if (p.sorted && p.dataSource.empty())
            style |= kLbsSort;
        style |= p.multipleColumns ? (kLbsMultiColumn | kWsHScroll) : kWsVScroll;
        if (p.extendedSelection)
            style |= kLbsExtendedSel;
        uint32_t exStyle = 0;
        borderStyleBits(p.borderStyle, style, exStyle);
        auto* self = static_cast<ListBoxUnit*>(
            createControl(std::move(object), "LISTBOX", style, exStyle, std::string(), place));
        if (self)
            self->initialise();
        return self;
    }

protected:
    void beforeSave(ListBoxProperties& saved) const override {
        saved.items = currentItems();
        saved.itemData = currentItemData();
        saved.currentSelection = currentSelection();
    }

    int32_t writeOwn(ListBoxProperty property, const TypeValue& v) override {
        ListBoxProperties& p = m_p;
        switch (property) {
        case ListBoxProperty::CurrentSelection:
            if (!p.extendedSelection) {
                int32_t count = itemCount();
                int32_t selection = v.integer();
                selection = selection < -1 ? -1 : (selection > count - 1 ? count - 1 : selection);
                p.currentSelection = selection;
                sendMessage(handle(), kLbSetCurSel, static_cast<WParam>(selection), 0);
            }
            return 0;
        case ListBoxProperty::Items: {
            // An item list in the form template's encoding: item count, then counted texts.
            std::vector<uint8_t> bytes = blockBytes(v);
            BlockReader reader(bytes);
            std::vector<std::string> items;
            if (!bytes.empty())
                reader.items(items);
            p.items = reader.ok() ? items : std::vector<std::string>{};
            p.itemData = currentItemData();
            p.itemData.resize(p.items.size() * 4);
            m_itemsReplaced = true;
            return 1;
        }
        case ListBoxProperty::ItemData:
            p.items = currentItems();
            p.itemData = blockBytes(v);
            m_itemsReplaced = true;
            return 1;
        default:
            return 0;
        }
    }

    bool readOwn(ListBoxProperty property, TypeValue& out) override {
        switch (property) {
        case ListBoxProperty::CurrentSelection:
            out = wordValue(currentSelection());
            return true;
        case ListBoxProperty::Items: {
            BlockWriter w;
            w.items(currentItems());
            out = keepBytes(w.take());
            return true;
        }
        case ListBoxProperty::ItemData:
            out = keepBytes(currentItemData());
            return true;
        default:
            return false;
        }
    }

    void applyProperty(ListBoxProperty property) override {
        if (property == ListBoxProperty::BorderStyle)
            applyBorderStyle(handle(), m_p.borderStyle);
        else
            applyItemHeight(); // the extra line spacing
    }

    void fontApplied() override { applyItemHeight(); }

    void onCommand(uint32_t notification) override {
        switch (notification) {
        case kLbnSelChange:
            raiseEvent(kListBoxSelectionChanged);
            break;
        case kLbnDblClk:
            raiseEvent(kListBoxDoubleClicked);
            break;
        case kLbnSetFocus:
            raiseEvent(kEventGotFocus);
            break;
        case kLbnKillFocus:
            raiseEvent(kEventLostFocus);
            break;
        default:
            break;
        }
    }

private:
    void initialise() {
        setWindowColours(handle(), m_p.textColour, m_p.backgroundColour);
        applyFont(m_p.font, false);
        applyItemHeight();
        for (size_t i = 0; i < m_p.items.size(); ++i) {
            LResult at = sendMessage(handle(), kLbAddString, 0,
                                     reinterpret_cast<LParam>(m_p.items[i].c_str()));
            if (at >= 0 && (i + 1) * 4 <= m_p.itemData.size())
                sendMessage(handle(), kLbSetItemData, static_cast<WParam>(at),
                            static_cast<LParam>(platform::loadLe32(m_p.itemData.data() + i * 4)));
        }
        int32_t count = itemCount();
        int32_t selection = m_p.currentSelection;
        if (m_p.extendedSelection)
            selection = count > 0 ? 0 : -1;
        else
            selection = selection < -1 ? -1 : (selection > count - 1 ? count - 1 : selection);
        if (selection >= 0)
            sendMessage(handle(), m_p.extendedSelection ? kLbSetSel : kLbSetCurSel,
                        m_p.extendedSelection ? 1 : static_cast<WParam>(selection),
                        m_p.extendedSelection ? selection : 0);
        applyBorderStyle(handle(), m_p.borderStyle);
    }

    // The item height is the font's line height plus the extra line spacing.
    void applyItemHeight() {
        int height = fontMetrics(font()).height + m_p.extraLineSpacing;
        sendMessage(handle(), kLbSetItemHeight, 0, height);
    }

    int32_t itemCount() const {
        LResult n = sendMessage(handle(), kLbGetCount, 0, 0);
        return n > 0 ? static_cast<int32_t>(n) : 0;
    }

    int32_t currentSelection() const {
        if (m_p.extendedSelection)
            return -1;
        LResult selection = sendMessage(handle(), kLbGetCurSel, 0, 0);
        return selection < 0 ? -1 : static_cast<int32_t>(selection);
    }

    std::vector<std::string> currentItems() const {
        if (m_itemsReplaced)
            return m_p.items;
        std::vector<std::string> items;
        int32_t count = itemCount();
        for (int32_t i = 0; i < count; ++i) {
            LResult length = sendMessage(handle(), kLbGetTextLen, static_cast<WParam>(i), 0);
            std::vector<char> buffer(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
            sendMessage(handle(), kLbGetText, static_cast<WParam>(i),
                        reinterpret_cast<LParam>(buffer.data()));
            items.emplace_back(buffer.data());
        }
        return items;
    }

    std::vector<uint8_t> currentItemData() const {
        if (m_itemsReplaced)
            return m_p.itemData;
        std::vector<uint8_t> data;
        int32_t count = itemCount();
        for (int32_t i = 0; i < count; ++i) {
            auto value = static_cast<uint32_t>(
                sendMessage(handle(), kLbGetItemData, static_cast<WParam>(i), 0));
            uint8_t bytes[4];
            platform::storeLe32(bytes, value);
            data.insert(data.end(), bytes, bytes + 4);
        }
        return data;
    }

    // Set when a property write replaced the items; the re-creation that follows takes them.
    bool m_itemsReplaced = false;
};

} // namespace

void* listBoxInterface(int32_t code) {
    return unitInterfaceEntry<ListBoxUnit>(code);
}

} // namespace kelvarn::ui
