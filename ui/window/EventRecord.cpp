#include "ui/window/EventRecord.h"

#include "runtime/core/RuntimeServices.h"

namespace kelvarn::ui {

EventOutcome raiseSimpleEvent(uint32_t windowId, uint32_t unitId, int32_t event,
                              std::initializer_list<uint32_t> args) {
    SimpleEventRecord record;
    record.windowId = windowId;
    record.unitId = unitId;
    record.event = event;
    for (uint32_t arg : args) {
        if (record.argCount == 5)
            break;
        record.args[record.argCount++] = arg;
    }
    EventOutcome outcome;
    outcome.procedureRan = runtime::RuntimeService(runtime::kServiceRaiseEvent,
                                                   reinterpret_cast<intptr_t>(&record), 0) != 0;
    outcome.hasResult = record.resultFlag != 0;
    outcome.result = record.result;
    return outcome;
}

} // namespace kelvarn::ui
