// The converter window as its form template describes it. Texts are written here as the user
// reads them and turned into the program's code page when the template is built.

#include "app/ConverterTemplate.h"

#include "app/ConverterIcon.h"
#include "app/ConverterUnits.h"
#include "app/ProcedureOffsets.h"
#include "platform/files/Codepage.h"
#include "runtime/TypeTag.h"
#include "ui/properties/ButtonProperties.h"
#include "ui/properties/LabelProperties.h"
#include "ui/properties/RadioBoxProperties.h"
#include "ui/properties/WindowProperties.h"
#include "ui/template/FormIds.h"
#include "ui/template/FormTemplateWriter.h"
#include "ui/template/UnitRecord.h"

#include <string>
#include <string_view>

namespace kelvarn::app {
namespace {

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

struct Place {
    uint32_t parent;
    int32_t left, top, width, height;
};

std::string gb(std::string_view utf8) {
    return platform::utf8ToGb(utf8);
}

// A unit record with what every record of this window shares: event source 0, the default
// mouse pointer, an empty tag and tab order 0.
ui::UnitRecord unit(uint32_t typeTag, std::string_view name, Place place, uint32_t state,
                    std::vector<uint8_t> propertyBlock) {
    ui::UnitRecord u;
    u.typeTag = typeTag;
    u.name = gb(name);
    u.parentId = place.parent;
    u.left = place.left;
    u.top = place.top;
    u.width = place.width;
    u.height = place.height;
    u.stateFlags = state;
    u.propertyBlock = std::move(propertyBlock);
    return u;
}

ui::UnitRecord bindClick(ui::UnitRecord u, uint32_t procedureOffset) {
    u.bindings.push_back({0, procedureOffset});
    return u;
}

ui::UnitRecord contains(ui::UnitRecord u, std::vector<uint32_t> children) {
    u.children = std::move(children);
    return u;
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
std::vector<uint8_t> defaults() {
    return {};
}

ui::UnitRecord windowOwnRecord() {
    ui::UnitRecord w =
        unit(runtime::kTagWindow, "", {kOnWindow, 50, 50, 487, 360}, kStateVisible, windowBlock());
    w.bindings.push_back({0, kOnWindowCreatedOffset}); // raised once the window and units exist
    return w;
}

// The records in stored order: the window's own record, then the units from the highest id
// down.
std::vector<ui::UnitRecordEntry> converterRecords() {
    const uint32_t shown = kStateVisible;
    const uint32_t tabStop = kStateVisible | kStateTabStop;
    const uint32_t disabledTabStop = kStateVisible | kStateDisabled | kStateTabStop;

    std::vector<std::pair<uint32_t, ui::UnitRecord>> units = {
        {ui::kWindowOwnRecordId, windowOwnRecord()},
        {kBmpRadio, bindClick(unit(runtime::kTagRadioBox, "单选框2", {kTypeGroup, 152, 14, 64, 24},
                                   tabStop, radioBlock("BMP")),
                              kOnBmpChosenOffset)},
        {kPngRadio, bindClick(unit(runtime::kTagRadioBox, "单选框1", {kTypeGroup, 84, 14, 48, 24},
                                   tabStop, radioBlock("PNG")),
                              kOnPngChosenOffset)},
        {kTypeLabel,
         unit(runtime::kTagLabel, "标签3", {kTypeGroup, 8, 10, 56, 24}, shown, typeLabelBlock())},
        {kTypeGroup, contains(unit(runtime::kTagGroupBox, "分组框2", {kOnWindow, 240, 2, 232, 40},
                                   shown, defaults()),
                              {kBmpRadio, kPngRadio, kTypeLabel})},
        {kNoticeLabel, unit(runtime::kTagLabel, "标签1", {kConvertGroup, 16, 72, 192, 144}, shown,
                            noticeBlock())},
        {kChooseButton, bindClick(unit(runtime::kTagButton, "按钮3", {kOnWindow, 240, 49, 232, 32},
                                       tabStop, buttonBlock("选择图片目录")),
                                  kOnChooseFolderOffset)},
        {kFolderEdit, unit(runtime::kTagEditBox, "编辑框1", {kOnWindow, 240, 91, 232, 29},
                           disabledTabStop, defaults())},
        {kToPngButton,
         bindClick(unit(runtime::kTagButton, "按钮2", {kConvertGroup, 122, 24, 88, 32}, tabStop,
                        buttonBlock("转PNG")),
                   kOnConvertToPngOffset)},
        {kToBmpButton, bindClick(unit(runtime::kTagButton, "按钮1", {kConvertGroup, 16, 24, 88, 32},
                                      tabStop, buttonBlock("转BMP")),
                                 kOnConvertToBmpOffset)},
        {kConvertGroup, contains(unit(runtime::kTagGroupBox, "分组框1",
                                      {kOnWindow, 240, 136, 232, 184}, shown, defaults()),
                                 {kNoticeLabel, kToPngButton, kToBmpButton})},
        {kFileList,
         unit(runtime::kTagListBox, "列表框1", {kOnWindow, 8, 8, 224, 312}, tabStop, defaults())},
    };

    std::vector<ui::UnitRecordEntry> records;
    for (const auto& [id, record] : units)
        records.push_back({id, ui::encodeUnitRecord(record)});
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
