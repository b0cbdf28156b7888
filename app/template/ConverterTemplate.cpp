// The converter window as its form template describes it. Texts are written here as the user
// reads them and turned into the program's code page when the template is built.

#include "app/template/ConverterTemplate.h"

#include "app/template/ConverterIcon.h"
#include "app/template/ConverterUnits.h"
#include "app/template/ProcedureOffsets.h"
#include "platform/files/Codepage.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/ButtonProperties.h"
#include "ui/template/FormIds.h"
#include "ui/template/FormTemplateWriter.h"
#include "ui/template/LabelProperties.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/template/UnitRecord.h"
#include "ui/template/WindowProperties.h"

#include <string>
#include <string_view>

namespace kelvarn::app {
namespace {

using runtime::kTagButton;
using runtime::kTagEditBox;
using runtime::kTagGroupBox;
using runtime::kTagLabel;
using runtime::kTagListBox;
using runtime::kTagRadioBox;
using runtime::kTagWindow;
using ui::kStateDisabled;
using ui::kStateTabStop;
using ui::kStateVisible;

constexpr std::string_view kTitle = "Kelvarn    ------------By Ostrelle 315926047";

// The red notice: CR LF line breaks and eighteen blanks before the dash pair.
constexpr std::string_view kNotice =
    "仅支持24位BMP转PBG和32位以下PNG转BMP！！！Lumo语言硬件限制，没办法……\r\n"
    "\r\n"
    "谢谢支持！\r\n"
    "\r\n"
    "\r\n"
    "                  ——Ostrelle";

constexpr uint32_t kOnWindow = 0; // parent id of a unit that lies directly on the window
constexpr uint32_t kNoClick = 0;  // no procedure bound to event 0

constexpr uint32_t kShown = kStateVisible;
constexpr uint32_t kTabStop = kStateVisible | kStateTabStop;
constexpr uint32_t kDisabledTabStop = kStateVisible | kStateDisabled | kStateTabStop;

// One unit of the window. Every record also has event source 0, the default mouse pointer
// (4 zero bytes), an empty tag and tab order 0.
struct UnitRow {
    uint32_t id;
    uint32_t type;
    std::string_view name;
    uint32_t parent;
    int32_t left, top, width, height;
    uint32_t state;
    uint32_t onEvent0; // procedure offset for event 0 (click; creation for the window)
};

// The records in stored order: the window's own record, then the units from the highest id
// down.
// clang-format off
constexpr UnitRow kUnits[] = {
    //  id                    type          name       parent         left  top  width height state          event 0
    {ui::kWindowOwnRecordId, kTagWindow,   "",        kOnWindow,      50,  50, 487, 360, kShown,           kOnWindowCreatedOffset},
    {kBmpRadio,              kTagRadioBox, "单选框2", kTypeGroup,    152,  14,  64,  24, kTabStop,         kOnBmpChosenOffset},
    {kPngRadio,              kTagRadioBox, "单选框1", kTypeGroup,     84,  14,  48,  24, kTabStop,         kOnPngChosenOffset},
    {kTypeLabel,             kTagLabel,    "标签3",   kTypeGroup,      8,  10,  56,  24, kShown,           kNoClick},
    {kTypeGroup,             kTagGroupBox, "分组框2", kOnWindow,     240,   2, 232,  40, kShown,           kNoClick},
    {kNoticeLabel,           kTagLabel,    "标签1",   kConvertGroup,  16,  72, 192, 144, kShown,           kNoClick},
    {kChooseButton,          kTagButton,   "按钮3",   kOnWindow,     240,  49, 232,  32, kTabStop,         kOnChooseFolderOffset},
    {kFolderEdit,            kTagEditBox,  "编辑框1", kOnWindow,     240,  91, 232,  29, kDisabledTabStop, kNoClick},
    {kToPngButton,           kTagButton,   "按钮2",   kConvertGroup, 122,  24,  88,  32, kTabStop,         kOnConvertToPngOffset},
    {kToBmpButton,           kTagButton,   "按钮1",   kConvertGroup,  16,  24,  88,  32, kTabStop,         kOnConvertToBmpOffset},
    {kConvertGroup,          kTagGroupBox, "分组框1", kOnWindow,     240, 136, 232, 184, kShown,           kNoClick},
    {kFileList,              kTagListBox,  "列表框1", kOnWindow,       8,   8, 224, 312, kTabStop,         kNoClick},
};
// clang-format on

// What the two group boxes hold, in stored order.
std::vector<uint32_t> childrenOf(uint32_t id) {
    switch (id) {
    case kTypeGroup:
        return {kBmpRadio, kPngRadio, kTypeLabel};
    case kConvertGroup:
        return {kNoticeLabel, kToPngButton, kToBmpButton};
    default:
        return {};
    }
}

std::string gb(std::string_view utf8) {
    return platform::utf8ToGb(utf8);
}

std::vector<uint8_t> windowBlock() {
    ui::WindowProperties w;
    w.title = gb(kTitle);
    w.borderStyle = 2; // fixed frame with caption
    w.pictureMode = 1;
    w.backgroundColour = 0xFF000000;
    w.maximizeButton = 0;
    w.minimizeButton = 1;
    w.controlBox = 1;
    w.startPosition = 1; // centred on the screen
    w.movable = 1;
    w.soundPlayMode = 0;
    w.enterMovesFocus = 0;
    w.escapeCloses = 1;
    w.f1OpensHelp = 0;
    w.helpContext = 0;
    w.shownInTaskbar = 1;
    w.dragByAnyPoint = 0;
    w.windowShape = 0;
    w.alwaysOnTop = 0;
    w.icon = buildConverterIcon();
    return w.write();
}

std::vector<uint8_t> buttonBlock(std::string_view caption) {
    ui::ButtonProperties b;
    b.caption = gb(caption);
    b.defaultButton = 0;
    b.horizontalAlignment = 1; // centred
    b.verticalAlignment = 1;
    return b.write();
}

std::vector<uint8_t> radioBlock(std::string_view caption) {
    ui::RadioBoxProperties r;
    r.caption = gb(caption);
    r.checked = 0; // the window's creation procedure checks "PNG"
    return r.write();
}

std::vector<uint8_t> noticeBlock() {
    ui::LabelProperties l;
    l.caption = gb(kNotice);
    l.textColour = 0x0000FF; // red
    l.wordWrap = 1;
    l.horizontalAlignment = 0;
    l.borderStyle = 0;
    return l.write();
}

std::vector<uint8_t> typeLabelBlock() {
    ui::LabelProperties l;
    l.caption = gb("图片类型：");
    l.textColour = 0;
    l.horizontalAlignment = 0;
    l.verticalAlignment = 1; // centred
    l.wordWrap = 0;
    l.borderStyle = 0;
    return l.write();
}

// EditBox, GroupBox and ListBox keep every default: their blocks are empty.
std::vector<uint8_t> propertyBlockOf(uint32_t id) {
    switch (id) {
    case ui::kWindowOwnRecordId:
        return windowBlock();
    case kBmpRadio:
        return radioBlock("BMP");
    case kPngRadio:
        return radioBlock("PNG");
    case kTypeLabel:
        return typeLabelBlock();
    case kNoticeLabel:
        return noticeBlock();
    case kChooseButton:
        return buttonBlock("选择图片目录");
    case kToPngButton:
        return buttonBlock("转PNG");
    case kToBmpButton:
        return buttonBlock("转BMP");
    default:
        return {};
    }
}

std::vector<ui::UnitRecordEntry> converterRecords() {
    std::vector<ui::UnitRecordEntry> records;
    for (const UnitRow& row : kUnits) {
        ui::UnitRecord u;
        u.typeTag = row.type;
        u.name = gb(row.name);
        u.parentId = row.parent;
        u.left = row.left;
        u.top = row.top;
        u.width = row.width;
        u.height = row.height;
        u.stateFlags = row.state;
        u.children = childrenOf(row.id);
        if (row.onEvent0 != kNoClick)
            u.bindings.push_back({0, row.onEvent0});
        u.propertyBlock = propertyBlockOf(row.id);
        records.push_back({row.id, ui::encodeUnitRecord(u)});
    }
    return records;
}

} // namespace

std::vector<uint8_t> buildConverterTemplate() {
    ui::WindowDescription window;
    window.id = kConverterWindowId;
    window.valueA = kConverterValueA;
    window.valueB = kConverterValueB;
    window.records = converterRecords();
    return ui::writeFormTemplate({window});
}

} // namespace kelvarn::app
