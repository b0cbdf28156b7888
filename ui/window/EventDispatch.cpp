#include "ui/window/EventDispatch.h"

#include "platform/files/LittleEndian.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeError.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/ByteWriter.h"
#include "ui/template/FormIds.h"
#include "ui/template/UnitRecord.h"
#include "ui/window/WindowRuntime.h"

#include <vector>

namespace kelvarn::ui {
namespace {

// "未找到引发事件的窗口"
constexpr char kWindowNotFound[] = "\xce\xb4\xd5\xd2\xb5\xbd\xd2\xfd\xb7\xa2\xca\xc2\xbc\xfe"
                                   "\xb5\xc4\xb4\xb0\xbf\xda";
// "未找到引发事件的窗口组件"
constexpr char kUnitNotFound[] = "\xce\xb4\xd5\xd2\xb5\xbd\xd2\xfd\xb7\xa2\xca\xc2\xbc\xfe"
                                 "\xb5\xc4\xb4\xb0\xbf\xda\xd7\xe9\xbc\xfe";
// "引发事件的窗口组件无效"
constexpr char kUnitInvalid[] = "\xd2\xfd\xb7\xa2\xca\xc2\xbc\xfe\xb5\xc4\xb4\xb0\xbf\xda\xd7"
                                "\xe9\xbc\xfe\xce\xde\xd0\xa7";

constexpr uint32_t kTypeRaisesEvents = 0x04 | 0x40;

std::optional<EventSource> g_source;

uint32_t typeTagOf(const UnitBuffer& units, uint32_t index) {
    std::span<const uint8_t> data = units.recordData(index);
    return data.size() >= 4 ? platform::loadLe32(data.data() + UnitRecordLayout::kTypeTag) : 0;
}

uint32_t eventSourceOf(const UnitBuffer& units, uint32_t index) {
    std::span<const uint8_t> data = units.recordData(index);
    return data.size() >= 8 ? platform::loadLe32(data.data() + UnitRecordLayout::kEventSource) : 0;
}

// The procedure word bound to `event` in record `index`: the menu item's single word, or the
// first binding with that event index. 0 when there is none.
uint32_t boundProcedureWord(const UnitBuffer& units, uint32_t index, uint32_t typeTag,
                            int32_t event) {
    std::span<const uint8_t> data = units.recordData(index);
    if (typeTag == kTagMenuItem) {
        auto layout = walkMenuItemRecord(data);
        return layout ? platform::loadLe32(data.data() + layout->procedure()) : 0;
    }
    auto layout = walkUnitRecord(data);
    if (!layout)
        return 0;
    for (uint32_t i = 0; i < layout->bindingTotal; ++i) {
        const uint8_t* binding = data.data() + layout->bindings() + 8 * i;
        if (static_cast<int32_t>(platform::loadLe32(binding)) == event)
            return platform::loadLe32(binding + 4);
    }
    return 0;
}

// Calls the procedure with the words and clears the current event source afterwards.
runtime::ProcedureResult callProcedure(runtime::Procedure procedure,
                                       const std::vector<uint32_t>& words) {
    runtime::ProcedureResult result = procedure(words);
    g_source.reset();
    return result;
}

intptr_t raiseEventService(int32_t, intptr_t p1, intptr_t) {
    auto* record = reinterpret_cast<runtime::SimpleEventRecord*>(p1);
    return record && raiseEvent(*record) ? 1 : 0;
}

intptr_t raiseTypedEventService(int32_t, intptr_t p1, intptr_t) {
    auto* record = reinterpret_cast<runtime::TypedEventRecord*>(p1);
    return record && raiseTypedEvent(*record) ? 1 : 0;
}

intptr_t currentEventSourceService(int32_t, intptr_t p1, intptr_t) {
    auto* words = reinterpret_cast<uint32_t*>(p1);
    if (!g_source)
        return 0;
    if (words) {
        words[0] = g_source->windowId;
        words[1] = g_source->unitId;
    }
    return 1;
}

} // namespace

runtime::Procedure FindEventProcedure(uint32_t windowId, uint32_t unitId, int32_t event,
                                      int32_t /*argCount*/) {
    if (runtime::runtimeApp().eventsSuppressed())
        return nullptr;
    WindowRecord* window = windowTable().find(windowId);
    if (!window)
        runtime::endWithRuntimeError(kWindowNotFound, 0);
    const UnitBuffer& units = window->units;
    std::optional<uint32_t> found =
        unitId == 0 ? (units.count() > 0 ? std::optional<uint32_t>(0) : std::nullopt)
                    : units.findById(unitId);
    if (!found)
        runtime::endWithRuntimeError(kUnitNotFound, 0);
    uint32_t index = *found;
    uint32_t typeTag = typeTagOf(units, index);

    // The event-source chain. A chain that comes back to a record it passed would never end;
    // it stops after as many steps as there are records.
    for (uint32_t steps = 0; steps < units.count(); ++steps) {
        uint32_t source = eventSourceOf(units, index);
        if (source == 0)
            break;
        std::optional<uint32_t> next = units.findById(source);
        if (!next || typeTagOf(units, *next) != typeTag)
            break;
        index = *next;
    }

    const runtime::DataTypeEntry* type = runtime::runtimeApp().dataTypeEntry(typeTag);
    // A menu item always raises its one event, whatever the program's type table holds.
    if (typeTag != kTagMenuItem && (!type || (type->typeFlags & kTypeRaisesEvents) == 0))
        runtime::endWithRuntimeError(kUnitInvalid, 0);

    runtime::Procedure procedure =
        runtime::procedureAt(boundProcedureWord(units, index, typeTag, event));
    if (!procedure)
        return nullptr;
    g_source = EventSource{windowId, unitId != 0 ? unitId : units.idAt(0)};
    return procedure;
}

bool raiseEvent(runtime::SimpleEventRecord& record) {
    int32_t count = record.argCount < 0 ? 0 : (record.argCount > 5 ? 5 : record.argCount);
    runtime::Procedure procedure =
        FindEventProcedure(record.windowId, record.unitId, record.event, count);
    if (!procedure)
        return false;
    std::vector<uint32_t> words(record.args, record.args + count);
    runtime::ProcedureResult result = callProcedure(procedure, words);
    if (result.hasValue) {
        record.resultFlag = 1;
        record.result = result.low;
    }
    return true;
}

bool raiseTypedEvent(runtime::TypedEventRecord& record) {
    int32_t count = record.argCount < 0 ? 0 : (record.argCount > 12 ? 12 : record.argCount);
    runtime::Procedure procedure =
        FindEventProcedure(record.windowId, record.unitId, record.event, count);
    if (!procedure)
        return false;
    std::vector<uint32_t> words;
    for (int32_t i = 0; i < count; ++i) {
        const runtime::TypedEventArgument& arg = record.args[i];
        bool both = false;
        uint32_t single = arg.low;
        if (arg.flags & runtime::kSlotAddressOnly) {
            single = arg.low;
        } else if ((arg.flags & runtime::kSlotBothWords) || arg.tag == kTagMenuItem) {
            both = true;
        } else {
            switch (arg.tag) {
            case runtime::kTagByte:
                single = arg.low & 0xFF;
                break;
            case runtime::kTagShort:
                single = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(arg.low)));
                break;
            case runtime::kTagDateTime:
            case runtime::kTagSystem8:
            case runtime::kTagLong:
            case runtime::kTagDouble:
                both = true;
                break;
            default:
                break;
            }
        }
        words.push_back(single);
        if (both)
            words.push_back(arg.high);
    }
    runtime::ProcedureResult result = callProcedure(procedure, words);
    if (result.hasValue) {
        record.resultFlag = 1;
        record.resultLow = result.low;
        record.resultHigh = result.high;
    }
    return true;
}

std::optional<EventSource> currentEventSource() {
    return g_source;
}

void registerEventServices() {
    runtime::registerRuntimeService(runtime::kServiceRaiseEvent, &raiseEventService);
    runtime::registerRuntimeService(runtime::kServiceRaiseTypedEvent, &raiseTypedEventService);
    runtime::registerRuntimeService(runtime::kServiceCurrentEventSource,
                                    &currentEventSourceService);
}

} // namespace kelvarn::ui
