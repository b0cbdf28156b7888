#include "ui/window/CoreDataTypes.h"

#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/ButtonProperties.h"
#include "ui/template/EditBoxProperties.h"
#include "ui/template/GroupBoxProperties.h"
#include "ui/template/LabelProperties.h"
#include "ui/template/ListBoxProperties.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/template/WindowProperties.h"
#include "ui/window/LoadWindow.h"
#include "ui/window/UnitTypes.h"

#include <array>

namespace kelvarn::ui {
namespace {

using runtime::DataTypeEntry;
using runtime::PropertyEntry;

constexpr uint16_t kCommonEditor = 0xE000;
constexpr uint16_t kTypeEditor = 0x8000;

// A type's property table as the runtime reads it: the common properties, then the type's own,
// each with its kind and editor flags.
template <typename Properties, size_t N>
constexpr std::array<PropertyEntry, kCommonPropertyCount + N>
propertyEntries(const PropertyRow<Properties> (&rows)[N]) {
    std::array<PropertyEntry, kCommonPropertyCount + N> entries{};
    for (size_t i = 0; i < kCommonPropertyCount; ++i)
        entries[i] = {nullptr,       nullptr,
                      nullptr,       static_cast<uint16_t>(kCommonPropertyTable[i].kind),
                      kCommonEditor, 0};
    for (size_t i = 0; i < N; ++i)
        entries[kCommonPropertyCount + i] = {
            nullptr,
            nullptr,
            nullptr,
            static_cast<uint16_t>(rows[i].kind),
            static_cast<uint16_t>(kTypeEditor | rows[i].editorBits),
            0};
    return entries;
}

constexpr auto kWindowProperties = propertyEntries(kWindowPropertyTable);
constexpr auto kEditBoxProperties = propertyEntries(kEditBoxPropertyTable);
constexpr auto kGroupBoxProperties = propertyEntries(kGroupBoxPropertyTable);
constexpr auto kLabelProperties = propertyEntries(kLabelPropertyTable);
constexpr auto kButtonProperties = propertyEntries(kButtonPropertyTable);
constexpr auto kRadioBoxProperties = propertyEntries(kRadioBoxPropertyTable);
constexpr auto kListBoxProperties = propertyEntries(kListBoxPropertyTable);

template <size_t N>
DataTypeEntry entry(const char* name, const char* englishName, uint32_t flags,
                    const std::array<PropertyEntry, N>& properties,
                    runtime::TypeInterfaceFunction interface) {
    DataTypeEntry e;
    e.name = name;
    e.englishName = englishName;
    e.typeFlags = flags;
    e.propertyCount = static_cast<int32_t>(N);
    e.properties = properties.data();
    e.interface = interface;
    return e;
}

// A type's entry goes to the slot of its tag's type number (counted from 1).
void place(std::array<DataTypeEntry, kCoreDataTypeCount>& table, uint32_t tag, DataTypeEntry e) {
    table.at(runtime::tagTypeNumber(tag) - 1) = e;
}

std::array<DataTypeEntry, kCoreDataTypeCount> buildTable() {
    std::array<DataTypeEntry, kCoreDataTypeCount> table{};
    constexpr uint32_t kCore = kTypeCoreLibrary | kTypeEventSource;
    place(table, runtime::kTagWindow,
          entry("\xB4\xB0\xBF\xDA", "window", kCore | kTypeContainer | kTypeNeverRecreated,
                kWindowProperties, &windowInterface)); // "窗口"
    place(table, runtime::kTagEditBox,
          entry("\xB1\xE0\xBC\xAD\xBF\xF2", "EditBox", kCore, kEditBoxProperties,
                &editBoxInterface)); // "编辑框"
    place(table, runtime::kTagGroupBox,
          entry("\xB7\xD6\xD7\xE9\xBF\xF2", "GroupBox",
                kCore | kTypeDragsWindow | kTypeTakesNoFocus | kTypeTabOrderZero | kTypeContainer,
                kGroupBoxProperties, &groupBoxInterface)); // "分组框"
    place(table, runtime::kTagLabel,
          entry("\xB1\xEA\xC7\xA9", "Label",
                kCore | kTypeDragsWindow | kTypeTakesNoFocus | kTypeSpecialNavigation,
                kLabelProperties, &labelInterface)); // "标签"
    place(table, runtime::kTagButton,
          entry("\xB0\xB4\xC5\xA5", "Button", kCore | kTypePushButton, kButtonProperties,
                &buttonInterface)); // "按钮"
    place(table, runtime::kTagRadioBox,
          entry("\xB5\xA5\xD1\xA1\xBF\xF2", "RadioBox", kCore | kTypeRadio, kRadioBoxProperties,
                &radioBoxInterface)); // "单选框"
    place(table, runtime::kTagListBox,
          entry("\xC1\xD0\xB1\xED\xBF\xF2", "ListBox", kCore, kListBoxProperties,
                &listBoxInterface)); // "列表框"
    return table;
}

static_assert(std::size(kWindowProperties) == 32);
static_assert(std::size(kEditBoxProperties) == 29);
static_assert(std::size(kGroupBoxProperties) == 13);
static_assert(std::size(kLabelProperties) == 29);
static_assert(std::size(kButtonProperties) == 14);
static_assert(std::size(kRadioBoxProperties) == 19);
static_assert(std::size(kListBoxProperties) == 22);

intptr_t dataTypeService(int32_t, intptr_t p1, intptr_t) {
    return reinterpret_cast<intptr_t>(dataTypeFor(static_cast<uint32_t>(p1)));
}

} // namespace

std::span<const DataTypeEntry> coreDataTypes() {
    static const std::array<DataTypeEntry, kCoreDataTypeCount> table = buildTable();
    return table;
}

const DataTypeEntry* dataTypeFor(uint32_t typeTag) {
    const DataTypeEntry* e = runtime::runtimeApp().dataTypeEntry(typeTag);
    return e && e->isFilled() ? e : nullptr;
}

void registerDataTypeService() {
    runtime::registerRuntimeService(kServiceDataType, &dataTypeService);
}

} // namespace kelvarn::ui
