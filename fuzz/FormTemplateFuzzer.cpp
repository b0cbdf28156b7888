// Feeds arbitrary bytes to the form template reader, then walks whatever it accepted the way
// the window runtime will: every record decoded, every property block read by its type and
// written back, and a tag resized in place.

#include "runtime/core/TypeTag.h"
#include "ui/template/ButtonProperties.h"
#include "ui/template/EditBoxProperties.h"
#include "ui/template/FormTemplateReader.h"
#include "ui/template/GroupBoxProperties.h"
#include "ui/template/IconFile.h"
#include "ui/template/LabelProperties.h"
#include "ui/template/ListBoxProperties.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/template/UnitRecord.h"
#include "ui/template/WindowProperties.h"

#include <cstdint>
#include <cstdlib>

namespace {

using namespace kelvarn;

void check(bool condition) {
    if (!condition)
        std::abort();
}

// A block that reads must read back the same from what its set writes.
template <typename Properties> void roundTrip(std::span<const uint8_t> block) {
    Properties p;
    if (p.read(block) != ui::BlockStatus::Ok)
        return;
    Properties again;
    check(again.read(p.write()) == ui::BlockStatus::Ok);
    check(again == p);
}

void readBlock(uint32_t typeTag, std::span<const uint8_t> block) {
    switch (typeTag) {
    case runtime::kTagWindow: {
        roundTrip<ui::WindowProperties>(block);
        ui::WindowProperties w;
        if (w.read(block) == ui::BlockStatus::Ok && ui::isIconFile(w.icon))
            ui::iconImageEntry(w.icon, 0);
        break;
    }
    case runtime::kTagEditBox:
        roundTrip<ui::EditBoxProperties>(block);
        break;
    case runtime::kTagGroupBox:
        roundTrip<ui::GroupBoxProperties>(block);
        break;
    case runtime::kTagLabel:
        roundTrip<ui::LabelProperties>(block);
        break;
    case runtime::kTagButton:
        roundTrip<ui::ButtonProperties>(block);
        break;
    case runtime::kTagRadioBox:
        roundTrip<ui::RadioBoxProperties>(block);
        break;
    default:
        // Unknown types: try every reader, since any of them may meet any bytes.
        roundTrip<ui::ListBoxProperties>(block);
        roundTrip<ui::LabelProperties>(block);
        roundTrip<ui::WindowProperties>(block);
        break;
    }
}

void walkWindow(ui::WindowRecord& window) {
    ui::UnitBuffer& units = window.units;
    window.snapshot.copyFrom(units);
    for (uint32_t i = 0; i < units.count(); ++i) {
        units.findById(units.idAt(i));
        std::span<const uint8_t> data = units.recordData(i);
        if (units.isMenuItem(i)) {
            auto item = ui::decodeMenuItemRecord(data);
            check(item.has_value());
            auto again = ui::decodeMenuItemRecord(ui::encodeMenuItemRecord(*item));
            check(again && *again == *item);
            // The tail reads from whatever follows the procedure word and writes back the
            // same fields.
            const ui::MenuItemTail tail = ui::decodeMenuItemTail(item->rest);
            check(ui::decodeMenuItemTail(ui::encodeMenuItemTail(tail)) == tail);
            if (item->rest.size() >= 5) {
                auto stored = ui::encodeMenuItemTail(tail);
                check(std::equal(stored.begin(), stored.end(), item->rest.begin()));
            }
            continue;
        }
        auto record = ui::decodeUnitRecord(data);
        check(record.has_value()); // the reader walked every record when it relocated
        readBlock(record->typeTag, record->propertyBlock);

        // Give the record a longer tag and check that nothing else moved.
        auto layout = ui::walkUnitRecord(data);
        const uint8_t tag[] = {'f', 'u', 'z', 'z'};
        check(units.replaceRange(i, layout->tag, 0, tag));
        auto changed = ui::decodeUnitRecord(units.recordData(i));
        check(changed && changed->tag == "fuzz" + record->tag);
        for (uint32_t j = 0; j < units.count(); ++j) {
            if (j == i)
                continue;
            auto a = units.recordData(j), b = window.snapshot.recordData(j);
            check(std::equal(a.begin(), a.end(), b.begin(), b.end()));
        }
        units.copyFrom(window.snapshot);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ui::TemplateReadResult result = ui::readFormTemplate({data, size}, 0x00401000);
    check(result.bytesRead <= size);
    for (auto& window : result.windows)
        walkWindow(*window);
    return 0;
}
