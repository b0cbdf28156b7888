#pragma once
// Runtime services: numbered requests service(code, p1, p2) that libraries send back to the
// runtime through the callback handed to them at start-up. Parameters and results are
// pointer-sized on this platform, since many of them carry addresses.

#include <cstdint>

namespace kelvarn::runtime {

struct ArgRecord;

using ServiceCallback = intptr_t (*)(int32_t code, intptr_t p1, intptr_t p2);
// notify(code, p1, p2): 0 handled, -1 not handled. Code 1 at start-up with the service
// callback in p1; code 6 at shutdown.
using NotifyFunction = intptr_t (*)(int32_t code, intptr_t p1, intptr_t p2);

constexpr int32_t kNotifyStartup = 1;
constexpr int32_t kNotifyShutdown = 6;

constexpr int32_t kServiceIntegerValue = 2001; // argument record -> 32-bit integer
constexpr int32_t kServiceProgramDirectory = 2003;
constexpr int32_t kServiceProgramFileName = 2004;
constexpr int32_t kServiceWindowObject = 2006;
constexpr int32_t kServiceWindowObjectOrError = 2007;
constexpr int32_t kServiceRaiseEvent = 2008;
constexpr int32_t kServiceSuppressEvents = 2009;
constexpr int32_t kServiceReleaseEvents = 2010;
constexpr int32_t kServiceProcessMessages = 2018;
constexpr int32_t kServiceAllocate = 2024;    // size, flag -> block
constexpr int32_t kServiceFree = 2025;        // block
constexpr int32_t kServiceReallocate = 2026;  // block, size -> block
constexpr int32_t kServiceReportError = 2027; // text: a runtime error with code 0
constexpr int32_t kServiceBuildKind = 2030;
constexpr int32_t kServiceWindowCount = 2032;
constexpr int32_t kServiceWindowHandle = 2033;

// The service callback handed to every library: dispatches `code` to its handler; a code that
// has none yields 0. Handlers for 2001 and 2024 to 2027 are built in; the other subsystems
// register theirs.
intptr_t RuntimeService(int32_t code, intptr_t p1, intptr_t p2);

// Installs (or, with null, removes) the handler of `code`. Only the runtime's service codes,
// 1000 to 1014 and 2000 to 2040, can have a handler; false for any other code.
bool registerRuntimeService(int32_t code, ServiceCallback handler);

// Service 2001: byte zero-extended, short integer sign-extended, integer as is, long integer its
// low half, single or double float truncated toward zero (NaN and values outside the 32-bit range
// give 0x80000000, the processor's "integer indefinite"). Any other tag is the runtime error
// "欲转换数据类型不是数值".
int32_t IntegerValue(const ArgRecord& record);

// A library's hold on the service callback: stored from notify code 1, and 0 for every request
// made before that.
class ServiceLink {
public:
    void store(ServiceCallback callback) { m_callback = callback; }
    bool isStored() const { return m_callback != nullptr; }
    intptr_t operator()(int32_t code, intptr_t p1 = 0, intptr_t p2 = 0) const {
        return m_callback ? m_callback(code, p1, p2) : 0;
    }

private:
    ServiceCallback m_callback = nullptr;
};

} // namespace kelvarn::runtime
