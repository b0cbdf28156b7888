// Writes the seed corpus of the form_template fuzzer into the folder given on the command
// line: the converter's own template and small templates that reach every record kind, every
// property block type and the older block versions.

#include "app/template/ConverterTemplate.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/ButtonProperties.h"
#include "ui/template/EditBoxProperties.h"
#include "ui/template/FormIds.h"
#include "ui/template/FormTemplateReader.h"
#include "ui/template/FormTemplateWriter.h"
#include "ui/template/GroupBoxProperties.h"
#include "ui/template/LabelProperties.h"
#include "ui/template/ListBoxProperties.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/template/UnitRecord.h"
#include "ui/template/WindowProperties.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace kelvarn;

ui::UnitRecordEntry unitEntry(uint32_t id, uint32_t typeTag, std::vector<uint8_t> block,
                              std::vector<ui::EventBinding> bindings = {}) {
    ui::UnitRecord u;
    u.typeTag = typeTag;
    u.name = "u";
    u.width = 10;
    u.height = 10;
    u.stateFlags = ui::kStateVisible;
    u.bindings = std::move(bindings);
    u.propertyBlock = std::move(block);
    return {id, ui::encodeUnitRecord(u)};
}

ui::UnitRecordEntry menuEntry(uint32_t id, uint32_t procedure, std::string caption = "&File",
                              std::optional<ui::MenuItemTail> tail = std::nullopt) {
    ui::MenuItemRecord m;
    m.typeTag = ui::kTagMenuItem;
    m.caption = std::move(caption);
    m.procedure = procedure;
    if (tail)
        m.rest = ui::encodeMenuItemTail(*tail);
    return {id, ui::encodeMenuItemRecord(m)};
}

// Every type at its maximum version with some fields away from their defaults.
ui::WindowDescription everyType() {
    ui::WindowProperties window;
    window.title = "seed";
    window.windowClassName = "cls";
    ui::EditBoxProperties edit;
    edit.content = "text";
    edit.font.setFaceName("face");
    edit.font.setHeight(-12);
    ui::GroupBoxProperties group;
    group.caption = "group";
    ui::LabelProperties label;
    label.wordWrap = 1;
    ui::ButtonProperties button;
    button.picture = {1, 2, 3};
    ui::RadioBoxProperties radio;
    radio.checked = 1;
    ui::ListBoxProperties list;
    list.items = {"a", "bb", ""};
    list.itemData = {1, 0, 0, 0};

    ui::WindowDescription w;
    w.id = 0x52010001;
    w.valueA = 0x002289E0;
    w.valueB = 0x1901000A;
    w.records = {
        unitEntry(ui::kWindowOwnRecordId, runtime::kTagWindow, window.write(), {{0, 0x100}}),
        menuEntry(0x26010001, 0x200),
        menuEntry(0x26010002, ui::kUnboundProcedure, "&Open", ui::MenuItemTail{1, 0x1004F}),
        menuEntry(0x26010003, 0x210, "-", ui::MenuItemTail{1, 0}),
        menuEntry(0x26010004, 0x220, "&Help", ui::MenuItemTail{0, 0x70}),
        unitEntry(0x16010002, runtime::kTagEditBox, edit.write(), {{0, 0x10}, {-7, 0xFFFFFFFF}}),
        unitEntry(0x16010003, runtime::kTagGroupBox, group.write()),
        unitEntry(0x16010004, runtime::kTagLabel, label.write()),
        unitEntry(0x16010005, runtime::kTagButton, button.write(), {{0, 0x20}}),
        unitEntry(0x16010006, runtime::kTagRadioBox, radio.write()),
        unitEntry(0x16010007, runtime::kTagListBox, list.write()),
    };
    return w;
}

// Blocks as older versions stored them.
ui::WindowDescription olderVersions() {
    std::vector<uint8_t> window = ui::WindowProperties{}.write();
    window[0] = 1;
    // Version 1 lacks the five words and the class name behind the help context.
    window.erase(window.begin() + 4 * 14, window.begin() + 4 * 14 + 4 * 5 + 4);

    std::vector<uint8_t> label = ui::LabelProperties{}.write();
    label[0] = 1;
    label.resize(label.size() - 8); // no extra texts

    ui::ListBoxProperties items;
    items.items = {"a", "b", "c"};
    std::vector<uint8_t> list = items.write();
    list[0] = 1;
    list.resize(list.size() - 12); // no extra texts, no extra word
    // The item count behind version, eight words, font and item data, given with the escape.
    const size_t countAt = 4 + 8 * 4 + 4 + 4;
    list.erase(list.begin() + countAt, list.begin() + countAt + 2);
    list.insert(list.begin() + countAt, {0xFF, 0xFF, 3, 0, 0, 0});

    ui::WindowDescription w;
    w.id = 0x52010002;
    w.textA = "A";
    w.textB = "B";
    w.records = {
        unitEntry(ui::kWindowOwnRecordId, runtime::kTagWindow, window),
        unitEntry(0x16010002, runtime::kTagLabel, label),
        unitEntry(0x16010003, runtime::kTagListBox, list),
        unitEntry(0x16010004, runtime::kTagEditBox, {}),
    };
    return w;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> seeds = {
        {"converter", app::buildConverterTemplate()},
        {"every-type", ui::writeFormTemplate({everyType()})},
        {"older-versions", ui::writeFormTemplate({olderVersions()})},
        {"two-windows", ui::writeFormTemplate({olderVersions(), everyType()})},
        {"no-window", ui::writeFormTemplate({})},
    };
    for (const auto& [name, bytes] : seeds) {
        if (!ui::readFormTemplate(bytes, 0x00401000).ok()) {
            std::fprintf(stderr, "seed %s does not read\n", name.c_str());
            return 1;
        }
        if (!writeFile(folder + "/" + name, bytes)) {
            std::perror((folder + "/" + name).c_str());
            return 1;
        }
    }
    return 0;
}
