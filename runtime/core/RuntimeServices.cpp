#include "runtime/core/RuntimeServices.h"

#include "platform/files/Process.h"
#include "runtime/core/ArgRecord.h"
#include "runtime/core/Heap.h"
#include "runtime/core/RuntimeError.h"
#include "runtime/core/RuntimeMessages.h"

#include <array>
#include <atomic>
#include <cmath>

namespace kelvarn::runtime {
namespace {

constexpr int32_t kFirstObjectService = 1000;
constexpr int32_t kLastObjectService = 1014;
constexpr int32_t kFirstRuntimeService = 2000;
constexpr int32_t kLastRuntimeService = 2040;
constexpr size_t kObjectServiceCount = kLastObjectService - kFirstObjectService + 1;
constexpr size_t kRuntimeServiceCount = kLastRuntimeService - kFirstRuntimeService + 1;

// x86 truncation of an out-of-range or NaN value gives the "integer indefinite" 0x80000000;
// the same value is produced here without the undefined conversion.
int32_t truncateToInteger(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0))
        return INT32_MIN;
    return static_cast<int32_t>(v);
}

intptr_t integerValueService(int32_t, intptr_t p1, intptr_t) {
    const auto* record = reinterpret_cast<const ArgRecord*>(p1);
    return IntegerValue(record ? *record : ArgRecord{});
}

intptr_t allocateService(int32_t, intptr_t p1, intptr_t p2) {
    auto size = static_cast<int32_t>(p1);
    if (p2 == 0)
        return reinterpret_cast<intptr_t>(MemAlloc(size));
    // Straight from the heap: null on failure instead of the runtime error.
    return size >= 0 ? reinterpret_cast<intptr_t>(platform::heapAlloc(static_cast<size_t>(size)))
                     : 0;
}

intptr_t freeService(int32_t, intptr_t p1, intptr_t) {
    MemFree(reinterpret_cast<void*>(p1));
    return 0;
}

intptr_t reallocateService(int32_t, intptr_t p1, intptr_t p2) {
    return reinterpret_cast<intptr_t>(
        MemRealloc(reinterpret_cast<void*>(p1), static_cast<int32_t>(p2)));
}

intptr_t reportErrorService(int32_t, intptr_t p1, intptr_t) {
    endWithRuntimeError(reinterpret_cast<const char*>(p1), 0);
}

struct ServiceTable {
    std::array<std::atomic<ServiceCallback>, kObjectServiceCount> object{};
    std::array<std::atomic<ServiceCallback>, kRuntimeServiceCount> runtime{};

    ServiceTable() {
        slot(kServiceIntegerValue)->store(&integerValueService);
        slot(kServiceAllocate)->store(&allocateService);
        slot(kServiceFree)->store(&freeService);
        slot(kServiceReallocate)->store(&reallocateService);
        slot(kServiceReportError)->store(&reportErrorService);
    }

    std::atomic<ServiceCallback>* slot(int32_t code) {
        if (code >= kFirstObjectService && code <= kLastObjectService)
            return &object[static_cast<size_t>(code - kFirstObjectService)];
        if (code >= kFirstRuntimeService && code <= kLastRuntimeService)
            return &runtime[static_cast<size_t>(code - kFirstRuntimeService)];
        return nullptr;
    }
};

ServiceTable& services() {
    static ServiceTable table;
    return table;
}

} // namespace

intptr_t RuntimeService(int32_t code, intptr_t p1, intptr_t p2) {
    std::atomic<ServiceCallback>* slot = services().slot(code);
    ServiceCallback handler = slot ? slot->load() : nullptr;
    return handler ? handler(code, p1, p2) : 0;
}

bool registerRuntimeService(int32_t code, ServiceCallback handler) {
    std::atomic<ServiceCallback>* slot = services().slot(code);
    if (!slot)
        return false;
    slot->store(handler);
    return true;
}

int32_t IntegerValue(const ArgRecord& record) {
    switch (record.tag) {
    case kTagByte:
        return record.byteValue();
    case kTagShort:
        return record.shortValue();
    case kTagInteger:
        return record.integer();
    case kTagLong:
        return static_cast<int32_t>(record.low);
    case kTagSingle:
        return truncateToInteger(record.singleValue());
    case kTagDouble:
        return truncateToInteger(record.doubleValue());
    default:
        endWithRuntimeError(messages::kNotNumeric, 0);
    }
}

} // namespace kelvarn::runtime
