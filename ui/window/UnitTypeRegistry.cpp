#include "ui/window/UnitTypeRegistry.h"

#include "runtime/core/TypeTag.h"
#include "ui/template/ButtonProperties.h"
#include "ui/template/EditBoxProperties.h"
#include "ui/template/GroupBoxProperties.h"
#include "ui/template/LabelProperties.h"
#include "ui/template/ListBoxProperties.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/template/WindowProperties.h"
#include "ui/window/CoreDataTypes.h"

#include <algorithm>

namespace kelvarn::ui {

// Each type's interface function, defined in its unit file.
void* windowInterface(int32_t code);
void* editBoxInterface(int32_t code);
void* groupBoxInterface(int32_t code);
void* labelInterface(int32_t code);
void* buttonInterface(int32_t code);
void* radioBoxInterface(int32_t code);
void* listBoxInterface(int32_t code);

namespace {

using enum CaptionMnemonic;
constexpr uint32_t kCore = kTypeCoreLibrary | kTypeEventSource;

// Names in the runtime's code page: 窗口, 编辑框, 分组框, 标签, 按钮, 单选框, 列表框.
// clang-format off
constexpr UnitTypeRow kRows[] = {
    {WindowProperties::kTypeTag, "\xB4\xB0\xBF\xDA", "window",
     kCore | kTypeContainer | kTypeNeverRecreated,
     kPropertyEntries<kWindowPropertyTable>, &windowInterface, No},
    {EditBoxProperties::kTypeTag, "\xB1\xE0\xBC\xAD\xBF\xF2", "EditBox",
     kCore,
     kPropertyEntries<kEditBoxPropertyTable>, &editBoxInterface, No},
    {GroupBoxProperties::kTypeTag, "\xB7\xD6\xD7\xE9\xBF\xF2", "GroupBox",
     kCore | kTypeDragsWindow | kTypeTakesNoFocus | kTypeTabOrderZero | kTypeContainer,
     kPropertyEntries<kGroupBoxPropertyTable>, &groupBoxInterface, Yes},
    {LabelProperties::kTypeTag, "\xB1\xEA\xC7\xA9", "Label",
     kCore | kTypeDragsWindow | kTypeTakesNoFocus | kTypeSpecialNavigation,
     kPropertyEntries<kLabelPropertyTable>, &labelInterface, Yes},
    {ButtonProperties::kTypeTag, "\xB0\xB4\xC5\xA5", "Button",
     kCore | kTypePushButton,
     kPropertyEntries<kButtonPropertyTable>, &buttonInterface, Yes},
    {RadioBoxProperties::kTypeTag, "\xB5\xA5\xD1\xA1\xBF\xF2", "RadioBox",
     kCore | kTypeRadio,
     kPropertyEntries<kRadioBoxPropertyTable>, &radioBoxInterface, Yes},
    {ListBoxProperties::kTypeTag, "\xC1\xD0\xB1\xED\xBF\xF2", "ListBox",
     kCore,
     kPropertyEntries<kListBoxPropertyTable>, &listBoxInterface, No},
};
// clang-format on

// Every row's tag is a type of the core library with a slot in its data-type table, and no two
// rows share one.
constexpr bool rowsFitTheTable() {
    for (const UnitTypeRow& row : kRows) {
        const uint32_t number = runtime::tagTypeNumber(row.tag);
        if (runtime::tagLibraryNumber(row.tag) != 1 || number < 1 ||
            number > static_cast<uint32_t>(kCoreDataTypeCount))
            return false;
        for (const UnitTypeRow& other : kRows)
            if (&other != &row && other.tag == row.tag)
                return false;
    }
    return true;
}
static_assert(rowsFitTheTable());

static_assert(kPropertyEntries<kWindowPropertyTable>.size() == 32);
static_assert(kPropertyEntries<kEditBoxPropertyTable>.size() == 29);
static_assert(kPropertyEntries<kGroupBoxPropertyTable>.size() == 13);
static_assert(kPropertyEntries<kLabelPropertyTable>.size() == 29);
static_assert(kPropertyEntries<kButtonPropertyTable>.size() == 14);
static_assert(kPropertyEntries<kRadioBoxPropertyTable>.size() == 19);
static_assert(kPropertyEntries<kListBoxPropertyTable>.size() == 22);

} // namespace

std::span<const UnitTypeRow> unitTypeRows() {
    return kRows;
}

const UnitTypeRow* unitTypeRow(uint32_t tag) {
    const auto* row = std::find_if(std::begin(kRows), std::end(kRows),
                                   [tag](const UnitTypeRow& r) { return r.tag == tag; });
    return row != std::end(kRows) ? row : nullptr;
}

} // namespace kelvarn::ui
