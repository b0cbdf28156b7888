#include "ui/template/FormTemplateReader.h"

#include "platform/files/LittleEndian.h"
#include "ui/template/ByteReader.h"
#include "ui/template/ByteWriter.h"
#include "ui/template/FormIds.h"
#include "ui/template/UnitRecord.h"

#include <new>

namespace kelvarn::ui {
namespace {

// Reads counted bytes, telling an early end apart from a length that runs past the end.
TemplateError readCounted(BufferedStreamReader& r, std::vector<uint8_t>& out) {
    int32_t n;
    if (!readI32(r, n))
        return TemplateError::EarlyEnd;
    if (n <= 0) {
        out.clear();
        return TemplateError::None;
    }
    if (static_cast<size_t>(n) > r.remaining())
        return TemplateError::CountedFieldPastEnd;
    out.resize(static_cast<size_t>(n));
    r.read(out.data(), out.size());
    return TemplateError::None;
}

TemplateError readCountedText(BufferedStreamReader& r, std::string& out) {
    std::vector<uint8_t> bytes;
    TemplateError e = readCounted(r, bytes);
    if (e == TemplateError::None)
        out.assign(bytes.begin(), bytes.end());
    return e;
}

TemplateError readWindowRecord(BufferedStreamReader& r, WindowRecord& window) {
    if (!readU32(r, window.valueA) || !readU32(r, window.valueB))
        return TemplateError::EarlyEnd;
    if (auto e = readCountedText(r, window.textA); e != TemplateError::None)
        return e;
    if (auto e = readCountedText(r, window.textB); e != TemplateError::None)
        return e;
    uint32_t unitCount;
    if (!readU32(r, unitCount))
        return TemplateError::EarlyEnd;
    std::vector<uint8_t> buffer;
    if (auto e = readCounted(r, buffer); e != TemplateError::None)
        return e;
    auto units = UnitBuffer::fromBytes(unitCount, std::move(buffer));
    if (!units)
        return TemplateError::MalformedUnitBuffer;
    window.units = std::move(*units);
    return TemplateError::None;
}

uint32_t relocate(uint32_t stored, uint32_t codeBase) {
    return stored == kUnboundProcedure ? 0 : codeBase + stored;
}

TemplateReadResult readTemplate(std::span<const uint8_t> bytes, uint32_t codeBase) {
    TemplateReadResult result;
    BufferedStreamReader r(bytes);
    auto fail = [&](TemplateError e) {
        result.error = e;
        result.windows.clear();
        result.bytesRead = r.position();
        return std::move(result);
    };

    std::vector<uint8_t> table;
    if (auto e = readCounted(r, table); e != TemplateError::None)
        return fail(e);
    const size_t windowCount = table.size() / 8;
    for (size_t i = 0; i < windowCount; ++i) {
        auto window = std::make_unique<WindowRecord>();
        window->id = platform::loadLe32(table.data() + 4 * i);
        if (auto e = readWindowRecord(r, *window); e != TemplateError::None)
            return fail(e);
        result.windows.push_back(std::move(window));
    }
    for (auto& window : result.windows)
        if (!relocateBindings(window->units, codeBase))
            return fail(TemplateError::MalformedRecord);
    result.bytesRead = r.position();
    return result;
}

} // namespace

bool relocateBindings(UnitBuffer& units, uint32_t codeBase) {
    for (uint32_t i = 0; i < units.count(); ++i) {
        std::span<uint8_t> data = units.recordData(i);
        if (units.isMenuItem(i)) {
            auto layout = walkMenuItemRecord(data);
            if (!layout)
                return false;
            uint8_t* word = data.data() + layout->procedure();
            platform::storeLe32(word, relocate(platform::loadLe32(word), codeBase));
            continue;
        }
        auto layout = walkUnitRecord(data);
        if (!layout)
            return false;
        for (uint32_t b = 0; b < layout->bindingTotal; ++b) {
            uint8_t* word = data.data() + layout->bindings() + 8 * b + 4;
            platform::storeLe32(word, relocate(platform::loadLe32(word), codeBase));
        }
    }
    return true;
}

TemplateReadResult readFormTemplate(std::span<const uint8_t> bytes, uint32_t codeBase) {
    try {
        return readTemplate(bytes, codeBase);
    } catch (const std::bad_alloc&) {
        TemplateReadResult result;
        result.error = TemplateError::OutOfMemory;
        return result;
    }
}

} // namespace kelvarn::ui
