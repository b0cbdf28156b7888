#include "ui/window/UnitPropertyAccess.h"

#include "platform/files/LittleEndian.h"
#include "platform/windowing/Cursor.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "runtime/core/Heap.h"
#include "runtime/core/RuntimeError.h"
#include "runtime/frame/MessageLoop.h"
#include "ui/template/ByteWriter.h"
#include "ui/template/FormIds.h"
#include "ui/template/PropertyTable.h"
#include "ui/template/UnitRecord.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/FontMembers.h"
#include "ui/window/LoadWindow.h"
#include "ui/window/MousePointer.h"
#include "ui/window/TypeInterface.h"
#include "ui/window/UnitFields.h"
#include "ui/window/WindowErrors.h"
#include "ui/window/WindowMenu.h"
#include "ui/window/WindowObject.h"
#include "ui/window/WindowRuntime.h"

#include <array>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kelvarn::ui {
namespace {

enum class KindClass { Integer, Choice, Logical, EightByte, ByteBlock, Font, Text };

// How a kind's value is carried; a kind the runtime does not name is a text.
KindClass classify(uint16_t kind) {
    switch (static_cast<PropertyKind>(kind)) {
    case PropertyKind::Integer32:
    case PropertyKind::Integer:
    case PropertyKind::Colour:
    case PropertyKind::PlainColour:
    case PropertyKind::SystemColour:
        return KindClass::Integer;
    case PropertyKind::Choice:
        return KindClass::Choice;
    case PropertyKind::Logical:
        return KindClass::Logical;
    case PropertyKind::EightByte:
    case PropertyKind::EightByteValue:
        return KindClass::EightByte;
    case PropertyKind::Picture:
    case PropertyKind::Icon:
    case PropertyKind::MousePointer:
    case PropertyKind::Sound:
    case PropertyKind::ByteBlockValue:
    case PropertyKind::ByteBlock:
        return KindClass::ByteBlock;
    case PropertyKind::Font:
        return KindClass::Font;
    default:
        return KindClass::Text;
    }
}

bool isMousePointer(uint16_t kind) {
    return static_cast<PropertyKind>(kind) == PropertyKind::MousePointer;
}

struct UnitRef {
    WindowRecord* window = nullptr;
    uint32_t index = 0;
};

UnitRef findUnit(uint32_t windowId, uint32_t unitId) {
    WindowRecord* window = windowTable().find(windowId);
    if (!window)
        runtime::endWithRuntimeError(kUnitWindowNotLoaded, 0);
    std::optional<uint32_t> index = unitId == 0 && window->units.count() > 0
                                        ? std::optional<uint32_t>(0)
                                        : window->units.findById(unitId);
    if (!index)
        runtime::endWithRuntimeError(kNoSuchUnit, 0);
    return {window, *index};
}

// --- values handed to the procedure -------------------------------------------------------

runtime::PropertyValue addressValue(const void* address) {
    runtime::PropertyValue value;
    value.setAddress(address);
    return value;
}

runtime::PropertyValue integerValue(uint32_t v) {
    return {v, 0};
}

char* newText(std::string_view text) {
    if (text.empty())
        return nullptr;
    auto* copy = static_cast<char*>(runtime::MemAlloc(static_cast<int32_t>(text.size() + 1)));
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = 0;
    return copy;
}

// A binary-data block: 32-bit 1, 32-bit byte count, the bytes. Null for no bytes.
void* newBinaryBlock(std::span<const uint8_t> bytes) {
    if (bytes.empty())
        return nullptr;
    int32_t size = bytes.size() <= static_cast<size_t>(INT32_MAX - 8)
                       ? static_cast<int32_t>(bytes.size() + 8)
                       : -1; // reported as a failed allocation
    auto* block = static_cast<uint8_t*>(runtime::MemAlloc(size));
    platform::storeLe32(block, 1);
    platform::storeLe32(block + 4, static_cast<uint32_t>(bytes.size()));
    std::memcpy(block + 8, bytes.data(), bytes.size());
    return block;
}

// A pointer block as the procedure sees it: the first word a public number.
void* newPointerBlock(std::span<const uint8_t> stored) {
    void* block = newBinaryBlock(stored);
    if (block && stored.size() >= 4) {
        auto* first = static_cast<uint8_t*>(block) + 8;
        platform::storeLe32(first, publicFromCursorId(platform::loadLe32(first)));
    }
    return block;
}

// The bytes of a procedure's binary-data block; none for null.
std::span<const uint8_t> blockBytes(const void* block) {
    if (!block)
        return {};
    const auto* p = static_cast<const uint8_t*>(block);
    auto n = static_cast<int32_t>(platform::loadLe32(p + 4));
    return n > 0 ? std::span<const uint8_t>(p + 8, static_cast<size_t>(n))
                 : std::span<const uint8_t>();
}

// A pointer block as stored: the first word turned from the public number into the cursor id.
std::vector<uint8_t> storedPointerBytes(std::span<const uint8_t> bytes) {
    std::vector<uint8_t> copy(bytes.begin(), bytes.end());
    if (copy.size() >= 4)
        platform::storeLe32(copy.data(), cursorIdFromPublic(platform::loadLe32(copy.data())));
    return copy;
}

const void* addressOf(uint32_t low, uint32_t high) {
    runtime::PropertyValue v{low, high};
    return v.address();
}

// --- type properties ----------------------------------------------------------------------

struct TypeProperty {
    const runtime::DataTypeEntry* type = nullptr;
    uint16_t kind = 0;
};

std::optional<TypeProperty> typeProperty(uint32_t typeTag, int32_t propertyIndex) {
    const runtime::DataTypeEntry* type = dataTypeFor(typeTag);
    if (!type || !type->interface || !type->properties || propertyIndex >= type->propertyCount)
        return std::nullopt;
    return TypeProperty{type, type->properties[propertyIndex].kind};
}

runtime::PropertyValue readTypeProperty(WindowObject& object, uint32_t typeTag,
                                        int32_t propertyIndex, int32_t member) {
    std::optional<TypeProperty> property = typeProperty(typeTag, propertyIndex);
    if (!property)
        return {};
    auto get = typeEntry<GetPropertyEntry>(*property->type, kInterfaceGetProperty);
    TypeValue out;
    if (!get || !get(&object, typeIndexOf(propertyIndex), &out))
        return {};
    std::span<const uint8_t> bytes;
    if (out.word != 0 && out.length != 0)
        bytes = std::span<const uint8_t>(out.data(), out.length);

    switch (classify(property->kind)) {
    case KindClass::Integer:
    case KindClass::Choice:
        return integerValue(static_cast<uint32_t>(out.word));
    case KindClass::Logical:
        return integerValue(out.word == 1 ? 1 : 0);
    case KindClass::EightByte:
        return {static_cast<uint32_t>(out.word), static_cast<uint32_t>(out.length)};
    case KindClass::ByteBlock:
        return addressValue(isMousePointer(property->kind) ? newPointerBlock(bytes)
                                                           : newBinaryBlock(bytes));
    case KindClass::Font: {
        platform::FontDescription font = fontFromBlock(bytes);
        if (member == kFontWhole)
            return addressValue(newFontRecord(font));
        if (member == kFontFaceName)
            return addressValue(fontFaceCopy(font));
        return integerValue(static_cast<uint32_t>(fontMember(font, member)));
    }
    case KindClass::Text:
        return addressValue(newText(out.word ? std::string_view(out.text()) : std::string_view()));
    }
    return {};
}

void writeTypeProperty(WindowRecord& window, WindowObject& object, uint32_t typeTag,
                       int32_t propertyIndex, int32_t member, uint32_t low, uint32_t high) {
    std::optional<TypeProperty> property = typeProperty(typeTag, propertyIndex);
    if (!property)
        return;
    auto set = typeEntry<SetPropertyEntry>(*property->type, kInterfaceSetProperty);
    if (!set)
        return;
    const int32_t typeIndex = typeIndexOf(propertyIndex);
    const auto v = static_cast<int32_t>(low);
    const void* address = addressOf(low, high);

    TypeValue value;
    std::vector<uint8_t> bytes;                                 // kept alive across the call
    std::array<uint8_t, platform::kFontDescriptionSize> font{}; // likewise
    switch (classify(property->kind)) {
    case KindClass::Integer:
        value.word = low;
        break;
    case KindClass::Choice:
        value.word = v < 0 ? 0 : low;
        break;
    case KindClass::Logical:
        value.word = low != 0 ? 1 : 0;
        break;
    case KindClass::EightByte:
        value.word = low;
        value.length = high;
        break;
    case KindClass::ByteBlock: {
        std::span<const uint8_t> given = blockBytes(address);
        if (isMousePointer(property->kind) && given.size() >= 4) {
            bytes = storedPointerBytes(given);
            given = bytes;
        }
        if (!given.empty()) {
            value.word = reinterpret_cast<uintptr_t>(given.data());
            value.length = given.size();
        }
        break;
    }
    case KindClass::Font: {
        platform::FontDescription description;
        if (member == kFontWhole) {
            if (!address)
                break; // an empty block: the default font
            description = fontFromRecord(*static_cast<const FontRecord*>(address));
        } else {
            auto get = typeEntry<GetPropertyEntry>(*property->type, kInterfaceGetProperty);
            TypeValue current;
            std::span<const uint8_t> currentBytes;
            if (get && get(&object, typeIndex, &current) && current.word != 0)
                currentBytes = std::span<const uint8_t>(current.data(), current.length);
            description = fontFromBlock(currentBytes);
            if (!setFontMember(description, member, v, static_cast<const char*>(address)))
                return;
        }
        font = platform::writeFontDescription(description);
        value.word = reinterpret_cast<uintptr_t>(font.data());
        value.length = font.size();
        break;
    }
    case KindClass::Text:
        value.word = reinterpret_cast<uintptr_t>(address ? address : "");
        break;
    }

    platform::WindowHandle handle = object.handle();
    if (set(&object, typeIndex, &value, 0) != 1 || !platform::isWindow(handle))
        return;
    int32_t found = FindUnitIndexByHandle(window, handle, false);
    if (found <= 0)
        return;
    runtime::EventSuppression quiet;
    RecreateUnit(window, static_cast<uint32_t>(found));
}

// --- menu items ---------------------------------------------------------------------------

runtime::PropertyValue readMenuItem(const UnitBuffer& units, uint32_t index,
                                    int32_t propertyIndex) {
    std::span<const uint8_t> data = units.recordData(index);
    auto layout = walkMenuItemRecord(data);
    if (!layout)
        return {};
    uint32_t flags = menuItemFlags(data, *layout);
    switch (static_cast<MenuItemProperty>(propertyIndex)) {
    case MenuItemProperty::Caption:
        return addressValue(newText(menuItemCaption(data, *layout)));
    case MenuItemProperty::Checked:
        return integerValue((flags & kMenuItemChecked) ? 1 : 0);
    case MenuItemProperty::Disabled:
        return integerValue((flags & kMenuItemDisabled) ? 1 : 0);
    case MenuItemProperty::Visible:
        return integerValue((flags & kMenuItemHidden) ? 0 : 1);
    default:
        return {};
    }
}

// True when the record changed, so that the window's menu bar is rebuilt from the records.
bool writeMenuItem(UnitBuffer& units, uint32_t index, int32_t propertyIndex, uint32_t low,
                   uint32_t high) {
    std::span<const uint8_t> data = units.recordData(index);
    auto layout = walkMenuItemRecord(data);
    if (!layout)
        return false;
    const auto property = static_cast<MenuItemProperty>(propertyIndex);
    if (property == MenuItemProperty::Caption) {
        const auto* text = static_cast<const char*>(addressOf(low, high));
        std::string_view caption = text ? std::string_view(text) : std::string_view();
        if (caption == menuItemCaption(data, *layout))
            return false;
        std::vector<uint8_t> replacement(caption.begin(), caption.end());
        replacement.push_back(0);
        return units.replaceRange(index, layout->caption(), layout->captionLength, replacement);
    }
    uint32_t bit = property == MenuItemProperty::Checked    ? kMenuItemChecked
                   : property == MenuItemProperty::Disabled ? kMenuItemDisabled
                   : property == MenuItemProperty::Visible  ? kMenuItemHidden
                                                            : 0;
    if (bit == 0)
        return false;
    bool on = low != 0;
    if (property == MenuItemProperty::Visible)
        on = !on; // stored as hidden
    uint32_t flags = menuItemFlags(data, *layout);
    uint32_t changed = on ? (flags | bit) : (flags & ~bit);
    if (changed == flags)
        return false;
    UnitFields(units, index).setWord(layout->flags(), changed);
    return true;
}

// --- common properties --------------------------------------------------------------------

uint32_t stateBit(uint32_t state, uint32_t bit) {
    return (state & bit) != 0 ? 1 : 0;
}

runtime::PropertyValue readCommonProperty(const UnitFields& fields, WindowObject* object,
                                          CommonProperty property) {
    platform::WindowHandle handle = object ? object->handle() : 0;
    auto placed = [&](int32_t live, int32_t stored) {
        return integerValue(static_cast<uint32_t>(handle ? live : stored));
    };
    switch (property) {
    case CommonProperty::Left:
        return placed(handle ? platform::windowRectInParent(handle).left : 0, fields.left());
    case CommonProperty::Top:
        return placed(handle ? platform::windowRectInParent(handle).top : 0, fields.top());
    case CommonProperty::Width:
        return placed(handle ? platform::windowRect(handle).width() : 0, fields.width());
    case CommonProperty::Height:
        return placed(handle ? platform::windowRect(handle).height() : 0, fields.height());
    case CommonProperty::Tag:
        return addressValue(newText(fields.tag()));
    case CommonProperty::Visible:
        return integerValue(handle ? (platform::isWindowVisible(handle) ? 1 : 0)
                                   : stateBit(fields.stateFlags(), kStateVisible));
    case CommonProperty::Disabled:
        return integerValue(handle ? (platform::isWindowEnabled(handle) ? 0 : 1)
                                   : stateBit(fields.stateFlags(), kStateDisabled));
    case CommonProperty::MousePointer:
        return addressValue(newPointerBlock(fields.mousePointer()));
    }
    return {};
}

// A coordinate may be negative, a size may not.
int32_t clampPlacement(CommonProperty property, int32_t v) {
    if (v > kCoordinateLimit)
        return kCoordinateLimit;
    if (property == CommonProperty::Left || property == CommonProperty::Top)
        return v < -kCoordinateLimit ? -kCoordinateLimit : v;
    return v < 0 ? 0 : v;
}

void writeMousePointer(UnitBuffer& units, uint32_t index, WindowObject* object, const void* block) {
    std::vector<uint8_t> stored = storedPointerBytes(blockBytes(block));
    UnitFields fields(units, index);
    auto layout = fields.layout();
    if (!layout)
        return;
    uint32_t oldCursor = fields.cursorSlot();
    if (oldCursor != 0)
        platform::destroyCursor(oldCursor);
    platform::CursorHandle cursor = buildCursor(stored);
    fields.setCursorSlot(cursor);

    std::vector<uint8_t> counted(4 + stored.size());
    platform::storeLe32(counted.data(), static_cast<uint32_t>(stored.size()));
    if (!stored.empty())
        std::memcpy(counted.data() + 4, stored.data(), stored.size());
    auto oldLength = static_cast<int32_t>(fields.word(layout->mousePointer));
    size_t oldSize = 4 + (oldLength > 0 ? static_cast<size_t>(oldLength) : 0);
    units.replaceRange(index, layout->mousePointer, oldSize, counted);
    if (object)
        platform::setWindowCursor(object->handle(), cursor);
}

void writeCommonProperty(WindowRecord& window, uint32_t index, WindowObject* object,
                         CommonProperty property, uint32_t low, uint32_t high) {
    UnitBuffer& units = window.units;
    UnitFields fields(units, index);
    auto layout = fields.layout();
    if (!layout)
        return;
    platform::WindowHandle handle = object ? object->handle() : 0;
    auto v = static_cast<int32_t>(low);
    switch (property) {
    case CommonProperty::Left:
    case CommonProperty::Top:
    case CommonProperty::Width:
    case CommonProperty::Height: {
        v = clampPlacement(property, v);
        const size_t offsets[] = {layout->left(), layout->top(), layout->width(), layout->height()};
        const auto at = static_cast<size_t>(property);
        fields.setWord(offsets[at], static_cast<uint32_t>(v));
        if (!handle)
            return;
        platform::Rect r = platform::windowRectInParent(handle);
        int place[] = {r.left, r.top, r.width(), r.height()};
        place[at] = v;
        platform::moveWindow(handle, place[0], place[1], place[2], place[3]);
        if (property == CommonProperty::Left || property == CommonProperty::Top)
            platform::invalidateWindow(handle);
        return;
    }
    case CommonProperty::Tag: {
        const auto* text = static_cast<const char*>(addressOf(low, high));
        std::string_view tag = text ? std::string_view(text) : std::string_view();
        std::vector<uint8_t> replacement(tag.begin(), tag.end());
        replacement.push_back(0);
        units.replaceRange(index, layout->tag, layout->tagLength, replacement);
        return;
    }
    case CommonProperty::Visible:
    case CommonProperty::Disabled: {
        uint32_t bit = property == CommonProperty::Visible ? kStateVisible : kStateDisabled;
        uint32_t state = fields.stateFlags();
        bool on = low != 0;
        fields.setStateFlags(on ? (state | bit) : (state & ~bit));
        if (!handle)
            return;
        if (property == CommonProperty::Disabled) {
            platform::enableWindow(handle, !on);
        } else if (!on) {
            platform::showWindow(handle, platform::kSwHide);
        } else if (index == 0) {
            ShowLoadedWindow(window.id, true);
        } else {
            // No unit type of this runtime is a page container, so every unit sits on a shown
            // page.
            platform::showWindow(handle, platform::kSwShow);
        }
        return;
    }
    case CommonProperty::MousePointer:
        writeMousePointer(units, index, object, addressOf(low, high));
        return;
    }
}

} // namespace

runtime::PropertyValue ReadUnitProperty(uint32_t windowId, uint32_t unitId, int32_t propertyIndex,
                                        int32_t member) {
    UnitRef unit = findUnit(windowId, unitId);
    UnitBuffer& units = unit.window->units;
    uint32_t typeTag = UnitFields(units, unit.index).typeTag();
    if (typeTag == kTagMenuItem)
        return readMenuItem(units, unit.index, propertyIndex);
    WindowObject* object = loadedUnitObject(*unit.window, unit.index);
    if (propertyIndex >= kCommonPropertyCount) {
        if (!object)
            runtime::endWithRuntimeError(kWindowNotLoaded, 0);
        return readTypeProperty(*object, typeTag, propertyIndex, member);
    }
    UnitFields fields(units, unit.index);
    if (!fields.isValid() || !isCommonProperty(propertyIndex))
        return {};
    return readCommonProperty(fields, object, static_cast<CommonProperty>(propertyIndex));
}

void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int32_t propertyIndex, int32_t member,
                       uint32_t low, uint32_t high) {
    UnitRef unit = findUnit(windowId, unitId);
    UnitBuffer& units = unit.window->units;
    uint32_t typeTag = UnitFields(units, unit.index).typeTag();
    if (typeTag == kTagMenuItem) {
        if (writeMenuItem(units, unit.index, propertyIndex, low, high))
            if (WindowObject* window = loadedWindowObject(*unit.window))
                applyWindowMenu(window->handle(), units);
        return;
    }
    WindowObject* object = loadedUnitObject(*unit.window, unit.index);
    if (propertyIndex >= kCommonPropertyCount) {
        if (!object)
            runtime::endWithRuntimeError(kWindowNotLoaded, 0);
        writeTypeProperty(*unit.window, *object, typeTag, propertyIndex, member, low, high);
        return;
    }
    if (isCommonProperty(propertyIndex))
        writeCommonProperty(*unit.window, unit.index, object,
                            static_cast<CommonProperty>(propertyIndex), low, high);
}

} // namespace kelvarn::ui
