#include "ui/window/CoreDataTypes.h"

#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeServices.h"
#include "ui/window/UnitTypes.h"

#include <array>

namespace kelvarn::ui {
namespace {

using runtime::DataTypeEntry;
using runtime::PropertyEntry;

constexpr uint16_t kCommonEditor = 0xE000;
constexpr uint16_t kTypeEditor = 0x8000;

constexpr PropertyEntry common(uint16_t kind) {
    return {nullptr, nullptr, nullptr, kind, kCommonEditor, 0};
}
constexpr PropertyEntry own(uint16_t kind, uint16_t editorBits = 0) {
    return {nullptr, nullptr, nullptr, kind, static_cast<uint16_t>(kTypeEditor | editorBits), 0};
}

// Left, top, width, height, tag, visible, disabled, mouse pointer.
#define KELVARN_COMMON_PROPERTIES                                                                  \
    common(kKindInteger), common(kKindInteger), common(kKindInteger), common(kKindInteger),        \
        common(kKindText), common(kKindLogical), common(kKindLogical), common(kKindMousePointer)

constexpr PropertyEntry kWindowProperties[] = {
    KELVARN_COMMON_PROPERTIES,
    own(kKindText),          // title
    own(kKindChoice),        // border style
    own(kKindSystemColour),  // background colour
    own(kKindPicture),       // background picture
    own(kKindChoice),        // picture mode
    own(kKindSound),         // background sound
    own(kKindChoice),        // sound play mode
    own(kKindLogical),       // control box
    own(kKindLogical),       // maximize button
    own(kKindLogical),       // minimize button
    own(kKindChoice),        // start position
    own(kKindLogical),       // movable
    own(kKindIcon),          // icon
    own(kKindLogical),       // Enter moves focus
    own(kKindLogical),       // Escape closes
    own(kKindLogical),       // F1 opens help
    own(kKindFileName, 0x1), // help file name
    own(kKindInteger),       // help context number
    own(kKindLogical),       // shown in taskbar
    own(kKindLogical),       // drag by any point
    own(kKindChoice),        // window shape
    own(kKindLogical),       // always on top
    own(kKindLogical, 0x8),  // extra word
    own(kKindText, 0x10),    // window class name
};

constexpr PropertyEntry kEditBoxProperties[] = {
    KELVARN_COMMON_PROPERTIES,
    own(kKindText),         // content
    own(kKindChoice),       // border style
    own(kKindColour),       // text colour
    own(kKindSystemColour), // background colour
    own(kKindFont),         // font
    own(kKindLogical),      // hide selection
    own(kKindInteger),      // maximum length
    own(kKindLogical),      // multi-line
    own(kKindChoice),       // scroll bars
    own(kKindChoice),       // alignment
    own(kKindChoice),       // input mode
    own(kKindText),         // password character
    own(kKindChoice),       // letter case
    own(kKindChoice),       // adjuster
    own(kKindInteger),      // adjuster minimum
    own(kKindInteger),      // adjuster maximum
    own(kKindInteger, 0x1), // selection start
    own(kKindInteger, 0x1), // selection length
    own(kKindText, 0x1),    // replace selection
    own(kKindDataSource),   // data source
    own(kKindDataField),    // data field
};

constexpr PropertyEntry kGroupBoxProperties[] = {
    KELVARN_COMMON_PROPERTIES,
    own(kKindText),         // caption
    own(kKindChoice),       // caption alignment
    own(kKindColour),       // text colour
    own(kKindSystemColour), // background colour
    own(kKindFont),         // font
};

constexpr PropertyEntry kLabelProperties[] = {
    KELVARN_COMMON_PROPERTIES,
    own(kKindText),         // caption
    own(kKindChoice),       // effect
    own(kKindChoice),       // border style
    own(kKindInteger),      // gradient border width
    own(kKindColour2),      // gradient border colour 1
    own(kKindColour2),      // gradient border colour 2
    own(kKindColour2),      // gradient border colour 3
    own(kKindFont),         // font
    own(kKindColour),       // text colour
    own(kKindSystemColour), // background colour
    own(kKindPicture),      // background picture
    own(kKindChoice),       // picture mode
    own(kKindChoice),       // background gradient
    own(kKindColour2),      // gradient colour 1
    own(kKindColour2),      // gradient colour 2
    own(kKindColour2),      // gradient colour 3
    own(kKindChoice),       // horizontal alignment
    own(kKindLogical),      // word wrap
    own(kKindChoice),       // vertical alignment
    own(kKindDataSource),   // data source
    own(kKindDataField),    // data field
};

constexpr PropertyEntry kButtonProperties[] = {
    KELVARN_COMMON_PROPERTIES,
    own(kKindPicture), // picture
    own(kKindChoice),  // default button
    own(kKindText),    // caption
    own(kKindChoice),  // horizontal alignment
    own(kKindChoice),  // vertical alignment
    own(kKindFont),    // font
};

constexpr PropertyEntry kRadioBoxProperties[] = {
    KELVARN_COMMON_PROPERTIES,
    own(kKindPicture),      // picture
    own(kKindLogical),      // push-button look
    own(kKindLogical),      // flat
    own(kKindText),         // caption
    own(kKindLogical),      // caption on the left
    own(kKindChoice),       // horizontal alignment
    own(kKindChoice),       // vertical alignment
    own(kKindColour),       // text colour
    own(kKindSystemColour), // background colour
    own(kKindFont),         // font
    own(kKindLogical),      // checked
};

constexpr PropertyEntry kListBoxProperties[] = {
    KELVARN_COMMON_PROPERTIES,
    own(kKindChoice),       // border style
    own(kKindLogical),      // sorted
    own(kKindLogical),      // multiple columns
    own(kKindInteger),      // extra line spacing
    own(kKindColour),       // text colour
    own(kKindSystemColour), // background colour
    own(kKindFont),         // font
    own(kKindLogical),      // extended selection
    own(kKindInteger, 0x1), // current selection
    own(kKindByteBlock),    // items
    own(kKindByteBlock),    // item data
    own(kKindDataSource),   // data source
    own(kKindDataField),    // data field
    own(kKindLogical),      // extra word
};

#undef KELVARN_COMMON_PROPERTIES

template <size_t N>
DataTypeEntry entry(const char* name, const char* englishName, uint32_t flags,
                    const PropertyEntry (&properties)[N],
                    runtime::TypeInterfaceFunction interface) {
    DataTypeEntry e;
    e.name = name;
    e.englishName = englishName;
    e.typeFlags = flags;
    e.propertyCount = static_cast<int32_t>(N);
    e.properties = properties;
    e.interface = interface;
    return e;
}

std::array<DataTypeEntry, kCoreDataTypeCount> buildTable() {
    std::array<DataTypeEntry, kCoreDataTypeCount> table{};
    // Positions count from 1: the type number of the tag.
    table[0] = entry("\xB4\xB0\xBF\xDA", "window", 0x800000D0, kWindowProperties,
                     &windowInterface); // "窗口"
    table[4] = entry("\xB1\xE0\xBC\xAD\xBF\xF2", "EditBox", 0x80000040, kEditBoxProperties,
                     &editBoxInterface); // "编辑框"
    table[8] = entry("\xB7\xD6\xD7\xE9\xBF\xF2", "GroupBox", 0x840140C0, kGroupBoxProperties,
                     &groupBoxInterface); // "分组框"
    table[9] = entry("\xB1\xEA\xC7\xA9", "Label", 0x84012040, kLabelProperties,
                     &labelInterface); // "标签"
    table[10] = entry("\xB0\xB4\xC5\xA5", "Button", 0x80000840, kButtonProperties,
                      &buttonInterface); // "按钮"
    table[12] = entry("\xB5\xA5\xD1\xA1\xBF\xF2", "RadioBox", 0x80000440, kRadioBoxProperties,
                      &radioBoxInterface); // "单选框"
    table[14] = entry("\xC1\xD0\xB1\xED\xBF\xF2", "ListBox", 0x80000040, kListBoxProperties,
                      &listBoxInterface); // "列表框"
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
    runtime::registerRuntimeService(1002, &dataTypeService);
}

} // namespace kelvarn::ui
