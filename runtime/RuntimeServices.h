#pragma once
// Runtime services: numbered requests service(code, p1, p2) that libraries send back to the
// runtime through the callback handed to them at start-up. Parameters and results are
// pointer-sized on this platform, since many of them carry addresses.

#include <cstdint>

namespace kelvarn::runtime {

using ServiceCallback = intptr_t (*)(int32_t code, intptr_t p1, intptr_t p2);
// notify(code, p1, p2): 0 handled, -1 not handled. Code 1 at start-up with the service
// callback in p1; code 6 at shutdown.
using NotifyFunction = intptr_t (*)(int32_t code, intptr_t p1, intptr_t p2);

constexpr int32_t kNotifyStartup = 1;
constexpr int32_t kNotifyShutdown = 6;

} // namespace kelvarn::runtime
