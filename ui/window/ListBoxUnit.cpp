// The ListBox type (tag 0x0001000F): the platform's list box. Its items live in the native
// control (the list-box commands work on it), so saving reads them back from there.

#include "platform/files/LittleEndian.h"
#include "platform/windowing/Font.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/ByteWriter.h"
#include "ui/template/ListBoxProperties.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/ControlSupport.h"
#include "ui/window/UnitTypes.h"

namespace kelvarn::ui {
namespace {

using namespace platform;

constexpr int32_t kEventSelectionChanged = 0;
constexpr int32_t kEventDoubleClicked = 1;

class ListBoxUnit : public WindowObject {
public:
    ListBoxUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : WindowObject(runtime::kTagListBox, windowId, unitId, creationArgument) {}

    static WindowObject* create(const uint8_t* block, uint32_t blockLength, uint32_t style,
                                WindowHandle parent, uint32_t controlId, uintptr_t, int32_t left,
                                int32_t top, int32_t width, int32_t height, uint32_t windowId,
                                uint32_t unitId, uint32_t, uintptr_t creationArgument) {
        auto object = std::make_unique<ListBoxUnit>(windowId, unitId, creationArgument);
        ListBoxProperties& p = object->m_p;
        if (p.read(std::span<const uint8_t>(block, block ? blockLength : 0)) != BlockStatus::Ok)
            return nullptr;
        style |= kLbsNotify | kLbsUseTabStops | kLbsNoIntegralHeight | kLbsHasStrings;
        if (p.sorted && p.dataSource.empty())
            style |= kLbsSort;
        style |= p.multipleColumns ? (kLbsMultiColumn | kWsHScroll) : kWsVScroll;
        if (p.extendedSelection)
            style |= kLbsExtendedSel;
        uint32_t exStyle = 0;
        borderStyleBits(p.borderStyle, style, exStyle);
        auto* self = static_cast<ListBoxUnit*>(
            createControl(std::move(object), "LISTBOX", style, exStyle, std::string(),
                          {parent, controlId, left, top, width, height}));
        if (!self)
            return nullptr;
        self->initialise();
        return self;
    }

    std::vector<uint8_t> savePropertyBlock() const override {
        ListBoxProperties p = m_p;
        p.items = currentItems();
        p.itemData = currentItemData();
        p.currentSelection = currentSelection();
        return p.write();
    }

    int32_t setProperty(int32_t index, const TypeValue& v) override {
        ListBoxProperties& p = m_p;
        auto recreateWhenChanged = [](int32_t& field, int32_t value) {
            if (field == value)
                return 0;
            field = value;
            return 1;
        };
        switch (index) {
        case 0:
            p.borderStyle = clampChoice(v.integer(), 5);
            applyBorderStyle(handle(), p.borderStyle);
            return 0;
        case 1:
            return recreateWhenChanged(p.sorted, v.integer() != 0);
        case 2:
            return recreateWhenChanged(p.multipleColumns, v.integer() != 0);
        case 3:
            p.extraLineSpacing = clampChoice(v.integer(), 32767);
            applyItemHeight();
            return 0;
        case 4:
            p.textColour = static_cast<uint32_t>(v.word);
            setWindowColours(handle(), p.textColour, p.backgroundColour);
            invalidateWindow(handle());
            return 0;
        case 5:
            p.backgroundColour = static_cast<uint32_t>(v.word);
            setWindowColours(handle(), p.textColour, p.backgroundColour);
            invalidateWindow(handle());
            return 0;
        case 6:
            p.font = FontBlock::fromStored(blockBytes(v));
            applyFont(p.font);
            applyItemHeight();
            return 0;
        case 7:
            return recreateWhenChanged(p.extendedSelection, v.integer() != 0);
        case 8:
            if (!p.extendedSelection) {
                int32_t count = itemCount();
                int32_t selection = v.integer();
                selection = selection < -1 ? -1 : (selection > count - 1 ? count - 1 : selection);
                p.currentSelection = selection;
                sendMessage(handle(), kLbSetCurSel, static_cast<WParam>(selection), 0);
            }
            return 0;
        case 9: {
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
        case 10:
            p.items = currentItems();
            p.itemData = blockBytes(v);
            m_itemsReplaced = true;
            return 1;
        case 11:
            p.dataSource = textOf(v);
            return 0;
        case 12:
            p.dataField = textOf(v);
            return 0;
        case 13:
            p.extraWord = v.integer() != 0;
            return 0;
        default:
            return 0;
        }
    }

    bool getProperty(int32_t index, TypeValue& out) override {
        const ListBoxProperties& p = m_p;
        auto word = [&out](int64_t v) {
            out = {static_cast<uintptr_t>(static_cast<uint32_t>(v)), 0};
            return true;
        };
        switch (index) {
        case 0:
            return word(p.borderStyle);
        case 1:
            return word(p.sorted);
        case 2:
            return word(p.multipleColumns);
        case 3:
            return word(p.extraLineSpacing);
        case 4:
            return word(p.textColour);
        case 5:
            return word(p.backgroundColour);
        case 6:
            out = keepBytes(std::vector<uint8_t>(p.font.bytes().begin(), p.font.bytes().end()));
            return true;
        case 7:
            return word(p.extendedSelection);
        case 8:
            return word(currentSelection());
        case 9: {
            ByteWriter w;
            writeItems(w, currentItems());
            out = keepBytes(w.take());
            return true;
        }
        case 10:
            out = keepBytes(currentItemData());
            return true;
        case 11:
            out = keepText(p.dataSource);
            return true;
        case 12:
            out = keepText(p.dataField);
            return true;
        case 13:
            return word(p.extraWord);
        default:
            return false;
        }
    }

protected:
    void onCommand(uint32_t notification) override {
        switch (notification) {
        case kLbnSelChange:
            raiseEvent(kEventSelectionChanged);
            break;
        case kLbnDblClk:
            raiseEvent(kEventDoubleClicked);
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

    ListBoxProperties m_p;
    // Set when a property write replaced the items; the re-creation that follows takes them.
    bool m_itemsReplaced = false;
};

void* enumerateTexts(const uint8_t* block, uint32_t* length, TextCallback callback,
                     uintptr_t user) {
    return enumerateBlockTexts<ListBoxProperties>(block, length, callback, user,
                                                  [](ListBoxProperties& p, auto& text, auto& font) {
                                                      font(p.font);
                                                      for (std::string& item : p.items)
                                                          text(item);
                                                      text(p.dataSource);
                                                      text(p.dataField);
                                                  });
}

} // namespace

void* listBoxInterface(int32_t code) {
    return commonInterfaceEntry(code, &ListBoxUnit::create, &enumerateTexts);
}

} // namespace kelvarn::ui
