#include "ui/template/FormTemplateWriter.h"

#include "ui/template/ByteWriter.h"

namespace kelvarn::ui {

std::vector<uint8_t> writeFormTemplate(const std::vector<WindowDescription>& windows) {
    ByteWriter w;
    // The window table: ids, then pointer slots that only the reader fills.
    w.u32(static_cast<uint32_t>(8 * windows.size()));
    for (const auto& window : windows)
        w.u32(window.id);
    w.zeros(4 * windows.size());
    for (const auto& window : windows) {
        w.u32(window.valueA);
        w.u32(window.valueB);
        w.countedText(window.textA);
        w.countedText(window.textB);
        UnitBuffer units = UnitBuffer::fromRecords(window.records);
        w.u32(units.count());
        w.countedBytes(units.bytes());
    }
    return w.take();
}

} // namespace kelvarn::ui
